#include "desk/render/CDrawContext.h"

#include "desk/render/CRenderDevice.h"

namespace desk::render {

void CDrawContext::Fill(const QRect& rect, QRgb colour) {
    m_sprites.Flush();
    m_device.Clear(rect, colour);
}

} // namespace desk::render

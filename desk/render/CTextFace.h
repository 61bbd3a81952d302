#pragma once
// A text face of the desk: each text is rasterised once with QPainter into a
// texture and drawn as a quad, centred on one line inside its rectangle and
// clipped to it. Texts arrive as GBK bytes, the encoding of every text the
// desk receives, or as Unicode.

#include "desk/render/CGlTexture.h"

#include <QFont>
#include <QRect>
#include <QRgb>
#include <QString>
#include <map>
#include <string_view>
#include <utility>

namespace desk::render {

class CRenderDevice;
class CSpriteBatch;

class CTextFace {
public:
    // The face the desk asks for; "宋体" stands first and a CJK face installed
    // on the system takes its place when it is missing.
    static QStringList Families();
    // Cell height and average character width in pixels, weight 100 … 900.
    CTextFace(int height, int width, int weight);

    const QFont& Font() const { return m_font; }

    void Draw(CRenderDevice& device, CSpriteBatch& batch, const QString& text, const QRect& rect,
              QRgb colour = 0xFF000000);
    void DrawGbk(CRenderDevice& device, CSpriteBatch& batch, std::string_view gbk,
                 const QRect& rect, QRgb colour = 0xFF000000);

    // The text as the face draws it: white on transparent, rect.size() pixels.
    QImage Rasterise(const QString& text, QSize size) const;

    // Forgets every cached text, deleting its texture when it lives on the
    // device's current context.
    void Reset(CRenderDevice& device);
    int CachedTexts() const { return int(m_cache.size()); }

    static constexpr int kMaxCachedTexts = 256;

private:
    QFont m_font;
    std::map<std::pair<QString, std::pair<int, int>>, CGlTexture> m_cache;
};

} // namespace desk::render

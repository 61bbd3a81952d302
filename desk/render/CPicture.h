#pragma once
// A picture as the scene draws it: one texture cut into equal frames.

#include "desk/media/PictureLoader.h"
#include "desk/render/CGlTexture.h"

namespace desk::render {

class CPicture {
public:
    CPicture() = default;
    explicit CPicture(const media::PictureImage& image)
        : m_texture(image.image, TextureOptions{}), m_grid(image.grid) {}

    bool IsEmpty() const { return m_texture.IsEmpty(); }
    QSize SheetSize() const { return m_texture.Size(); }
    const media::FrameGrid& Grid() const { return m_grid; }
    // The frame's source rectangle, empty for a frame the sheet does not hold.
    QRect Frame(int k) const {
        const QRect frame = m_grid.Frame(k);
        return frame.intersects(QRect(QPoint(0, 0), SheetSize())) ? frame : QRect();
    }
    CGlTexture& Texture() { return m_texture; }

private:
    CGlTexture m_texture;
    media::FrameGrid m_grid;
};

} // namespace desk::render

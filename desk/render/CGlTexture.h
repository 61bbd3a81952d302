#pragma once
// A texture that survives the loss of its context: the picture is kept in
// memory and uploaded again whenever the device has a new context. Uploaded
// with premultiplied alpha so that filtering at the edge of a colour-keyed
// area does not bleed dark fringes.

#include <QImage>
#include <QSize>

namespace desk::render {

class CRenderDevice;

struct TextureOptions {
    bool mipmaps = true;
    bool repeat = false; // wrap in both directions, else clamp to the edge
    bool anisotropic = false;
};

class CGlTexture {
public:
    CGlTexture() = default;
    CGlTexture(QImage image, TextureOptions options);
    ~CGlTexture() = default; // names die with their context
    CGlTexture(const CGlTexture&) = delete;
    CGlTexture& operator=(const CGlTexture&) = delete;
    CGlTexture(CGlTexture&&) = default;
    CGlTexture& operator=(CGlTexture&&) = default;

    bool IsEmpty() const { return m_image.isNull(); }
    QSize Size() const { return m_image.size(); }

    // Binds to unit 0, uploading first when needed; false for an empty
    // texture or when the device cannot be used.
    bool Bind(CRenderDevice& device);
    // Deletes the GL texture now (the context must be current).
    void Release(CRenderDevice& device);

private:
    QImage m_image; // RGBA8888, premultiplied
    TextureOptions m_options;
    unsigned m_name = 0;
    int m_generation = -1;
};

} // namespace desk::render

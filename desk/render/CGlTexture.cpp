#include "desk/render/CGlTexture.h"

#include "desk/render/CRenderDevice.h"

#include <QOpenGLExtraFunctions>

namespace desk::render {

namespace {
constexpr GLenum kMaxAnisotropy = 0x84FE;
constexpr GLenum kTextureMaxAnisotropy = 0x84FF;
} // namespace

CGlTexture::CGlTexture(QImage image, TextureOptions options) : m_options(options) {
    if (!image.isNull())
        m_image = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

bool CGlTexture::Bind(CRenderDevice& device) {
    if (m_image.isNull())
        return false;
    QOpenGLExtraFunctions* gl = device.Gl();
    if (!gl)
        return false;
    if (m_generation == device.Generation() && m_name != 0) {
        gl->glActiveTexture(GL_TEXTURE0);
        gl->glBindTexture(GL_TEXTURE_2D, m_name);
        return true;
    }
    gl->glGenTextures(1, &m_name);
    m_generation = device.Generation();
    gl->glActiveTexture(GL_TEXTURE0);
    gl->glBindTexture(GL_TEXTURE_2D, m_name);
    gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // Row 0 of the image goes to t = 0: texture coordinates run top-down like the picture.
    gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, m_image.width(), m_image.height(), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, m_image.constBits());
    const GLint wrap = m_options.repeat ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (m_options.mipmaps) {
        gl->glGenerateMipmap(GL_TEXTURE_2D);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    } else {
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    if (m_options.anisotropic && device.HasAnisotropy()) {
        GLfloat most = 1.f;
        gl->glGetFloatv(kMaxAnisotropy, &most);
        gl->glTexParameterf(GL_TEXTURE_2D, kTextureMaxAnisotropy, most);
    }
    return true;
}

void CGlTexture::Release(CRenderDevice& device) {
    if (m_name != 0 && m_generation == device.Generation() && device.Gl())
        device.Gl()->glDeleteTextures(1, &m_name);
    m_name = 0;
    m_generation = -1;
}

} // namespace desk::render

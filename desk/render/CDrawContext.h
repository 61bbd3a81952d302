#pragma once
// What the scene draws a frame with: pictures, strips and texts (collected
// into the sprite batch) and lit meshes, in the order the calls are made.
// Switching between flat and 3D drawing flushes the batch, so a mesh drawn
// after a picture lies over it and the other way round.
// Destroy it (and every picture, mesh and text face) before the device.

#include "desk/render/CMeshRenderer.h"
#include "desk/render/CSpriteBatch.h"
#include "desk/render/CTextFace.h"

namespace desk::render {

class CDrawContext {
public:
    explicit CDrawContext(CRenderDevice& device)
        : m_device(device), m_sprites(device), m_meshes(device) {}

    CRenderDevice& Device() { return m_device; }
    CSpriteBatch& Sprites() { return m_sprites; }
    CMeshRenderer& Meshes() { return m_meshes; }

    void Picture(CPicture& picture, int frame, QPointF topLeft, QPointF scale = {1, 1},
                 QRgb colour = 0xFFFFFFFF) {
        m_sprites.Draw(picture, frame, topLeft, scale, colour);
    }
    void Strip(CPicture& picture, int frame, QPointF anchor, QPointF direction, QPointF scale,
               QRgb colour) {
        m_sprites.DrawStrip(picture, frame, anchor, direction, scale, colour);
    }
    void Text(CTextFace& face, const QString& text, const QRect& rect, QRgb colour = 0xFF000000) {
        face.Draw(m_device, m_sprites, text, rect, colour);
    }
    void TextGbk(CTextFace& face, std::string_view gbk, const QRect& rect,
                 QRgb colour = 0xFF000000) {
        face.DrawGbk(m_device, m_sprites, gbk, rect, colour);
    }
    // A rectangle set to a colour, replacing what is there (a device clear).
    void Fill(const QRect& rect, QRgb colour);
    void Mesh(CMesh& mesh, const QMatrix4x4& model, CGlTexture* texture, const Material& material) {
        m_sprites.Flush();
        m_meshes.Draw(mesh, model, texture, material);
    }
    void Flush() { m_sprites.Flush(); }

private:
    CRenderDevice& m_device;
    CSpriteBatch m_sprites;
    CMeshRenderer m_meshes;
};

} // namespace desk::render

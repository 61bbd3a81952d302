#pragma once
// Flat pictures drawn in screen pixels over what is already in the frame:
// textured quads cut from picture frames, stretched, multiplied by a colour
// and, for the aim line and the arrow, turned along a direction. Quads are
// collected and drawn in the order given; later quads cover earlier ones.
// A picture (or text face) handed to the batch must live until the next Flush.

#include "desk/render/CPicture.h"

#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <memory>
#include <vector>

class QOpenGLShaderProgram;

namespace desk::render {

class CRenderDevice;

class CSpriteBatch {
public:
    explicit CSpriteBatch(CRenderDevice& device);
    ~CSpriteBatch();
    CSpriteBatch(const CSpriteBatch&) = delete;
    CSpriteBatch& operator=(const CSpriteBatch&) = delete;

    // Frame k of the picture with its top-left corner at topLeft, stretched by
    // scale. An empty picture or a frame it does not have draws nothing.
    void Draw(CPicture& picture, int frame, QPointF topLeft, QPointF scale = {1, 1},
              QRgb colour = 0xFFFFFFFF);
    // Frame k laid along a ray: its left edge centred on anchor, its length
    // (frame width × scale.x) running in direction (screen pixels, y down) and
    // its thickness (frame height × scale.y) centred on the ray.
    void DrawStrip(CPicture& picture, int frame, QPointF anchor, QPointF direction, QPointF scale,
                   QRgb colour);
    // A part of a texture (source in texture pixels) stretched over target.
    void DrawTexture(CGlTexture& texture, const QRectF& source, const QRectF& target,
                     QRgb colour = 0xFFFFFFFF);
    // A rectangle of plain colour, blended like the pictures.
    void Fill(const QRectF& target, QRgb colour);

    // Draws what was collected. Called before anything else is drawn into the
    // frame and at its end.
    void Flush();
    int PendingQuads() const { return int(m_vertices.size() / 6); }

private:
    struct Vertex {
        float x, y;
        float u, v;
        float r, g, b, a;
        float clampLeft, clampTop, clampRight, clampBottom;
    };

    void AddQuad(CGlTexture* texture, const QPointF corners[4], const QRectF& source, QRgb colour);
    bool Prepare();

    CRenderDevice& m_device;
    std::unique_ptr<QOpenGLShaderProgram> m_program;
    unsigned m_vao = 0;
    unsigned m_vbo = 0;
    int m_generation = -1;
    CGlTexture* m_texture = nullptr; // of the quads collected
    std::vector<Vertex> m_vertices;
};

} // namespace desk::render

#include "desk/render/CSpriteBatch.h"

#include "desk/render/CRenderDevice.h"
#include "desk/render/ShaderProgram.h"

#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <cmath>
#include <cstddef>

namespace desk::render {

namespace {

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 aPos;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec4 aColour;
layout(location = 3) in vec4 aClamp;
uniform vec2 uViewport;
out vec2 vUv;
out vec4 vColour;
out vec4 vClamp;
void main() {
    gl_Position = vec4(aPos.x / uViewport.x * 2.0 - 1.0, 1.0 - aPos.y / uViewport.y * 2.0, 0.0, 1.0);
    vUv = aUv;
    vColour = aColour;
    vClamp = aClamp;
}
)";

// Textures hold premultiplied alpha; the colour multiplies every texel and
// the result is blended as premultiplied. Sampling stays inside the frame so
// that stretched frames do not pick up their neighbours on the sheet.
const char* const kFragmentShader = R"(#version 330 core
in vec2 vUv;
in vec4 vColour;
in vec4 vClamp;
uniform sampler2D uTexture;
uniform bool uTextured;
out vec4 fragColour;
void main() {
    vec4 texel = uTextured ? texture(uTexture, clamp(vUv, vClamp.xy, vClamp.zw)) : vec4(1.0);
    fragColour = vec4(texel.rgb * vColour.rgb * vColour.a, texel.a * vColour.a);
}
)";

} // namespace

CSpriteBatch::CSpriteBatch(CRenderDevice& device) : m_device(device) {}

CSpriteBatch::~CSpriteBatch() {
    if (m_generation == m_device.Generation() && m_device.MakeCurrent()) {
        QOpenGLExtraFunctions* gl = m_device.Gl();
        gl->glDeleteBuffers(1, &m_vbo);
        gl->glDeleteVertexArrays(1, &m_vao);
    }
}

void CSpriteBatch::Draw(CPicture& picture, int frame, QPointF topLeft, QPointF scale, QRgb colour) {
    const QRect source = picture.Frame(frame);
    if (picture.IsEmpty() || source.isEmpty())
        return;
    const double w = source.width() * scale.x();
    const double h = source.height() * scale.y();
    const QPointF corners[4] = {topLeft, topLeft + QPointF(w, 0), topLeft + QPointF(w, h),
                                topLeft + QPointF(0, h)};
    AddQuad(&picture.Texture(), corners, source, colour);
}

void CSpriteBatch::DrawStrip(CPicture& picture, int frame, QPointF anchor, QPointF direction,
                             QPointF scale, QRgb colour) {
    const QRect source = picture.Frame(frame);
    const double norm = std::hypot(direction.x(), direction.y());
    if (picture.IsEmpty() || source.isEmpty() || norm == 0.0)
        return;
    const QPointF along = direction / norm * (source.width() * scale.x());
    // Across the ray, the frame's top row on the left-hand side of the direction.
    const QPointF across =
        QPointF(direction.y(), -direction.x()) / norm * (source.height() * scale.y() / 2);
    const QPointF corners[4] = {anchor + across, anchor + along + across, anchor + along - across,
                                anchor - across};
    AddQuad(&picture.Texture(), corners, source, colour);
}

void CSpriteBatch::DrawTexture(CGlTexture& texture, const QRectF& source, const QRectF& target,
                               QRgb colour) {
    if (texture.IsEmpty() || target.isEmpty())
        return;
    const QPointF corners[4] = {target.topLeft(), target.topRight(), target.bottomRight(),
                                target.bottomLeft()};
    AddQuad(&texture, corners, source, colour);
}

void CSpriteBatch::Fill(const QRectF& target, QRgb colour) {
    if (target.isEmpty())
        return;
    const QPointF corners[4] = {target.topLeft(), target.topRight(), target.bottomRight(),
                                target.bottomLeft()};
    AddQuad(nullptr, corners, QRectF(), colour);
}

void CSpriteBatch::AddQuad(CGlTexture* texture, const QPointF corners[4], const QRectF& source,
                           QRgb colour) {
    if (texture != m_texture && !m_vertices.empty())
        Flush();
    m_texture = texture;

    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    float clamp[4] = {0, 0, 0, 0};
    if (texture) {
        const QSize size = texture->Size();
        const float w = float(size.width());
        const float h = float(size.height());
        u0 = float(source.left()) / w;
        v0 = float(source.top()) / h;
        u1 = float(source.right()) / w;
        v1 = float(source.bottom()) / h;
        // Half a texel in from the frame's edges.
        clamp[0] = u0 + 0.5f / w;
        clamp[1] = v0 + 0.5f / h;
        clamp[2] = std::max(clamp[0], u1 - 0.5f / w);
        clamp[3] = std::max(clamp[1], v1 - 0.5f / h);
    }
    const float r = float(qRed(colour)) / 255.f;
    const float g = float(qGreen(colour)) / 255.f;
    const float b = float(qBlue(colour)) / 255.f;
    const float a = float(qAlpha(colour)) / 255.f;
    const float uv[4][2] = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
    for (int k : {0, 1, 2, 0, 2, 3}) {
        m_vertices.push_back({float(corners[k].x()), float(corners[k].y()), uv[k][0], uv[k][1], r,
                              g, b, a, clamp[0], clamp[1], clamp[2], clamp[3]});
    }
}

bool CSpriteBatch::Prepare() {
    QOpenGLExtraFunctions* gl = m_device.Gl();
    if (!gl)
        return false;
    if (m_generation == m_device.Generation() && m_program)
        return true;
    // A new context: whatever was made on the old one is gone with it.
    m_program = linkProgram(kVertexShader, kFragmentShader);
    if (!m_program)
        return false;
    gl->glGenVertexArrays(1, &m_vao);
    gl->glGenBuffers(1, &m_vbo);
    gl->glBindVertexArray(m_vao);
    gl->glBindBuffer(GL_ARRAY_BUFFER, m_vbo);
    const auto stride = GLsizei(sizeof(Vertex));
    gl->glEnableVertexAttribArray(0);
    gl->glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(Vertex, x)));
    gl->glEnableVertexAttribArray(1);
    gl->glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(Vertex, u)));
    gl->glEnableVertexAttribArray(2);
    gl->glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(Vertex, r)));
    gl->glEnableVertexAttribArray(3);
    gl->glVertexAttribPointer(3, 4, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(Vertex, clampLeft)));
    gl->glBindVertexArray(0);
    m_generation = m_device.Generation();
    return true;
}

void CSpriteBatch::Flush() {
    if (m_vertices.empty())
        return;
    if (!Prepare() || (m_texture && !m_texture->Bind(m_device))) {
        m_vertices.clear();
        return;
    }
    QOpenGLExtraFunctions* gl = m_device.Gl();
    m_program->bind();
    m_program->setUniformValue("uViewport", float(m_device.Width()), float(m_device.Height()));
    m_program->setUniformValue("uTexture", 0);
    m_program->setUniformValue("uTextured", m_texture != nullptr);
    gl->glEnable(GL_BLEND);
    gl->glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    gl->glDisable(GL_CULL_FACE);
    gl->glBindVertexArray(m_vao);
    gl->glBindBuffer(GL_ARRAY_BUFFER, m_vbo);
    gl->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(m_vertices.size() * sizeof(Vertex)),
                     m_vertices.data(), GL_STREAM_DRAW);
    gl->glDrawArrays(GL_TRIANGLES, 0, GLsizei(m_vertices.size()));
    gl->glBindVertexArray(0);
    gl->glDisable(GL_BLEND);
    m_program->release();
    m_vertices.clear();
}

} // namespace desk::render

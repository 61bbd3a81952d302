#include "desk/render/CMeshRenderer.h"

#include "desk/render/CRenderDevice.h"
#include "desk/render/ShaderProgram.h"

#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <cstddef>

namespace desk::render {

namespace {

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aUv;
uniform mat4 uModel;
uniform mat4 uViewProjection;
uniform mat3 uNormalMatrix;
out vec3 vWorld;
out vec3 vNormal;
out vec2 vUv;
void main() {
    vec4 world = uModel * vec4(aPos, 1.0);
    vWorld = world.xyz;
    vNormal = uNormalMatrix * aNormal;
    vUv = aUv;
    gl_Position = uViewProjection * world;
}
)";

// Fixed-function lighting evaluated per pixel: emissive + attenuated ambient
// and diffuse, saturated, times the texture; then the specular highlight
// (halfway vector towards the eye) added on top. Normals are renormalised.
const char* const kFragmentShader = R"(#version 330 core
in vec3 vWorld;
in vec3 vNormal;
in vec2 vUv;
uniform sampler2D uTexture;
uniform bool uTextured;
uniform vec3 uEye;
uniform vec3 uLightPos;
uniform vec4 uLightDiffuse;
uniform vec4 uLightSpecular;
uniform vec4 uLightAmbient;
uniform float uLightRange;
uniform vec3 uAttenuation;
uniform vec4 uDiffuse;
uniform vec4 uAmbient;
uniform vec4 uSpecular;
uniform vec4 uEmissive;
uniform float uPower;
out vec4 fragColour;
void main() {
    vec3 n = normalize(vNormal);
    vec3 toLight = uLightPos - vWorld;
    float d = length(toLight);
    vec3 l = toLight / max(d, 1e-6);
    float att = d <= uLightRange
        ? 1.0 / max(uAttenuation.x + uAttenuation.y * d + uAttenuation.z * d * d, 1e-6) : 0.0;
    float nl = max(dot(n, l), 0.0);
    vec3 lit = uEmissive.rgb + att * (uAmbient.rgb * uLightAmbient.rgb
                                      + uDiffuse.rgb * uLightDiffuse.rgb * nl);
    vec3 colour = clamp(lit, 0.0, 1.0);
    if (uTextured)
        colour *= texture(uTexture, vUv).rgb;
    if (uPower > 0.0 && nl > 0.0) {
        vec3 h = normalize(l + normalize(uEye - vWorld));
        float s = pow(max(dot(n, h), 0.0), uPower);
        colour += clamp(att * uSpecular.rgb * uLightSpecular.rgb * s, 0.0, 1.0);
    }
    // Meshes are opaque; the frame keeps an opaque alpha.
    fragColour = vec4(clamp(colour, 0.0, 1.0), 1.0);
}
)";

} // namespace

bool CMesh::Bind(CRenderDevice& device) {
    QOpenGLExtraFunctions* gl = device.Gl();
    if (!gl || m_data.vertices.empty() || m_data.indices.empty())
        return false;
    if (m_generation == device.Generation() && m_vao != 0) {
        gl->glBindVertexArray(m_vao);
        return true;
    }
    gl->glGenVertexArrays(1, &m_vao);
    gl->glGenBuffers(2, m_buffers);
    m_generation = device.Generation();
    gl->glBindVertexArray(m_vao);
    gl->glBindBuffer(GL_ARRAY_BUFFER, m_buffers[0]);
    gl->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(m_data.vertices.size() * sizeof(MeshVertex)),
                     m_data.vertices.data(), GL_STATIC_DRAW);
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_buffers[1]);
    gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                     GLsizeiptr(m_data.indices.size() * sizeof(std::uint16_t)),
                     m_data.indices.data(), GL_STATIC_DRAW);
    const auto stride = GLsizei(sizeof(MeshVertex));
    gl->glEnableVertexAttribArray(0);
    gl->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(MeshVertex, x)));
    gl->glEnableVertexAttribArray(1);
    gl->glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(MeshVertex, nx)));
    gl->glEnableVertexAttribArray(2);
    gl->glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(MeshVertex, u)));
    return true;
}

void CMesh::Release(CRenderDevice& device) {
    if (m_vao != 0 && m_generation == device.Generation() && device.Gl()) {
        device.Gl()->glDeleteBuffers(2, m_buffers);
        device.Gl()->glDeleteVertexArrays(1, &m_vao);
    }
    m_vao = 0;
    m_generation = -1;
}

CMeshRenderer::CMeshRenderer(CRenderDevice& device) : m_device(device) {}

CMeshRenderer::~CMeshRenderer() = default;

bool CMeshRenderer::Prepare() {
    if (m_generation == m_device.Generation() && m_program)
        return true;
    m_program = linkProgram(kVertexShader, kFragmentShader);
    if (!m_program)
        return false;
    m_generation = m_device.Generation();
    return true;
}

void CMeshRenderer::Draw(CMesh& mesh, const QMatrix4x4& model, CGlTexture* texture,
                         const Material& material) {
    QOpenGLExtraFunctions* gl = m_device.Gl();
    if (!gl || !Prepare())
        return;
    const bool textured = texture && texture->Bind(m_device);
    if (!mesh.Bind(m_device))
        return;
    m_program->bind();
    m_program->setUniformValue("uModel", model);
    m_program->setUniformValue("uViewProjection",
                               CCamera::Projection(m_device.Width(), m_device.Height()) *
                                   CCamera::View());
    m_program->setUniformValue("uNormalMatrix", model.normalMatrix());
    m_program->setUniformValue("uTexture", 0);
    m_program->setUniformValue("uTextured", textured);
    m_program->setUniformValue("uEye", CCamera::Eye());
    m_program->setUniformValue("uLightPos", m_light.position);
    m_program->setUniformValue("uLightDiffuse", m_light.diffuse);
    m_program->setUniformValue("uLightSpecular", m_light.specular);
    m_program->setUniformValue("uLightAmbient", m_light.ambient);
    m_program->setUniformValue("uLightRange", m_light.range);
    m_program->setUniformValue("uAttenuation", m_light.attenuation);
    m_program->setUniformValue("uDiffuse", material.diffuse);
    m_program->setUniformValue("uAmbient", material.ambient);
    m_program->setUniformValue("uSpecular", material.specular);
    m_program->setUniformValue("uEmissive", material.emissive);
    m_program->setUniformValue("uPower", material.power);

    // There is no depth buffer: back faces are culled, and a mirroring model
    // matrix turns the faces' winding round.
    gl->glDisable(GL_BLEND);
    gl->glEnable(GL_CULL_FACE);
    gl->glCullFace(GL_BACK);
    gl->glFrontFace(model.determinant() < 0 ? GL_CW : GL_CCW);
    const MeshData& data = mesh.Data();
    gl->glDrawElements(data.topology == MeshTopology::TriangleStrip ? GL_TRIANGLE_STRIP
                                                                    : GL_TRIANGLES,
                       GLsizei(data.indices.size()), GL_UNSIGNED_SHORT, nullptr);
    gl->glBindVertexArray(0);
    gl->glDisable(GL_CULL_FACE);
    gl->glFrontFace(GL_CCW);
    m_program->release();
}

} // namespace desk::render

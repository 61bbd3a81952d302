#pragma once
// Lit, textured meshes (the balls and the cue) drawn with one point light.
// Meshes keep their vertex data in memory and upload it again on a new
// context, like textures do.

#include "desk/render/CGlTexture.h"
#include "desk/render/MeshData.h"
#include "desk/render/SceneSetup.h"

#include <memory>

class QOpenGLShaderProgram;

namespace desk::render {

class CRenderDevice;

class CMesh {
public:
    explicit CMesh(MeshData data) : m_data(std::move(data)) {}
    ~CMesh() = default; // names die with their context
    CMesh(const CMesh&) = delete;
    CMesh& operator=(const CMesh&) = delete;

    const MeshData& Data() const { return m_data; }
    // Binds the vertex array, uploading first when needed.
    bool Bind(CRenderDevice& device);
    void Release(CRenderDevice& device);

private:
    MeshData m_data;
    unsigned m_vao = 0;
    unsigned m_buffers[2] = {0, 0};
    int m_generation = -1;
};

class CMeshRenderer {
public:
    explicit CMeshRenderer(CRenderDevice& device);
    ~CMeshRenderer();
    CMeshRenderer(const CMeshRenderer&) = delete;
    CMeshRenderer& operator=(const CMeshRenderer&) = delete;

    void SetLight(const PointLight& light) { m_light = light; }
    const PointLight& Light() const { return m_light; }

    // Draws mesh with model → world transform `model`, multiplied by the lit
    // material; texture may be null or empty (material alone).
    void Draw(CMesh& mesh, const QMatrix4x4& model, CGlTexture* texture, const Material& material);

private:
    bool Prepare();

    CRenderDevice& m_device;
    PointLight m_light;
    std::unique_ptr<QOpenGLShaderProgram> m_program;
    int m_generation = -1;
};

} // namespace desk::render

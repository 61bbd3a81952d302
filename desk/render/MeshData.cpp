#include "desk/render/MeshData.h"

#include <cmath>
#include <numbers>

namespace desk::render {

MeshData makeSphereMesh(float radius) {
    MeshData mesh;
    mesh.topology = MeshTopology::TriangleStrip;
    const int ring = kSphereSlices + 1;
    mesh.vertices.reserve(std::size_t((kSphereStacks + 1) * ring));
    for (int i = 0; i <= kSphereStacks; ++i) {
        const float phi = float(i) * std::numbers::pi_v<float> / float(kSphereStacks);
        for (int j = 0; j <= kSphereSlices; ++j) {
            const float theta = float(j) * 2.f * std::numbers::pi_v<float> / float(kSphereSlices);
            const float nx = std::sin(theta) * std::sin(phi);
            const float ny = std::cos(phi);
            const float nz = std::cos(theta) * std::sin(phi);
            mesh.vertices.push_back({radius * nx, radius * ny, radius * nz, nx, ny, nz,
                                     1.f - float(j) / float(kSphereSlices),
                                     float(i) / float(kSphereStacks)});
        }
    }
    mesh.indices.reserve(std::size_t(kSphereStacks * ring * 2));
    for (int i = 0; i < kSphereStacks; ++i) {
        for (int j = 0; j <= kSphereSlices; ++j) {
            mesh.indices.push_back(std::uint16_t(i * ring + j));
            mesh.indices.push_back(std::uint16_t((i + 1) * ring + j));
        }
    }
    return mesh;
}

MeshData makeCueMesh() {
    MeshData mesh;
    mesh.topology = MeshTopology::Triangles;
    const float slope = (kCueButtRadius - kCueTipRadius) / kCueLength;
    const float normalScale = 1.f / std::sqrt(1.f + slope * slope);
    const int ring = kCueSides + 1; // the seam is doubled for the texture
    for (int k = 0; k <= kCueSegments; ++k) {
        const float x = kCueLength * float(k) / float(kCueSegments);
        const float r = kCueTipRadius + slope * x;
        for (int s = 0; s <= kCueSides; ++s) {
            const float a = 2.f * std::numbers::pi_v<float> * float(s) / float(kCueSides);
            const float c = std::cos(a);
            const float n = std::sin(a);
            mesh.vertices.push_back({x, r * c, r * n, -slope * normalScale, c * normalScale,
                                     n * normalScale, 1.f - x / kCueLength,
                                     float(s) / float(kCueSides)});
        }
    }
    // Sides, counter-clockwise seen from outside.
    for (int k = 0; k < kCueSegments; ++k) {
        for (int s = 0; s < kCueSides; ++s) {
            const auto a = std::uint16_t(k * ring + s);
            const auto b = std::uint16_t((k + 1) * ring + s);
            const auto c = std::uint16_t(k * ring + s + 1);
            const auto d = std::uint16_t((k + 1) * ring + s + 1);
            mesh.indices.insert(mesh.indices.end(), {a, c, b, b, c, d});
        }
    }
    // End caps: a fan round a centre vertex, facing out along the axis.
    for (const bool tip : {true, false}) {
        const float x = tip ? 0.f : kCueLength;
        const float r = tip ? kCueTipRadius : kCueButtRadius;
        const float facing = tip ? -1.f : 1.f;
        const float u = tip ? 1.f : 0.f;
        const auto centre = std::uint16_t(mesh.vertices.size());
        mesh.vertices.push_back({x, 0, 0, facing, 0, 0, u, 0.5f});
        for (int s = 0; s <= kCueSides; ++s) {
            const float a = 2.f * std::numbers::pi_v<float> * float(s) / float(kCueSides);
            mesh.vertices.push_back({x, r * std::cos(a), r * std::sin(a), facing, 0, 0, u,
                                     float(s) / float(kCueSides)});
        }
        for (int s = 0; s < kCueSides; ++s) {
            const auto p = std::uint16_t(centre + 1 + s);
            const auto q = std::uint16_t(centre + 2 + s);
            if (tip)
                mesh.indices.insert(mesh.indices.end(), {centre, q, p});
            else
                mesh.indices.insert(mesh.indices.end(), {centre, p, q});
        }
    }
    return mesh;
}

QMatrix4x4 cueModelMatrix(const QVector3D& cueBall, float cueAngle, float pullBack) {
    const QVector3D direction(std::cos(cueAngle), std::sin(cueAngle), 0.f);
    const QVector3D tip = cueBall - pullBack * direction;
    QMatrix4x4 model;
    model.translate(tip);
    // The mesh runs along +x from its tip: turn +x to point away from the ball.
    model.rotate(cueAngle * 180.f / std::numbers::pi_v<float> + 180.f, 0.f, 0.f, 1.f);
    return model;
}

QMatrix4x4 ballModelMatrix(const QVector3D& centre, const float rotation[9]) {
    QMatrix4x4 model(rotation[0], rotation[1], rotation[2], centre.x(), //
                     rotation[3], rotation[4], rotation[5], centre.y(), //
                     rotation[6], rotation[7], rotation[8], centre.z(), //
                     0.f, 0.f, 0.f, 1.f);
    model.scale(-1.f, 1.f, 1.f);
    return model;
}

} // namespace desk::render

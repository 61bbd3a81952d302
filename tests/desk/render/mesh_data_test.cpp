#include "desk/render/MeshData.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace desk::render;

namespace {

QVector3D position(const MeshVertex& v) {
    return {v.x, v.y, v.z};
}

// Every non-degenerate triangle of the mesh, in the winding GL rasterises it.
std::vector<std::array<QVector3D, 3>> triangles(const MeshData& mesh) {
    std::vector<std::array<QVector3D, 3>> out;
    auto add = [&](int a, int b, int c) {
        const QVector3D p = position(mesh.vertices[mesh.indices[a]]);
        const QVector3D q = position(mesh.vertices[mesh.indices[b]]);
        const QVector3D r = position(mesh.vertices[mesh.indices[c]]);
        if (QVector3D::crossProduct(q - p, r - p).length() > 1e-6f)
            out.push_back({p, q, r});
    };
    const int n = int(mesh.indices.size());
    if (mesh.topology == MeshTopology::TriangleStrip) {
        for (int k = 0; k + 2 < n; ++k) {
            if (k % 2 == 0)
                add(k, k + 1, k + 2);
            else
                add(k + 1, k, k + 2);
        }
    } else {
        for (int k = 0; k + 2 < n; k += 3)
            add(k, k + 1, k + 2);
    }
    return out;
}

TEST(SphereMesh, TwentyOneRingsOfTwentyOneVerticesInOneStrip) {
    const MeshData mesh = makeSphereMesh(1.f);
    ASSERT_EQ(mesh.vertices.size(), 441u);
    ASSERT_EQ(mesh.indices.size(), 840u);
    EXPECT_EQ(mesh.topology, MeshTopology::TriangleStrip);
    // Band i walks ring i and ring i + 1 side by side.
    EXPECT_EQ(mesh.indices[0], 0);
    EXPECT_EQ(mesh.indices[1], 21);
    EXPECT_EQ(mesh.indices[41], 41);
    EXPECT_EQ(mesh.indices[42], 21);
    EXPECT_EQ(mesh.indices[839], 440);

    struct Case {
        int i, j;
        QVector3D position;
        float u, v;
    };
    const float s = std::sin(std::numbers::pi_v<float> / 4);
    const Case cases[] = {
        {0, 7, {0, 1, 0}, 0.65f, 0.f},    // the +y pole
        {10, 0, {0, 0, 1}, 1.f, 0.5f},    // equator, longitude 0
        {10, 5, {1, 0, 0}, 0.75f, 0.5f},  // a quarter turn on
        {10, 20, {0, 0, 1}, 0.f, 0.5f},   // the seam again
        {5, 10, {0, s, -s}, 0.5f, 0.25f}, // half-way up, at the back
        {20, 3, {0, -1, 0}, 0.85f, 1.f},  // the -y pole
    };
    for (const Case& c : cases) {
        const MeshVertex& v = mesh.vertices[std::size_t(c.i * 21 + c.j)];
        EXPECT_NEAR((position(v) - c.position).length(), 0.f, 1e-5f) << c.i << "," << c.j;
        EXPECT_FLOAT_EQ(v.u, c.u) << c.i << "," << c.j;
        EXPECT_FLOAT_EQ(v.v, c.v) << c.i << "," << c.j;
        EXPECT_NEAR((QVector3D(v.nx, v.ny, v.nz) - c.position).length(), 0.f, 1e-5f);
    }
    EXPECT_FLOAT_EQ(makeSphereMesh(2.5f).vertices[210].z, 2.5f);
}

// With no depth buffer the hidden half of a ball must be culled, so every
// triangle has to face outwards.
TEST(SphereMesh, EveryTriangleFacesOutwards) {
    const MeshData mesh = makeSphereMesh(1.f);
    const auto tris = triangles(mesh);
    EXPECT_EQ(tris.size(), 20u * 20u * 2u - 2u * 20u) << "the pole triangles are degenerate";
    for (const auto& t : tris) {
        const QVector3D normal = QVector3D::crossProduct(t[1] - t[0], t[2] - t[0]);
        EXPECT_GT(QVector3D::dotProduct(normal, t[0] + t[1] + t[2]), 0.f);
    }
}

TEST(CueMesh, TaperedStickClosedAtBothEndsFacingOutwards) {
    const MeshData mesh = makeCueMesh();
    float minX = 1e9f, maxX = -1e9f;
    for (const MeshVertex& v : mesh.vertices) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        const float r = std::hypot(v.y, v.z);
        if (r > 1e-6f) {
            EXPECT_NEAR(r, 0.2f + 0.2f * v.x / 26.f, 1e-5f) << v.x;
        }
    }
    EXPECT_FLOAT_EQ(minX, 0.f);
    EXPECT_FLOAT_EQ(maxX, 26.f);
    const auto tris = triangles(mesh);
    EXPECT_EQ(tris.size(), 6u * 2u * 2u + 2u * 6u);
    for (const auto& t : tris) {
        const QVector3D normal = QVector3D::crossProduct(t[1] - t[0], t[2] - t[0]);
        const QVector3D centre = (t[0] + t[1] + t[2]) / 3.f;
        // Outwards from the axis point at the same x, or out of the end caps.
        QVector3D out(0, centre.y(), centre.z());
        if (std::abs(t[0].x() - t[1].x()) < 1e-6f && std::abs(t[0].x() - t[2].x()) < 1e-6f)
            out = QVector3D(centre.x() < 13.f ? -1.f : 1.f, 0, 0);
        EXPECT_GT(QVector3D::dotProduct(normal, out), 0.f);
    }
    // The picture runs along the stick: the butt takes its left edge.
    for (const MeshVertex& v : mesh.vertices)
        EXPECT_FLOAT_EQ(v.u, 1.f - v.x / 26.f);
}

TEST(CueMesh, LiesOnTheRayAwayFromTheCueBall) {
    struct Case {
        float angle, pullBack;
    };
    const QVector3D ball(3.f, -2.f, 1.f);
    for (const Case c :
         {Case{0.f, 1.f}, Case{std::numbers::pi_v<float> / 2, 6.f}, Case{-2.5f, 3.5f}}) {
        const QMatrix4x4 model = cueModelMatrix(ball, c.angle, c.pullBack);
        const QVector3D d(std::cos(c.angle), std::sin(c.angle), 0.f);
        EXPECT_NEAR((model.map(QVector3D(0, 0, 0)) - (ball - c.pullBack * d)).length(), 0.f, 1e-4f);
        EXPECT_NEAR((model.map(QVector3D(26, 0, 0)) - (ball - (c.pullBack + 26.f) * d)).length(),
                    0.f, 1e-4f);
    }
}

TEST(BallModel, PlacesAndTurnsTheBall) {
    // A quarter turn about z: local +y goes to world -x.
    const float rotation[9] = {0, -1, 0, 1, 0, 0, 0, 0, 1};
    const QMatrix4x4 model = ballModelMatrix(QVector3D(5, 6, 1), rotation);
    EXPECT_NEAR((model.map(QVector3D(0, 1, 0)) - QVector3D(4, 6, 1)).length(), 0.f, 1e-6f);
    EXPECT_NEAR((model.map(QVector3D(0, 0, 1)) - QVector3D(5, 6, 2)).length(), 0.f, 1e-6f);
    EXPECT_LT(model.determinant(), 0.f) << "mirrored so the picture reads the right way";
}

} // namespace

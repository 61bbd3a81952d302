#pragma once
// Vertex data of the desk's two meshes, made by the desk itself: the ball
// sphere shared by all sixteen balls and the tapered cue stick.

#include <QMatrix4x4>
#include <QVector3D>
#include <cstdint>
#include <vector>

namespace desk::render {

struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

enum class MeshTopology { TriangleStrip, Triangles };

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint16_t> indices;
    MeshTopology topology = MeshTopology::Triangles;
};

// Sphere of `radius`: 21 rings of 21 vertices from the +y pole down, ring i at
// colatitude i·π/20, vertex j at longitude j·2π/20, position
// r·(sin θ sin φ, cos φ, cos θ sin φ), texture (1 − j/20, i/20); one strip of
// 840 indices walking the bands between neighbouring rings.
inline constexpr int kSphereStacks = 20;
inline constexpr int kSphereSlices = 20;
MeshData makeSphereMesh(float radius);

// Cue stick along +x: the tip (radius 0.2) at x = 0, the butt (radius 0.4) at
// x = 26; 6 sides, 2 segments, closed at both ends. The cue picture runs along
// the stick: its left edge at the butt, its right edge at the tip, wrapped
// once round the stick from top to bottom.
inline constexpr float kCueLength = 26.f;
inline constexpr float kCueButtRadius = 0.4f;
inline constexpr float kCueTipRadius = 0.2f;
inline constexpr int kCueSides = 6;
inline constexpr int kCueSegments = 2;
MeshData makeCueMesh();

// The stick on the ray from the cue-ball centre opposite to the cue angle
// (radians, world frame), its tip pullBack units from that centre.
QMatrix4x4 cueModelMatrix(const QVector3D& cueBall, float cueAngle, float pullBack);

// A ball at centre turned by its rotation (3 × 3, row-major, local to world).
// The picture is mirrored across the ball's local x so that it reads the
// right way round from outside in this right-handed world; the result turns
// the faces inside out, which the mesh renderer accounts for.
QMatrix4x4 ballModelMatrix(const QVector3D& centre, const float rotation[9]);

} // namespace desk::render

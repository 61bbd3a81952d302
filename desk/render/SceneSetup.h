#pragma once
// The view the desk shows its table from, and its light and materials: a
// camera straight above the table's centre and one point light between the
// camera and the table, lighting the balls and the cue as fixed-function
// lighting did (ambient + diffuse, specular added after the texture).

#include <QMatrix4x4>
#include <QPointF>
#include <QVector3D>
#include <QVector4D>

namespace desk::render {

struct CCamera {
    static constexpr float kDistance = 85.f;    // from the bed plane
    static constexpr float kFieldOfView = 30.f; // vertical, degrees
    static constexpr float kNear = 1.f;
    static constexpr float kFar = 100.f;

    static QVector3D Eye() { return {0.f, 0.f, kDistance}; }
    // World x to the right, world y up on the screen.
    static QMatrix4x4 View();
    static QMatrix4x4 Projection(int width, int height);
    // Where a world point lands in window pixels (y down).
    static QPointF Project(const QVector3D& world, int width, int height);
};

struct PointLight {
    QVector3D position{0.f, 0.f, 60.f};
    QVector4D diffuse{0.7f, 0.7f, 0.7f, 1.f};
    QVector4D specular{0.8f, 0.8f, 0.8f, 1.f};
    QVector4D ambient{0.6f, 0.6f, 0.6f, 1.f};
    float range = 500.f;
    QVector3D attenuation{1.f, 0.f, 0.f};
};

struct Material {
    QVector4D diffuse;
    QVector4D ambient;
    QVector4D specular;
    QVector4D emissive;
    float power = 0.f;
};

inline Material ballMaterial() {
    return {{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, 50.f};
}
inline Material cueMaterial() {
    return {{1, 1, 1, 0}, {1, 1, 1, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0.f};
}

} // namespace desk::render

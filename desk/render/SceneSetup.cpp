#include "desk/render/SceneSetup.h"

#include <algorithm>

namespace desk::render {

QMatrix4x4 CCamera::View() {
    QMatrix4x4 view;
    view.lookAt(Eye(), QVector3D(0.f, 0.f, 0.f), QVector3D(0.f, 1.f, 0.f));
    return view;
}

QMatrix4x4 CCamera::Projection(int width, int height) {
    QMatrix4x4 projection;
    projection.perspective(kFieldOfView, float(std::max(1, width)) / float(std::max(1, height)),
                           kNear, kFar);
    return projection;
}

QPointF CCamera::Project(const QVector3D& world, int width, int height) {
    const QVector3D ndc = (Projection(width, height) * View()).map(world);
    return {(ndc.x() + 1.0) * 0.5 * width, (1.0 - ndc.y()) * 0.5 * height};
}

} // namespace desk::render

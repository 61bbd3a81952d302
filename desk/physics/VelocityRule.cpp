#include "desk/physics/VelocityRule.h"

#include <algorithm>
#include <cmath>

namespace desk {

namespace {

// Takes |c| × loss / s off the magnitude of one component, never past zero,
// so the planar speed falls by `loss` and stops once it is at most `loss`.
double reduced(double c, double loss, double s) {
    const double magnitude = std::max(0.0, std::fabs(c) - std::fabs(c) * loss / s);
    return c < 0 ? -magnitude : magnitude;
}

double settledVertical(double vz) {
    if (vz > kVerticalLoss)
        return vz - kVerticalLoss;
    if (vz < -kVerticalLoss)
        return vz + kVerticalLoss;
    return 0;
}

} // namespace

BallMotion nextMotion(const BallMotion& now, const VelocityContext& ctx) {
    const Vec3& v = now.linear;
    const double s = std::sqrt(v.x * v.x + v.y * v.y);
    Vec3 next;
    if (ctx.cueBall && ctx.cueBallFree && !ctx.touchedCushion && s >= kFreeRunSpeed) {
        next = v;
    } else if (ctx.cueBall && ctx.followDraw) {
        const double sigma = ctx.tipOffset >= 0 ? 1.0 : -1.0;
        next = {sigma * kFollowShare * ctx.firstBallVelocity.x,
                sigma * kFollowShare * ctx.firstBallVelocity.y, 0};
    } else if (s > kStopSpeed) {
        next = {reduced(v.x, kRollingLoss, s), reduced(v.y, kRollingLoss, s), settledVertical(v.z)};
    } else {
        next = {0, 0, 0};
    }
    BallMotion out;
    out.linear = next;
    if (next.x != 0 || next.y != 0)
        out.angular = {now.angular.x, now.angular.y, now.angular.z * 0.5};
    return out;
}

} // namespace desk

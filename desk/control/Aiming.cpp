#include "desk/control/Aiming.h"

#include "desk/model/Units.h"

#include <cmath>

namespace desk::control {

namespace {
// The desk's π is a single-precision constant; angles sent by one desk are
// compared and replayed by others, so every desk must derive them alike.
constexpr double kPi = static_cast<double>(3.14159265358979f);
constexpr double kTargetRadiusSquared = 6.0;
constexpr double kArrowHideDistance = 1.2;
constexpr double kArrowLength = 50.0;
constexpr double kCueLength = 26.0;
constexpr int kPowerStep = 100;
constexpr double kPullBackStep = 0.3;
constexpr int kNoPower = 10;   // at or below this the swing starts over
constexpr int kSoftShot = 100; // what a release without power sends
} // namespace

double pointerAngle(double dx, double dy) {
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance == 0)
        return 0;
    const double alpha = std::asin(static_cast<float>(std::fabs(dy) / distance));
    if (dx >= 0 && dy >= 0)
        return alpha;
    if (dx < 0 && dy >= 0)
        return kPi - alpha;
    if (dx < 0)
        return kPi + alpha;
    return 2 * kPi - alpha;
}

int32_t cueArcFor(double angle) {
    return toInterface(-angle);
}

void chargeTick(PowerState& s) {
    if (s.rising) {
        s.power += kPowerStep;
        s.pullBack += kPullBackStep;
    } else {
        s.power -= kPowerStep;
        s.pullBack -= kPullBackStep;
    }
    if (s.pullBack >= kFullPullBack || s.power >= kFullPower) {
        s.pullBack = kFullPullBack;
        s.power = kFullPower;
        s.rising = false;
    } else if (s.power <= kNoPower) {
        s.pullBack = kBallRadius;
        s.power = 0;
        s.rising = true;
    }
}

void powerBarClick(PowerState& s, int fromTop, int barHeight) {
    if (barHeight <= 0)
        return;
    const int l = barHeight - fromTop;
    s.power = l * kFullPower / barHeight;
    s.pullBack = l * kFullPullBack / barHeight;
}

int releasePower(int power) {
    return power <= kNoPower ? kSoftShot : power;
}

int targetBallAt(const BallCentres& balls, WorldPoint p) {
    int best = -1;
    double bestSquared = kTargetRadiusSquared;
    for (int i = 0; i < kObjectBallCount; ++i) {
        const WorldPoint b = balls[static_cast<std::size_t>(i)];
        const double d = (b.x - p.x) * (b.x - p.x) + (b.y - p.y) * (b.y - p.y);
        if (d < bestSquared) {
            bestSquared = d;
            best = i;
        }
    }
    return best;
}

bool arrowShownFor(WorldPoint ball, WorldPoint p) {
    return std::hypot(ball.x - p.x, ball.y - p.y) >= kArrowHideDistance;
}

WorldPoint arrowTip(WorldPoint ball, WorldPoint p) {
    const double dx = ball.x - p.x;
    const double dy = ball.y - p.y;
    const double d = std::hypot(dx, dy);
    if (d == 0)
        return ball;
    return {ball.x + dx / d * kArrowLength, ball.y + dy / d * kArrowLength};
}

bool aimLineReachesPointer(WorldPoint cue, double angle, double pullBack, WorldPoint p) {
    const double back = pullBack + kCueLength / 2;
    const WorldPoint middle{cue.x - std::cos(angle) * back, cue.y - std::sin(angle) * back};
    return std::hypot(p.x - middle.x, p.y - middle.y) >
           std::hypot(cue.x - middle.x, cue.y - middle.y);
}

} // namespace desk::control

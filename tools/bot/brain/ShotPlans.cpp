#include "tools/bot/brain/ShotPlans.h"

#include "desk/model/TableLayout.h"

#include <algorithm>
#include <cmath>

namespace bot {

namespace {

using desk::kBallRadius;

// Ball-centre limits along the straight rails (the cushions' inner faces
// half a unit outside the outline, one radius more for the centre).
constexpr double kMinX = -25.85, kMaxX = 25.15, kMinY = -6.25, kMaxY = 17.95;
// Two balls whose centres pass closer than this touch; a little slack keeps
// the geometry from promising grazes the physics will not give.
constexpr double kClearance = 2 * kBallRadius + 0.1;
// A middle pocket takes a ball only within this angle of its normal.
constexpr double kMiddleApproach = 1.0; // ≈ 57°

} // namespace

const std::array<PocketAim, 6>& pocketAims() {
    static const std::array<PocketAim, 6> aims = [] {
        const desk::CTableLayout layout;
        std::array<PocketAim, 6> out{};
        for (int k = 0; k < desk::kPocketCount; ++k) {
            const desk::Rect& z = layout.pocketZone(k);
            out[static_cast<std::size_t>(k)] = {
                k, {(z.left + z.right) / 2, (z.bottom + z.top) / 2}, k == 1 || k == 4};
        }
        return out;
    }();
    return aims;
}

const std::vector<PocketAim>& aimPoints() {
    // Across the mouth: perpendicular to the line from the table's centre.
    static const std::vector<PocketAim> points = [] {
        constexpr double kAcross = 0.7;
        const desk::Rect& r = desk::CTableLayout::playingRect();
        const Vec2 centre{(r.left + r.right) / 2, (r.bottom + r.top) / 2};
        std::vector<PocketAim> out;
        for (const PocketAim& a : pocketAims()) {
            out.push_back(a);
            const Vec2 in = normalized(a.point - centre);
            const Vec2 across = a.middle ? Vec2{1, 0} : Vec2{-in.y, in.x};
            for (double side : {kAcross, -kAcross}) {
                PocketAim p = a;
                p.point = a.point + across * side;
                out.push_back(p);
            }
        }
        return out;
    }();
    return points;
}

bool pathClear(const TableState& table, Vec2 a, Vec2 b, int ignoreA, int ignoreB) {
    for (int i = 0; i < desk::kBallCount; ++i) {
        if (i == ignoreA || i == ignoreB || !table.onTable(i))
            continue;
        if (distanceToSegment(table.at(i), a, b) < kClearance)
            return false;
    }
    return true;
}

ShotPlan planShot(const TableState& table, Vec2 cue, int target, const PocketAim& aim) {
    ShotPlan p;
    p.target = target;
    p.pocket = aim.pocket;
    p.cue = cue;
    p.aim = aim.point;
    const Vec2 t = table.at(target);
    const Vec2 toPocket = aim.point - t;
    p.objectDistance = length(toPocket);
    const Vec2 d = normalized(toPocket);
    p.ghost = t - d * (2 * kBallRadius);
    const Vec2 toGhost = p.ghost - cue;
    p.cueDistance = length(toGhost);
    p.cueAngle = std::atan2(toGhost.y, toGhost.x);
    const Vec2 c = normalized(toGhost);
    p.cut = std::acos(std::clamp(dot(c, d), -1.0, 1.0));

    if (p.cueDistance < 0.5 || p.cut > kMaxCut)
        return p;
    if (p.ghost.x < kMinX - 0.3 || p.ghost.x > kMaxX + 0.3 || p.ghost.y < kMinY - 0.3 ||
        p.ghost.y > kMaxY + 0.3)
        return p;
    if (aim.middle && std::fabs(d.x) > std::sin(kMiddleApproach))
        return p;
    if (!pathClear(table, cue, p.ghost, desk::kCueBall, target) ||
        !pathClear(table, t, aim.point, desk::kCueBall, target))
        return p;

    p.ease = std::cos(p.cut) / (1.0 + p.cueDistance / 25.0 + p.objectDistance / 20.0);
    return p;
}

std::vector<ShotPlan> plansFrom(const TableState& table, Vec2 cue, int group) {
    std::vector<ShotPlan> plans;
    for (int b = 0; b < desk::kObjectBallCount; ++b) {
        if (!isTarget(table, group, b))
            continue;
        for (const PocketAim& aim : aimPoints()) {
            const ShotPlan p = planShot(table, cue, b, aim);
            if (p.ease > 0)
                plans.push_back(p);
        }
    }
    std::stable_sort(plans.begin(), plans.end(),
                     [](const ShotPlan& a, const ShotPlan& b) { return a.ease > b.ease; });
    return plans;
}

double bestEase(const TableState& table, Vec2 cue, int group) {
    double best = 0;
    for (int b = 0; b < desk::kObjectBallCount; ++b) {
        if (!isTarget(table, group, b))
            continue;
        for (const PocketAim& aim : aimPoints())
            best = std::max(best, planShot(table, cue, b, aim).ease);
    }
    return best;
}

} // namespace bot

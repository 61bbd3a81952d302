#include "tools/bot/brain/TableState.h"

#include "desk/model/Units.h"

#include <numbers>

namespace bot {

Vec2 normalized(Vec2 a) {
    const double n = length(a);
    return n > 0 ? Vec2{a.x / n, a.y / n} : Vec2{};
}

double distanceToSegment(Vec2 p, Vec2 a, Vec2 b) {
    const Vec2 ab = b - a;
    const double len2 = dot(ab, ab);
    if (len2 <= 0)
        return length(p - a);
    double t = dot(p - a, ab) / len2;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return length(p - (a + ab * t));
}

double wrapAngle(double a) {
    constexpr double kTwoPi = 2 * std::numbers::pi;
    a = std::fmod(a, kTwoPi);
    if (a > std::numbers::pi)
        a -= kTwoPi;
    else if (a <= -std::numbers::pi)
        a += kTwoPi;
    return a;
}

TableState tableStateFrom(const desk::SphereRecords& records) {
    TableState t;
    for (int i = 0; i < desk::kBallCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        t.position[k] = {desk::fromInterface(records[k].m_nX),
                         desk::fromInterface(records[k].m_nY)};
        t.status[k] = records[k].m_nStatus;
    }
    return t;
}

bool isOwnBall(int group, int ball) {
    if (ball < 0 || ball >= desk::kObjectBallCount || ball == desk::kBlackBall)
        return false;
    if (group != desk::kSolids && group != desk::kStripes)
        return true;
    return desk::groupOf(ball) == group;
}

int opponentGroup(int group) {
    if (group == desk::kSolids)
        return desk::kStripes;
    if (group == desk::kStripes)
        return desk::kSolids;
    return desk::kOpenTable;
}

bool isTarget(const TableState& table, int group, int ball) {
    if (ball < 0 || ball >= desk::kObjectBallCount || !table.onTable(ball))
        return false;
    if (group != desk::kSolids && group != desk::kStripes)
        return ball != desk::kBlackBall;
    return desk::isLegalTarget(ball, group, table.status);
}

} // namespace bot

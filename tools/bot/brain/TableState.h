#pragma once
// The position the brain reasons about: where each ball stands and whether it
// is still on the table, read from the sixteen authoritative ball records the
// same way the desk reads them (single-precision interface conversion).

#include "desk/model/Balls.h"
#include "desk/model/SphereRecords.h"

#include <array>
#include <cmath>

namespace bot {

struct Vec2 {
    double x = 0;
    double y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, double k) {
    return {a.x * k, a.y * k};
}
inline double dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
inline double cross(Vec2 a, Vec2 b) {
    return a.x * b.y - a.y * b.x;
}
inline double length(Vec2 a) {
    return std::hypot(a.x, a.y);
}
inline Vec2 rotated(Vec2 a, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {a.x * c - a.y * s, a.x * s + a.y * c};
}
// The unit vector along `a`; the zero vector stays zero.
Vec2 normalized(Vec2 a);
// Distance from `p` to the segment from `a` to `b`.
double distanceToSegment(Vec2 p, Vec2 a, Vec2 b);
// An angle brought into (−π, π].
double wrapAngle(double a);

struct TableState {
    std::array<Vec2, desk::kBallCount> position{};
    desk::BallStatuses status{};

    bool onTable(int ball) const {
        return status[static_cast<std::size_t>(ball)] == desk::kOnTable;
    }
    Vec2 at(int ball) const { return position[static_cast<std::size_t>(ball)]; }
};

TableState tableStateFrom(const desk::SphereRecords& records);

// The balls the shooter may aim at first: his group's balls on the table, the
// black once they are all down. On an open table every coloured ball but not
// the black, which a player never plays first before the groups are settled.
bool isTarget(const TableState& table, int group, int ball);

// Whether the object ball `ball` counts as the shooter's own when pocketed:
// his group's balls, or any coloured ball while the table is open.
bool isOwnBall(int group, int ball);

// The other player's group; on an open table every coloured ball is his too.
int opponentGroup(int group);

} // namespace bot

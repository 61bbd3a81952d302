#include "desk/model/Balls.h"

#include <array>
#include <cmath>
#include <ode/rotation.h>

namespace desk {

int groupOf(int ball) {
    if (ball >= 0 && ball <= 6)
        return kSolids;
    if (ball >= 8 && ball <= 14)
        return kStripes;
    return kOpenTable;
}

bool isLegalTarget(int ball, int myGroup, const BallStatuses& statuses) {
    if (ball < 0 || ball >= kBallCount)
        return false;
    if (myGroup != kSolids && myGroup != kStripes)
        return true;
    if (ball == kBlackBall) {
        for (int i = 0; i < kObjectBallCount; ++i)
            if (groupOf(i) == myGroup && statuses[static_cast<std::size_t>(i)] == kOnTable)
                return false;
        return true;
    }
    return groupOf(ball) == myGroup;
}

BallPosition restPosition(int ball) {
    return {2.5 * ball - 10.0, 0.0};
}

const Rotation& startOrientation() {
    static const Rotation r = [] {
        dMatrix3 m;
        dRFromAxisAndAngle(m, 1, 3, 1, 29.5);
        Rotation out{};
        for (std::size_t k = 0; k < out.size(); ++k)
            out[k] = m[k];
        return out;
    }();
    return r;
}

namespace {

using Row = std::array<double, 3>;

double dot(const Row& a, const Row& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Row cross(const Row& a, const Row& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Row scaled(const Row& a, double k) {
    return {a[0] * k, a[1] * k, a[2] * k};
}

// Looser than any quantisation of a real rotation, far tighter than garbage.
constexpr double kRotationTolerance = 1e-3;

} // namespace

Rotation properRotation(const Rotation& r) {
    const Row rows[3] = {{r[0], r[1], r[2]}, {r[4], r[5], r[6]}, {r[8], r[9], r[10]}};
    for (const Row& row : rows)
        for (double v : row)
            if (!std::isfinite(v))
                return startOrientation();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (std::fabs(dot(rows[i], rows[j]) - (i == j ? 1.0 : 0.0)) > kRotationTolerance)
                return startOrientation();
    if (dot(cross(rows[0], rows[1]), rows[2]) <= 0)
        return startOrientation();

    const Row a = scaled(rows[0], 1 / std::sqrt(dot(rows[0], rows[0])));
    const double along = dot(a, rows[1]);
    Row b = {rows[1][0] - along * a[0], rows[1][1] - along * a[1], rows[1][2] - along * a[2]};
    b = scaled(b, 1 / std::sqrt(dot(b, b)));
    const Row c = cross(a, b);
    return {a[0], a[1], a[2], 0, b[0], b[1], b[2], 0, c[0], c[1], c[2], 0};
}

} // namespace desk

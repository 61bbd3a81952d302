#include "desk/model/Balls.h"

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

} // namespace desk

#pragma once
// The sixteen balls: index 0 … 14 are the balls numbered 1 … 15 (0 … 6 the
// solids, 7 the black, 8 … 14 the stripes), index 15 is the cue ball.

#include <array>
#include <cstdint>

namespace desk {

inline constexpr int kBallCount = 16;
inline constexpr int kObjectBallCount = 15;
inline constexpr int kBlackBall = 7;
inline constexpr int kCueBall = 15;
inline constexpr double kBallRadius = 1.0;

// Ball status, as in every ball record.
inline constexpr int16_t kOnTable = 0;
inline constexpr int16_t kPocketedEarlier = 1;
inline constexpr int16_t kPocketedThisShot = 2;

// A player's group: −1 while the table is open, 0 solids, 1 stripes.
inline constexpr int kOpenTable = -1;
inline constexpr int kSolids = 0;
inline constexpr int kStripes = 1;

using BallStatuses = std::array<int16_t, kBallCount>;

// 3 × 4 row-major rotation, the fourth column unused (the engine's layout).
using Rotation = std::array<double, 12>;

// The group of a ball index: kSolids, kStripes, or kOpenTable for the black
// and the cue ball, which belong to no group.
int groupOf(int ball);

// Whether the local player may aim at `ball` first: every ball on an open
// table; otherwise the own group, and the black once no ball of the own group
// is on the table (status 0).
bool isLegalTarget(int ball, int myGroup, const BallStatuses& statuses);

// Where ball i stands before any rack arrives.
struct BallPosition {
    double x = 0;
    double y = 0;
};
BallPosition restPosition(int ball);

// The orientation every ball takes when it is (re)placed: 29.5 radians about
// the axis (1, 3, 1).
const Rotation& startOrientation();

// A rotation read from a record, made fit for the physics engine: a matrix
// that is a rotation up to the interface's quantisation is re-orthonormalised;
// anything else (garbage from the wire, a reflection, zeros) becomes the start
// orientation, since the engine aborts on a matrix it cannot turn into a
// rotation.
Rotation properRotation(const Rotation& r);

} // namespace desk

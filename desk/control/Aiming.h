#pragma once
// The arithmetic of aiming, charging and placing by hand, apart from any
// window: the angle of the pointer seen from the cue ball, the power swing,
// the power bar, the target ball under the pointer and the placement test.

#include "desk/model/Balls.h"
#include "desk/model/CuePlacement.h"
#include "desk/model/ViewGeometry.h"
#include "desk/physics/PhysicsWorld.h"
#include "desk/physics/ShotEngine.h"

#include <array>
#include <cstdint>

namespace desk::control {

// The direction from the cue ball's screen position to the pointer, in
// [0, 2π), the screen's y axis pointing down: right 0, below π/2, left π,
// above 3π/2. Angles are built from a single-precision π and arcsine, as
// every desk computes them, so straight above is 4.71238911151886.
double pointerAngle(double dx, double dy);

// The cue angle (the world direction towards the pointer) for a pointer
// angle, as an interface value: trunc(−φ × 1 000 000).
int32_t cueArcFor(double pointerAngle);

// Turn_* is reported when the pointer angle moved by more than this (30°).
inline constexpr double kReportedTurn = 0.5235988;

// The power swing of a charging shot.
struct PowerState {
    int power = 0;         // 0 … 2000
    double pullBack = 0.0; // 1 … 6 world units once charging
    bool rising = true;
};
inline constexpr int kFullPower = kMaxPower; // a full swing strikes as hard as the engine takes
inline constexpr double kFullPullBack = 6.0;
inline constexpr int kChargeTimerMs = 50;

// One tick of the charge timer: ±100 power and ±0.3 pull-back, turning at
// full power and starting over from the ball at the bottom.
void chargeTick(PowerState& state);
// A click on the power bar `fromTop` pixels below its top sets the power
// directly; the direction is left as it is.
void powerBarClick(PowerState& state, int fromTop, int barHeight);
// A release with (almost) no power still sends a soft shot.
int releasePower(int power);

// Balls 0 … 14 as the aiming aid and the placement test see them
// (desk::BallCentres; the placement test is desk::clearOfBalls).
using desk::BallCentres;
using desk::clearOfBalls;

// The object ball whose centre is nearest to the pointer within √6, or −1.
int targetBallAt(const BallCentres& balls, WorldPoint pointer);
// Whether the arrow of a target ball is drawn: not when the pointer is
// within 1.2 of its centre.
bool arrowShownFor(WorldPoint ball, WorldPoint pointer);
// Where the arrow points: 50 units beyond the ball on the side away from
// the pointer.
WorldPoint arrowTip(WorldPoint ball, WorldPoint pointer);

// Whether the aim line shows: the pointer lies farther from the middle of
// the cue stick than the cue ball does.
bool aimLineReachesPointer(WorldPoint cueBall, double cueAngle, double pullBack,
                           WorldPoint pointer);

} // namespace desk::control

#pragma once
// What the shot loop does to a ball's velocity after each world step: the
// engine itself has no rolling resistance (the balls roll on an infinitely
// rough bed), so the loop takes 0.04 off the planar speed per step, lets a
// fast cue ball run free until its first contact, and gives follow or draw
// right after the cue ball's first contact.

#include "desk/physics/PhysicsWorld.h"

namespace desk {

struct BallMotion {
    Vec3 linear;
    Vec3 angular;
};

struct VelocityContext {
    bool cueBall = false;
    bool cueBallFree = false;    // the cue ball has touched no ball yet
    bool touchedCushion = false; // this ball has touched a cushion in this shot
    bool followDraw = false;     // follow or draw applies to the cue ball in this step
    double tipOffset = 0;        // + above the centre (follow), − below (draw)
    Vec3 firstBallVelocity;      // the first ball hit, as the loop has left it
};

inline constexpr double kRollingLoss = 0.04;  // planar speed lost per step
inline constexpr double kStopSpeed = 0.01;    // at or below: the ball stops
inline constexpr double kFreeRunSpeed = 10.0; // the cue ball runs free from here up
inline constexpr double kFollowShare = 0.3;   // share of the first ball's velocity
inline constexpr double kVerticalLoss = 0.5;

BallMotion nextMotion(const BallMotion& now, const VelocityContext& ctx);

} // namespace desk

#pragma once
// Ghost-ball geometry: for a target ball and a pocket, where the cue ball
// must be at contact (the ghost ball, two radii behind the target on the line
// from the pocket), the cue angle that sends it there, the cut angle, and
// whether anything stands in the way. The geometry only proposes shots; the
// simulation decides which of them actually work.

#include "tools/bot/brain/TableState.h"

#include <array>
#include <vector>

namespace bot {

struct PocketAim {
    int pocket = 0;
    Vec2 point; // where the object ball is sent
    bool middle = false;
};

// One aim point per pocket zone: the zone's centre, which a ball entering the
// mouth straight on passes through.
const std::array<PocketAim, 6>& pocketAims();
// The centres and, for each pocket, a point either side across its mouth:
// balls that come in along a rail or at an angle drop off centre.
const std::vector<PocketAim>& aimPoints();

struct ShotPlan {
    int target = -1;
    int pocket = -1;
    Vec2 cue;            // where the cue ball stands
    Vec2 ghost;          // cue-ball centre at contact
    Vec2 aim;            // the pocket point the target is sent to
    double cueAngle = 0; // world direction from the cue ball to the ghost ball
    double cut = 0;      // angle between the cue's path and the target's path
    double cueDistance = 0;
    double objectDistance = 0;
    double ease = 0; // 0 … 1: short, straight shots are easy
};

// Cuts beyond this are not tried: the object ball barely moves.
inline constexpr double kMaxCut = 1.3; // ≈ 75°

// The plan for sending `target` into `aim` from `cue`, or ease 0 when the
// shot is impossible: a cut too thin, a path blocked by another ball, the
// ghost ball off the table or the approach to a middle pocket too flat.
ShotPlan planShot(const TableState& table, Vec2 cue, int target, const PocketAim& aim);

// Every feasible plan from `cue` at the shooter's targets, easiest first.
std::vector<ShotPlan> plansFrom(const TableState& table, Vec2 cue, int group);

// How easy the easiest shot at the given group's targets is from `cue`
// (0 when there is none): the value of a cue-ball position.
double bestEase(const TableState& table, Vec2 cue, int group);

// Whether the straight path of a ball from `a` to `b` stays clear of every
// ball on the table other than those listed.
bool pathClear(const TableState& table, Vec2 a, Vec2 b, int ignoreA, int ignoreB);

} // namespace bot

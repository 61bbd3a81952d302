#pragma once
// Whether a shooter's report can describe a real shot from the referee's
// position. A desk may differ from the referee's replay in its last bits (a
// window of another size rounds the follow/draw test and the tray row
// differently), so the checks allow for that; what they refuse is a report no
// desk could have produced: a ball back on the table after it was pocketed,
// a pocketed ball anywhere but its tray slot, a ball outside the cushions or
// inside another, or judging values that contradict the balls.

#include "desk/model/SphereRecords.h"

#include <cstdint>

namespace referee {

enum class ReportProblem : uint8_t {
    None,
    BadStatus,   // a status other than 0, 1 or 2
    BackOnTable, // a ball off the table before is on it again
    NotInTray,   // a pocketed object ball away from its tray slot
    CueBallNotInPocket,
    OffTable,     // a ball on the table outside the cushions
    Overlap,      // two balls on the table inside each other
    BadJudge,     // judging values that contradict the ball records
    BadPlacement, // a cue-ball placement outside the area or on a ball
};
const char* ReportProblemName(ReportProblem problem);

struct CheckResult {
    ReportProblem problem = ReportProblem::None;
    int ball = -1; // the ball concerned, −1 when none
    bool ok() const { return problem == ReportProblem::None; }
};

// The balls of a report against the statuses before the shot.
CheckResult CheckBalls(const desk::BallStatuses& before, const desk::SphereRecords& reported);

// The break's judging values against its balls.
CheckResult CheckBreakJudge(const desk::BallStatuses& before, const desk::SphereRecords& reported,
                            int firstPocketed, int cushionBalls);
// A shot's judging values against its balls.
CheckResult CheckShotJudge(const desk::BallStatuses& before, const desk::SphereRecords& reported,
                           int touchedNothing, int touchedMyself, int noCushion);

// A cue-ball placement (interface units) for ball in hand: the desk's rule
// (desk/model/CuePlacement.h) for a window of the design size, inside the
// placement area behind the head line and at least two radii from every
// object ball on the table.
CheckResult CheckCuePlacement(const desk::SphereRecords& records, int32_t x, int32_t y);

} // namespace referee

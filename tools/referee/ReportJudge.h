#pragma once
// What the server does with a shooter's report: replay the shot from its own
// position, check the report, and decide which balls and facts the verdict
// rests on. A possible report stands, even when a desk of another window
// size stepped it a little differently; an impossible one is replaced by the
// replay.

#include "desk/physics/ShotEngine.h"
#include "tools/referee/EightBallReferee.h"
#include "tools/referee/ReportCheck.h"
#include "tools/referee/ShotReplay.h"

namespace referee {

// The values of a 609 (break) or a 617 (shot in play).
struct ReportedShot {
    bool isBreak = false;
    desk::SphereRecords balls{};
    int firstPocketed = -1; // 609
    int cushionBalls = 0;   // 609
    int touchedNothing = 0; // 617
    int touchedMyself = 1;  // 617
    int noCushion = 0;      // 617
};

struct JudgedReport {
    desk::SphereRecords balls{}; // what the verdict sends to every desk
    ShotFacts facts;             // what the referee judges
    CheckResult check;           // why the report was refused, if it was
    bool identical = false;      // the report matched the replay to the bit
    bool replaced() const { return !check.ok(); }
};

JudgedReport JudgeReport(desk::CShotEngine& engine, const CTablePosition& position,
                         int shooterGroup, const desk::Strike& strike, const ReportedShot& report);

// The facts the referee judges, read off a simulated shot: the statuses of
// its final records and the values of its shot record.
ShotFacts FactsOf(const desk::ShotOutcome& outcome);

// The facts of a shot that nobody reported, from the replay alone.
JudgedReport JudgeFromReplay(desk::CShotEngine& engine, const CTablePosition& position,
                             int shooterGroup, const desk::Strike& strike);

} // namespace referee

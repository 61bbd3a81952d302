#pragma once
// What a simulated shot would mean for the shooter: the table's own referee
// (tools/referee) is taken up at the position before the strike and judges
// the simulation's final balls and shot record exactly as it judges a
// shooter's report. The forecast only reads its verdict.

#include "desk/physics/ShotEngine.h"

namespace bot {

struct Forecast {
    bool foul = false;
    bool wins = false;   // the black went down legally
    bool loses = false;  // the black went down any other way
    bool rerack = false; // the black on the break: racked again, same breaker
    int ownPotted = 0;   // balls of the shooter's group (as it stands after the shot) pocketed
    int groupAfter = desk::kOpenTable;
    bool keepsTurn = false; // the shooter plays the next shot (a pot, or a chance left)
    int chancesAfter = 0;   // his chances then
};

// `before` are the statuses at the strike, `group` the shooter's group then,
// `chances` his chances for this visit.
Forecast forecastShot(const desk::BallStatuses& before, int group, bool isBreak,
                      const desk::ShotOutcome& outcome, int chances = 1);

} // namespace bot

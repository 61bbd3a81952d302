#pragma once
// What a simulated shot would mean for the shooter under eight-ball rules as
// the table's referee applies them: fouls, the black, the group, the turn.
// The brain reads these facts off the shot record and the final balls of its
// own simulation, exactly as the referee reads the shooter's report.

#include "desk/physics/ShotEngine.h"

namespace bot {

struct Forecast {
    bool foul = false;
    bool wins = false;   // the black went down legally
    bool loses = false;  // the black went down any other way
    bool rerack = false; // the black on the break: racked again, same breaker
    int ownPotted = 0;   // own balls pocketed (any coloured ball on an open table)
    int groupAfter = desk::kOpenTable;
    bool keepsTurn = false;
};

// `before` are the statuses at the strike, `group` the shooter's group then.
// On an open table hitting the black first is counted as a foul: the rules
// allow it nowhere and the brain never wants it.
Forecast forecastShot(const desk::BallStatuses& before, int group, bool isBreak,
                      const desk::ShotOutcome& outcome);

} // namespace bot

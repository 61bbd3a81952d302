#pragma once
// A plain shot picker for the bot: ghost-ball aims at every legal ball into
// every pocket at a few powers, each checked by simulating it with the
// desk's core from the table's position; the best by a simple score is
// played, with aim noise by level. It plays legal eight-ball and sinks balls
// without any deeper planning.

#include "desk/physics/ShotEngine.h"
#include "tools/referee/ShotReplay.h"

#include <cstdint>
#include <random>
#include <utility>

namespace bot {

class CSimpleShooter {
public:
    // level 1 (weakest) … 5 (no aim noise).
    CSimpleShooter(int level, uint32_t seed);

    desk::Strike ChooseBreak(const referee::CTablePosition& position);
    desk::Strike ChooseShot(const referee::CTablePosition& position, int myGroup);
    // A legal spot for the cue ball in hand, in interface units.
    std::pair<int32_t, int32_t> ChoosePlacement(const referee::CTablePosition& position);

    // How a simulated shot is rated for the shooter of `group`: pots of own
    // balls count, fouls and a lost black cost.
    static int Score(const desk::ShotOutcome& out, const desk::BallStatuses& before, int group);

private:
    desk::Strike withNoise(desk::Strike s);

    int m_nLevel;
    std::mt19937 m_rng;
    desk::CShotEngine m_engine;
};

// The interface angle of the direction (dx, dy), in (−2π, 0].
int32_t ArcTowards(double dx, double dy);

} // namespace bot

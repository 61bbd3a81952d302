#include "desk/control/TurnClock.h"

#include <gtest/gtest.h>
#include <vector>

namespace desk::control {
namespace {

using Tick = CTurnClock::Tick;

std::vector<int> secondsWhere(CTurnClock& clock, int ticks, Tick what) {
    std::vector<int> at;
    for (int i = 0; i < ticks; ++i)
        if (clock.tick() == what)
            at.push_back(clock.seconds());
    return at;
}

TEST(TurnClock, LocalTurnHurriesAtFifteenAndExpiresAtThirty) {
    CTurnClock clock;
    ASSERT_TRUE(clock.start(0));
    EXPECT_EQ(secondsWhere(clock, 14, Tick::Hurry), std::vector<int>{});
    EXPECT_EQ(clock.tick(), Tick::Hurry);
    for (int s = 16; s < 30; ++s)
        ASSERT_EQ(clock.tick(), Tick::Counted);
    EXPECT_EQ(clock.tick(), Tick::Expired);
    EXPECT_FALSE(clock.running());
    EXPECT_EQ(clock.seconds(), 30);
    EXPECT_EQ(clock.tick(), Tick::Counted); // a stopped clock does not count
    EXPECT_EQ(clock.seconds(), 30);
}

TEST(TurnClock, OtherPlayersClockRunsPastThirtyAndStopsAtEighty) {
    CTurnClock clock;
    ASSERT_TRUE(clock.start(1));
    EXPECT_EQ(secondsWhere(clock, 79, Tick::Expired), std::vector<int>{});
    EXPECT_EQ(clock.seconds(), 79);
    EXPECT_EQ(clock.tick(), Tick::Stopped);
    EXPECT_EQ(clock.seconds(), 80);
    EXPECT_FALSE(clock.running());
}

TEST(TurnClock, StartRestartsAndStopResets) {
    CTurnClock clock;
    clock.start(0);
    clock.tick();
    clock.start(1);
    EXPECT_EQ(clock.seconds(), 0);
    EXPECT_EQ(clock.turnLoc(), 1);
    clock.tick();
    clock.stop();
    EXPECT_EQ(clock.seconds(), 0);
    EXPECT_EQ(clock.turnLoc(), 1);
    EXPECT_FALSE(clock.running());
}

TEST(TurnClock, NoTurnForALocOutsideTheTwoSeats) {
    CTurnClock clock;
    clock.start(0);
    EXPECT_FALSE(clock.start(2));
    EXPECT_EQ(clock.turnLoc(), -1);
    EXPECT_FALSE(clock.running());
    EXPECT_FALSE(clock.start(-1));
}

} // namespace
} // namespace desk::control

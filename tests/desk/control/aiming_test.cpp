#include "desk/control/Aiming.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace desk::control {
namespace {

TEST(PointerAngle, QuartersOfTheScreenWithYDown) {
    struct Case {
        double dx, dy, phi;
    };
    const double pi = static_cast<double>(3.14159265358979f);
    for (const Case& c : {Case{10, 0, 0.0}, Case{0, 10, pi / 2}, Case{-10, 0, pi},
                          Case{0, -10, 4.71238911151886}}) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        EXPECT_NEAR(pointerAngle(c.dx, c.dy), c.phi, 1e-12);
    }
    // Diagonals land in their own quadrant.
    EXPECT_NEAR(pointerAngle(10, 10), pi / 4, 1e-6);
    EXPECT_NEAR(pointerAngle(-10, 10), 3 * pi / 4, 1e-6);
    EXPECT_NEAR(pointerAngle(-10, -10), 5 * pi / 4, 1e-6);
    EXPECT_NEAR(pointerAngle(10, -10), 7 * pi / 4, 1e-6);
}

TEST(PointerAngle, ArcsSentForThePointer) {
    // Straight above: −4 712 389, one millionth beyond what a double π gives.
    EXPECT_EQ(cueArcFor(pointerAngle(0, -50)), -4712389);
    EXPECT_EQ(cueArcFor(pointerAngle(50, 0)), 0);
    // Truncated towards zero, never rounded.
    EXPECT_EQ(cueArcFor(0.0000019), -1);
}

TEST(Charging, ASwingUpTakesTwentyTicksAndTurnsAtFullPower) {
    PowerState s;
    for (int tick = 1; tick < 20; ++tick) {
        chargeTick(s);
        ASSERT_EQ(s.power, tick * 100);
        ASSERT_TRUE(s.rising);
    }
    chargeTick(s);
    EXPECT_EQ(s.power, 2000);
    EXPECT_DOUBLE_EQ(s.pullBack, 6.0);
    EXPECT_FALSE(s.rising);
    chargeTick(s);
    EXPECT_EQ(s.power, 1900);
}

TEST(Charging, TheSwingStartsOverFromTheBallAtTheBottom) {
    PowerState s{110, 1.3, false};
    chargeTick(s); // 10: at or below the floor
    EXPECT_EQ(s.power, 0);
    EXPECT_DOUBLE_EQ(s.pullBack, 1.0);
    EXPECT_TRUE(s.rising);
}

TEST(Charging, PullBackAtItsLimitTurnsTheSwingEvenBelowFullPower) {
    PowerState s{500, 5.8, true};
    chargeTick(s);
    EXPECT_EQ(s.power, 2000);
    EXPECT_DOUBLE_EQ(s.pullBack, 6.0);
    EXPECT_FALSE(s.rising);
}

TEST(Charging, PowerBarClickSetsPowerAndPullBackDirectly) {
    PowerState s;
    powerBarClick(s, 70, 100); // 30 pixels above the bottom of a 100-pixel bar
    EXPECT_EQ(s.power, 600);
    EXPECT_DOUBLE_EQ(s.pullBack, 1.8);
    powerBarClick(s, 0, 100);
    EXPECT_EQ(s.power, 2000);
    powerBarClick(s, 10, 0); // no bar: nothing
    EXPECT_EQ(s.power, 2000);
}

TEST(Charging, AReleaseWithoutPowerSendsASoftShot) {
    EXPECT_EQ(releasePower(0), 100);
    EXPECT_EQ(releasePower(10), 100);
    EXPECT_EQ(releasePower(11), 11);
    EXPECT_EQ(releasePower(2000), 2000);
}

BallCentres farAway() {
    BallCentres balls;
    for (int i = 0; i < kObjectBallCount; ++i)
        balls[static_cast<std::size_t>(i)] = {100.0 + i * 10, 100.0};
    return balls;
}

TEST(AimingAid, NearestBallWithinRootSixIsTheTarget) {
    BallCentres balls = farAway();
    balls[3] = {0, 0};
    balls[9] = {1.5, 0};
    EXPECT_EQ(targetBallAt(balls, {1.0, 0}), 9);
    EXPECT_EQ(targetBallAt(balls, {0.2, 0}), 3);
    EXPECT_EQ(targetBallAt(balls, {0, 2.44}), 3);   // 5.95 < 6
    EXPECT_EQ(targetBallAt(balls, {0, -2.45}), -1); // 6.0025
}

TEST(AimingAid, ArrowRunsAwayFromThePointerAndHidesCloseToTheBall) {
    const WorldPoint ball{5, 5};
    const WorldPoint tip = arrowTip(ball, {2, 5});
    EXPECT_DOUBLE_EQ(tip.x, 55);
    EXPECT_DOUBLE_EQ(tip.y, 5);
    EXPECT_TRUE(arrowShownFor(ball, {3.8, 5}));
    EXPECT_FALSE(arrowShownFor(ball, {3.81, 5}));
}

TEST(AimLine, ShownWhenThePointerIsBeyondTheCueBall) {
    // The stick lies behind the ball, opposite to the direction of the shot.
    EXPECT_TRUE(aimLineReachesPointer({0, 0}, 0, 1.0, {5, 0}));
    EXPECT_FALSE(aimLineReachesPointer({0, 0}, 0, 1.0, {-5, 0}));
}

} // namespace
} // namespace desk::control

// The local player's mouse on a desk made by the registry: aiming and its
// reports, the spin selector, the power bar, charging, placing the cue ball
// by hand, the start button and the turn clock.
#include "DeskHost.h"
#include "desk/model/Units.h"
#include "desk/model/ViewGeometry.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace desk::test {
namespace {

using control::DeskScene;
using sound::Effect;

// The cue ball at the window centre, one object ball on the table.
class DeskInputTest : public DeskFixture {
protected:
    static constexpr int kCueX = 400;
    static constexpr int kCueY = 300;

    void aim(int16_t status = DeskStatus::Aiming) {
        rack(0, status, tableWith(0, 0, {{4, 10, 5}}));
        desk.StartChoice(0);
        host.sink.clear();
    }
    void placing(std::initializer_list<BallAt> on = {}) {
        rack(0, DeskStatus::Aiming, tableWith(10, 10, on));
        desk.EndCrashWithStatus(0, 1, 16, tableWith(10, 10, on), 1, DeskStatus::BallInHand);
        host.sink.clear();
    }
    WorldPoint worldAt(int px, int py) const { return CViewGeometry().screenToWorld(px, py); }
    void charge(int ms) {
        host.press(kCueX, 100);
        timers.advance(ms);
    }
};

TEST_F(DeskInputTest, PointerStraightAboveTheCueBallReportsTheTurn) {
    ASSERT_EQ(CViewGeometry().worldToScreen(0, 0).x, 400.0);
    aim(DeskStatus::BreakAiming);
    host.move(kCueX, 100);
    ASSERT_EQ(host.sink.names(), std::vector<std::string>{"Turn_OnStart"});
    EXPECT_EQ(host.sink.events[0].args, std::vector<int64_t>{-4712389});
    const DeskScene s = scene();
    EXPECT_TRUE(s.cue.shown);
    EXPECT_FLOAT_EQ(static_cast<float>(s.cue.angle), -4.712389f);
    EXPECT_TRUE(s.aimLine.shown);
    EXPECT_NEAR(s.aimLine.to.y, worldAt(kCueX, 100).y, 1e-9);
}

TEST_F(DeskInputTest, TheOtherDesksHearOfTheCueOnlyPastThirtyDegrees) {
    aim();
    auto at = [](double degrees) {
        const double a = degrees * std::numbers::pi / 180;
        return QPoint(kCueX + static_cast<int>(std::lround(200 * std::cos(a))),
                      kCueY + static_cast<int>(std::lround(200 * std::sin(a))));
    };
    host.move(at(0).x(), at(0).y());
    host.move(at(29).x(), at(29).y());
    EXPECT_EQ(host.sink.count("Turn_OnPlay"), 0);
    host.move(at(31).x(), at(31).y());
    ASSERT_EQ(host.sink.names(), std::vector<std::string>{"Turn_OnPlay"});
    const double reported = -std::atan2(at(31).y() - 300.0, at(31).x() - 400.0) * 1e6;
    EXPECT_NEAR(static_cast<double>(host.sink.events[0].args[0]), reported, 2);
    // Measured from the last report now: 31° → 59° is 28°.
    host.move(at(59).x(), at(59).y());
    EXPECT_EQ(host.sink.count("Turn_OnPlay"), 1);
    host.move(at(62).x(), at(62).y());
    EXPECT_EQ(host.sink.count("Turn_OnPlay"), 2);
}

TEST_F(DeskInputTest, AimingAidMarksTheBallUnderThePointer) {
    aim();
    desk.SetMyColor(1); // ball 4 (the 5) is not ours
    const QPoint near = host.pixelAt(10 - 1.5, 5);
    host.move(near.x(), near.y());
    DeskScene s = scene();
    EXPECT_EQ(s.targetBall, 4);
    EXPECT_FALSE(s.targetLegal);
    EXPECT_TRUE(s.arrow.shown);
    EXPECT_NEAR(s.arrow.ball.x, 10, 1e-5);
    EXPECT_GT(s.arrow.tip.x, 55); // 50 beyond the ball, away from the pointer
    const QPoint onIt = host.pixelAt(10, 5);
    host.move(onIt.x(), onIt.y());
    EXPECT_FALSE(scene().arrow.shown);
    host.move(kCueX, 100);
    EXPECT_EQ(scene().targetBall, -1);
}

TEST_F(DeskInputTest, NoInputOnAWatchingDeskOrForTheOtherTurn) {
    aim();
    desk.StartChoice(1);
    host.move(kCueX, 100);
    charge(500);
    host.release(kCueX, 100);
    EXPECT_TRUE(host.sink.events.empty());

    desk.StartChoice(0);
    desk.SetWatchStyle(1);
    host.move(kCueX, 100);
    charge(500);
    host.release(kCueX, 100);
    desk.SetStatus(DeskStatus::BeforeGame);
    host.press(420, 260);
    EXPECT_TRUE(host.sink.events.empty());
}

TEST_F(DeskInputTest, NoInputStatusStopsTheMouseWithoutHidingAnything) {
    aim();
    const DeskScene before = scene();
    desk.SetStatus(DeskStatus::NoInput);
    host.move(kCueX, 100);
    charge(1000);
    host.release(kCueX, 100);
    host.press(700, 500); // the spin selector too
    EXPECT_TRUE(host.sink.events.empty());
    const DeskScene after = scene();
    EXPECT_TRUE(after.cue.shown);
    EXPECT_EQ(after.aimLine.shown, before.aimLine.shown);
    EXPECT_EQ(after.cue.angle, before.cue.angle);
    EXPECT_EQ(after.power, 0);
}

TEST_F(DeskInputTest, SpinSelectorSetsTheTipOffsetSentWithTheShot) {
    aim();
    host.press(730, 495 + 23);
    host.release(730, 495 + 23);
    EXPECT_EQ(scene().spinMark, (control::PixelPoint{726, 514}));
    EXPECT_TRUE(host.sink.events.empty());
    charge(0);
    host.release(kCueX, 100);
    ASSERT_NE(host.sink.last("Begin_OnPlay"), nullptr);
    EXPECT_EQ(host.sink.last("Begin_OnPlay")->args[4], -75000);
}

TEST_F(DeskInputTest, ReleaseOverTheSpinSelectorKeepsCharging) {
    aim();
    charge(150);
    host.move(710, 510);
    host.release(710, 510);
    EXPECT_EQ(host.sink.count("StartCrash"), 0);
    timers.advance(100);
    EXPECT_EQ(scene().power, 500);
    host.move(kCueX, 100);
    host.release(kCueX, 100);
    EXPECT_EQ(host.sink.last("Begin_OnPlay")->args[1], 500);
}

TEST_F(DeskInputTest, PowerBarClickSetsThePowerWithoutAShot) {
    aim();
    host.press(30, 584 - 30);
    host.release(30, 584 - 30);
    timers.advance(1000);
    const DeskScene s = scene();
    EXPECT_EQ(s.power, 600);
    EXPECT_DOUBLE_EQ(s.cue.pullBack, 1.8);
    EXPECT_TRUE(host.sink.events.empty());
    EXPECT_FALSE(host.site->IsShotRunning());
}

TEST_F(DeskInputTest, ChargingSwingsThePowerEveryFiftyMilliseconds) {
    aim();
    charge(350);
    EXPECT_EQ(scene().power, 700);
    EXPECT_NEAR(scene().cue.pullBack, 2.1, 1e-9);
    timers.advance(1100 - 350); // up to 2000 in 20 ticks, then down
    EXPECT_EQ(scene().power, 1800);
}

TEST_F(DeskInputTest, AReleaseWithoutPowerStillShoots) {
    aim();
    host.move(kCueX, 100);
    host.sink.clear();
    charge(0);
    host.release(kCueX, 100);
    EXPECT_EQ(host.sink.names(), (std::vector<std::string>{"StartCrash", "Begin_OnPlay"}));
    EXPECT_EQ(host.sink.last("Begin_OnPlay")->args, (std::vector<int64_t>{-4712389, 100, 0, 0, 0}));
    EXPECT_EQ(scene().status, DeskStatus::InFlight);
    host.waitForShot();
}

TEST_F(DeskInputTest, LButtonUpReleasesOnlyACharge) {
    aim();
    desk.LButtonUp();
    EXPECT_TRUE(host.sink.events.empty());
    charge(100);
    desk.LButtonUp();
    EXPECT_EQ(host.sink.names(), (std::vector<std::string>{"StartCrash", "Begin_OnPlay"}));
    EXPECT_EQ(host.sink.last("Begin_OnPlay")->args[1], 200);
    host.waitForShot();
}

TEST_F(DeskInputTest, GiveUpWhileChargingStopsThePowerSwing) {
    aim();
    charge(200);
    desk.Guo_InPlay(1, 0, 1); // the turn comes back to us, the button still down
    timers.advance(500);
    EXPECT_EQ(scene().power, 0);
    host.release(kCueX, 100);
    EXPECT_EQ(host.sink.last("Begin_OnPlay")->args[1], 100);
    host.waitForShot();
}

TEST_F(DeskInputTest, StartButtonAgreesToStart) {
    desk.StartGame();
    host.press(399, 260);
    EXPECT_TRUE(host.sink.events.empty());
    host.press(464, 282);
    EXPECT_EQ(host.sink.names(), std::vector<std::string>{"AgreeStart"});
    aim();
    host.press(420, 260); // while aiming it is just a click that charges
    EXPECT_EQ(host.sink.count("AgreeStart"), 0);
}

TEST_F(DeskInputTest, BallInHandDragsTheCueBallAndReportsEveryTwentyPixels) {
    placing();
    EXPECT_EQ(scene().banner.text, gbk("请Ann开始摆放白球"));
    host.move(100, 300);
    ASSERT_EQ(host.sink.names(), std::vector<std::string>{"Moving"});
    const WorldPoint p = worldAt(100, 300);
    EXPECT_EQ(host.sink.events[0].args,
              (std::vector<int64_t>{toInterface(p.x), toInterface(p.y), 0}));
    DeskScene s = scene();
    EXPECT_TRUE(s.balls[kCueBall].shown);
    EXPECT_TRUE(s.balls[kCueBall].placedByHand);
    EXPECT_NEAR(s.balls[kCueBall].position.x, p.x, 1e-9);
    EXPECT_TRUE(s.cue.shown);
    host.move(120, 320); // 20 each way: not more than 20
    EXPECT_EQ(host.sink.count("Moving"), 1);
    host.move(100, 321);
    EXPECT_EQ(host.sink.count("Moving"), 2);

    host.press(150, 300);
    ASSERT_EQ(host.sink.names().back(), "Moved");
    const WorldPoint q = worldAt(150, 300);
    EXPECT_EQ(host.sink.events.back().args,
              (std::vector<int64_t>{toInterface(q.x), toInterface(q.y), 0}));
    EXPECT_EQ(scene().status, DeskStatus::NoInput);
    host.move(60, 300);
    host.press(120, 300);
    EXPECT_EQ(host.sink.count("Moved"), 1);
}

TEST_F(DeskInputTest, PlacementKeepsTwoRadiiFromTheObjectBalls) {
    const WorldPoint p = worldAt(120, 300);
    // The nearest record values at 1.9 and at no less than 2.0 to the right.
    // Where a ball ends up once its record has been read.
    auto placed = [](int32_t v) { return fromInterface(toInterface(fromInterface(v))); };
    const int32_t at19 = toInterface(p.x + 1.9);
    int32_t at20 = toInterface(p.x + 2.0);
    while (placed(at20) - p.x < 2.0)
        ++at20;
    ASSERT_LT(placed(at20) - p.x, 2.00001);
    placing({{3, fromInterface(at19), p.y}});
    host.move(120, 300);
    EXPECT_EQ(host.frames->pointerPictures.back(), 2);
    host.press(120, 300);
    EXPECT_EQ(host.sink.count("Moved"), 0);

    placing({{3, fromInterface(at20), p.y}});
    host.move(121, 300);
    host.move(120, 300);
    EXPECT_EQ(host.frames->pointerPictures.back(), 1);
    host.press(120, 300);
    EXPECT_EQ(host.sink.count("Moved"), 1);
}

TEST_F(DeskInputTest, PlacementStopsShortOfTheHeadString) {
    placing();
    host.move(191, 300);
    EXPECT_EQ(host.frames->pointerPictures.back(), 2);
    host.press(191, 300);
    EXPECT_EQ(host.sink.count("Moved"), 0);
    host.press(190, 300);
    EXPECT_EQ(host.sink.count("Moved"), 1);
}

TEST_F(DeskInputTest, PointerPictureFollowsWhatAClickWouldDo) {
    desk.StartGame();
    host.move(300, 300);
    aim();
    host.move(300, 301);
    host.move(710, 510); // over the spin selector
    host.move(300, 300);
    desk.SetWatchStyle(1);
    host.move(301, 300);
    EXPECT_EQ(host.frames->pointerPictures, (std::vector<int>{0, 1, 0, 1, 0}));
}

TEST_F(DeskInputTest, LocalTurnHurriesThenGivesUpTheShot) {
    aim();
    timers.advance(14000);
    EXPECT_TRUE(host.sounds->Played().empty());
    timers.advance(1000);
    EXPECT_EQ(host.sounds->Played(), std::vector<Effect>{Effect::Hurry});
    EXPECT_EQ(scene().clockSeconds, 15);
    timers.advance(14000);
    EXPECT_TRUE(host.sink.events.empty());
    timers.advance(1000);
    EXPECT_EQ(host.sink.names(), std::vector<std::string>{"Guo"});
    timers.advance(60000);
    EXPECT_EQ(host.sink.count("Guo"), 1);
    EXPECT_EQ(scene().clockSeconds, 30);
}

// The host may close the table in answer to the time-out.
TEST_F(DeskInputTest, TheDeskMayGoAwayWithItsTimeOut) {
    aim();
    host.sink.onEvent = [this](const FiredEvent& e) {
        if (e.name == "Guo")
            host.widget.reset();
    };
    timers.advance(40000);
    EXPECT_FALSE(host.widget);
    EXPECT_EQ(host.sink.names(), std::vector<std::string>{"Guo"});
    EXPECT_EQ(timers.activeCount(), 0);
}

TEST_F(DeskInputTest, LocalTurnWithBallInHandTimesOutAsMoving) {
    placing();
    timers.advance(30000);
    EXPECT_EQ(host.sink.names(), std::vector<std::string>{"Guo_Moving"});
}

TEST_F(DeskInputTest, TheOtherPlayersClockRunsSilentlyAndStopsAtEighty) {
    aim();
    desk.StartChoice(1);
    timers.advance(79000);
    EXPECT_EQ(scene().clockSeconds, 79);
    timers.advance(1000);
    EXPECT_EQ(scene().clockSeconds, 80);
    timers.advance(60000);
    EXPECT_EQ(scene().clockSeconds, 80);
    EXPECT_TRUE(host.sink.events.empty());
    EXPECT_TRUE(host.sounds->Played().empty());
}

TEST_F(DeskInputTest, ExitChoiceStopsTheClock) {
    aim();
    timers.advance(5000);
    desk.ExitChoice();
    EXPECT_EQ(scene().clockSeconds, 0);
    timers.advance(40000);
    EXPECT_TRUE(host.sink.events.empty());
}

// The same input on a smaller window lands in the same design places.
TEST(DeskInputSmallWindow, RegionsScaleWithTheWindow) {
    platform::CManualTimerDriver timers;
    CDeskHost host(624, 468);
    IDesk& desk = *host.desk;
    desk.SetStatus(DeskStatus::Aiming);
    desk.StartOneHand(0, 16, tableWith(0, 0));
    desk.StartChoice(0);
    // 30 design pixels above the bottom of the bar: 584 × 468 / 600 = 455, 23 up.
    host.press(20, 455 - 23);
    EXPECT_EQ(host.scene().power, 23 * 2000 / 78);
    host.press(312, 195); // the start button's corner, but aiming: charges from there
    timers.advance(100);
    EXPECT_EQ(host.scene().power, 23 * 2000 / 78 + 200);
}

} // namespace
} // namespace desk::test

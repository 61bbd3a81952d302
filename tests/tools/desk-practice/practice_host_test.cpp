// The practice table's host answering a desk made by the Bexlo plugin, as a
// player meets it: the start button racks, each shot's own result becomes
// the position, a pocketed cue ball gives ball in hand, a cleared table is
// racked again and a time-out hands the turn back.

#include "tools/desk-practice/PracticeHost.h"

#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"
#include "tests/desk/control/DeskHost.h"

#include <QCoreApplication>
#include <cstring>

namespace practice {
namespace {

using desk::DeskStatus::Aiming;
using desk::DeskStatus::BallInHand;
using desk::DeskStatus::BeforeGame;
using desk::DeskStatus::BreakAiming;
using desk::test::BallAt;
using desk::test::tableWith;

constexpr uint32_t kSeed = 3;

CPracticeHost::Settings settings() {
    CPracticeHost::Settings s;
    s.resourceDir = "/nowhere/res";
    s.seed = kSeed;
    s.name = "Ann";
    s.sound = false;
    return s;
}

class PracticeHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(host.desk, nullptr);
        m_practice = std::make_unique<CPracticeHost>(*host.desk, settings());
        m_practice->Start();
    }
    // The host answers from the event loop, as a server's answer arrives.
    void settle() { QCoreApplication::processEvents(); }
    void startGame() {
        host.press(420, 260);
        host.release(420, 260);
        settle();
    }
    CPracticeHost& practice() { return *m_practice; }
    desk::control::DeskScene scene() const { return host.scene(); }

    platform::CManualTimerDriver timers;
    platform::CScopedMessageBoxHook boxes;
    desk::test::CDeskHost host{800, 600, false};
    std::unique_ptr<CPracticeHost> m_practice;
};

TEST_F(PracticeHostTest, TheStartButtonRacksForABreak) {
    EXPECT_EQ(scene().status, BeforeGame);
    EXPECT_EQ(scene().players[0].name, "Ann");
    startGame();
    const auto s = scene();
    EXPECT_EQ(s.status, BreakAiming);
    EXPECT_EQ(s.turnLoc, 0);
    EXPECT_TRUE(s.players[0].ready);
    EXPECT_EQ(practice().Racks(), 1);
    const desk::SphereRecords rack = desk::standardRack(kSeed);
    for (int i = 0; i < desk::kBallCount; ++i) {
        SCOPED_TRACE(i);
        const auto k = static_cast<std::size_t>(i);
        EXPECT_TRUE(s.balls[k].shown);
        EXPECT_NEAR(s.balls[k].position.x, desk::fromInterface(rack[k].m_nX), 1e-5);
        EXPECT_NEAR(s.balls[k].position.y, desk::fromInterface(rack[k].m_nY), 1e-5);
    }
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(PracticeHostTest, AShotIsPlacedFromTheShootersOwnResult) {
    startGame();
    const desk::BallPosition foot = desk::footSpot();
    const QPoint apex = host.pixelAt(foot.x, foot.y);
    host.move(apex.x(), apex.y());
    host.press(apex.x(), apex.y());
    timers.advance(800);
    host.release(apex.x(), apex.y());
    host.waitForShot();
    const desk::test::FiredEvent* end = host.sink.last("End_OnStart");
    ASSERT_NE(end, nullptr);
    settle();

    EXPECT_EQ(practice().Shots(), 1);
    const auto s = scene();
    const bool cueBallDown = end->records[desk::kCueBall].m_nStatus != desk::kOnTable;
    EXPECT_EQ(s.status, cueBallDown ? BallInHand : Aiming);
    for (int i = 0; i < desk::kBallCount; ++i) {
        SCOPED_TRACE(i);
        const auto k = static_cast<std::size_t>(i);
        if (end->records[k].m_nStatus != desk::kOnTable)
            continue;
        EXPECT_NEAR(s.balls[k].position.x, desk::fromInterface(end->records[k].m_nX), 1e-5);
        EXPECT_NEAR(s.balls[k].position.y, desk::fromInterface(end->records[k].m_nY), 1e-5);
    }
    EXPECT_EQ(s.turnLoc, 0);
}

TEST_F(PracticeHostTest, APocketedCueBallGivesBallInHand) {
    startGame();
    const desk::SphereRecords after =
        tableWith(-10, 0, {{3, 5, 5}, {9, 12, -2}}, desk::kPocketedThisShot);
    practice().End_OnPlay(16, after, JudgeRecord{});
    settle();
    EXPECT_EQ(scene().status, BallInHand);
    EXPECT_FALSE(scene().balls[desk::kCueBall].shown);

    // The player puts the ball down behind the head string.
    host.move(140, 250);
    host.move(150, 240);
    host.press(150, 240);
    host.release(150, 240);
    settle();
    const auto s = scene();
    EXPECT_EQ(s.status, Aiming);
    EXPECT_TRUE(s.balls[desk::kCueBall].shown);
    const desk::WorldPoint placed = desk::CViewGeometry(800, 600).screenToWorld(150, 240);
    EXPECT_NEAR(s.balls[desk::kCueBall].position.x, placed.x, 1e-5);
    EXPECT_NEAR(s.balls[desk::kCueBall].position.y, placed.y, 1e-5);
    EXPECT_TRUE(s.cue.shown);
}

TEST_F(PracticeHostTest, AClearedTableIsRackedAgain) {
    startGame();
    EXPECT_FALSE(tableCleared(desk::standardRack(kSeed)));
    const desk::SphereRecords cleared = tableWith(-10, 0);
    ASSERT_TRUE(tableCleared(cleared));
    practice().End_OnPlay(16, cleared, JudgeRecord{});
    settle();
    const auto s = scene();
    EXPECT_EQ(practice().Racks(), 2);
    EXPECT_EQ(practice().Pocketed(), 15);
    EXPECT_EQ(s.players[0].score, 15);
    EXPECT_EQ(s.status, BreakAiming);
    for (int i = 0; i < desk::kBallCount; ++i)
        EXPECT_TRUE(s.balls[static_cast<std::size_t>(i)].shown) << i;
    // The next rack is another shuffle.
    const desk::SphereRecords first = desk::standardRack(kSeed);
    const desk::SphereRecords second = desk::standardRack(kSeed + 1);
    EXPECT_NE(std::memcmp(first.data(), second.data(), sizeof first), 0);
    for (int i = 0; i < desk::kObjectBallCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        EXPECT_NEAR(s.balls[k].position.x, desk::fromInterface(second[k].m_nX), 1e-5) << i;
    }
}

TEST_F(PracticeHostTest, ATimeOutHandsTheTurnBack) {
    startGame();
    timers.advance(30000);
    ASSERT_EQ(host.sink.count("Guo"), 1);
    settle();
    const auto s = scene();
    EXPECT_EQ(s.turnLoc, 0);
    EXPECT_EQ(s.clockSeconds, 0);
    EXPECT_EQ(s.status, BreakAiming);
    EXPECT_TRUE(s.banner.shown);
}

// Records handed over with fewer than sixteen balls are not a position.
TEST_F(PracticeHostTest, AShortResultIsIgnored) {
    startGame();
    const desk::SphereRecords after = tableWith(-10, 0, {{3, 5, 5}});
    practice().End_OnPlay(3, desk::SphereRecordSpan(after.data(), 3), JudgeRecord{});
    settle();
    EXPECT_EQ(practice().Shots(), 0);
    EXPECT_EQ(scene().status, BreakAiming);
}

} // namespace
} // namespace practice

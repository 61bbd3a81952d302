// The IDesk methods through a control made by the registry: what each one
// shows, whose turn it gives, and what it refuses.
#include "DeskHost.h"
#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/text/Gbk.h"
#include "platform/timers/WindowTimers.h"

#include <QImage>
#include <gtest/gtest.h>

namespace desk::test {
namespace {

using control::DeskScene;
using sound::Effect;

using DeskMethodsTest = DeskFixture;

void expectStartOrientation(const Rotation& r) {
    for (std::size_t k = 0; k < r.size(); ++k)
        EXPECT_NEAR(r[k], startOrientation()[k], 1e-6) << k;
}

TEST(DeskTableSize, ZeroBeforeInitTableThenTheSizeGiven) {
    platform::CManualTimerDriver timers;
    CDeskHost host(800, 600, false);
    int16_t w = -1;
    int16_t h = -1;
    host.desk->GetTableSize(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    host.desk->InitTable(nullptr, 0, 624, 468, 0);
    host.desk->GetTableSize(&w, &h);
    EXPECT_EQ(w, 624);
    EXPECT_EQ(h, 468);
    host.desk->GetTableSize(nullptr, nullptr);
    EXPECT_EQ(host.frames->width, 624);
    EXPECT_TRUE(host.frames->resourceDir.empty()); // no directory was set
}

// Only GetTableSize and SetSubtype are meant for a desk without a table, but
// a host calling anything else too early must not bring the program down.
TEST(DeskTableSize, EveryMethodBeforeInitTableIsHarmless) {
    platform::CManualTimerDriver timers;
    platform::CScopedMessageBoxHook boxes;
    CDeskHost host(800, 600, false);
    IDesk& d = *host.desk;
    const SphereRecords recs = standardRack(1);
    const CScoreListItem items[2]{};
    PersonInfo info{"Ann", 1, 1};
    d.CrashLoop();
    d.StartDeal(0);
    d.StartGame();
    d.StartOneHand(0, 16, recs);
    d.SetStatus(3);
    d.TurnCue(0, 1000);
    d.StartCrash(1, 0, 500, 0, 0, 0);
    d.EndCrash(0, 1, 16, recs, 0);
    d.EndCrashWithStatus(0, 1, 16, recs, 0, 3);
    d.SetMyColor(1);
    d.BallMoving(0, 0, 0, 0);
    d.BallMoved(0, 0, 0, 0);
    d.Guo_InPlay(0, 1, 1);
    d.Guo_InMoving(0, 1, 1);
    d.SetScoreItem(0, 2, items);
    d.StartChoice(0);
    d.SetChance(0, 2);
    d.ExitChoice();
    d.SetPersonInfo(0, &info);
    d.SetScore(0, 1, 1, 2);
    d.LButtonUp();
    d.StartOneHandInRecover(0, 16, recs);
    host.press(500, 300);
    host.move(510, 300);
    host.release(510, 300);
    timers.advance(60000);
    EXPECT_EQ(host.frames->frames, 0);
    EXPECT_EQ(host.sink.count("Begin_OnPlay"), 0);
    int16_t w = -1;
    d.GetTableSize(&w, nullptr);
    EXPECT_EQ(w, 0);
}

TEST_F(DeskMethodsTest, StartGameClearsTheTableForTheStartButton) {
    rack(0);
    desk.SetMyColor(0);
    desk.StartDeal(0);
    desk.StartDeal(1);
    const int before = host.frames->frames;
    desk.StartGame();
    const DeskScene s = scene();
    EXPECT_EQ(host.frames->frames, before + 1);
    EXPECT_EQ(s.status, DeskStatus::BeforeGame);
    for (const auto& ball : s.balls)
        EXPECT_FALSE(ball.shown);
    EXPECT_FALSE(s.cue.shown);
    EXPECT_EQ(s.myGroup, -1);
    EXPECT_FALSE(s.players[0].ready);
    EXPECT_FALSE(s.players[1].ready);
}

TEST_F(DeskMethodsTest, StartDealMarksOneSeatReady) {
    desk.StartDeal(1);
    EXPECT_TRUE(scene().players[1].ready);
    EXPECT_FALSE(scene().players[0].ready);
    const int before = host.frames->frames;
    desk.StartDeal(2);
    desk.StartDeal(-1);
    EXPECT_EQ(host.frames->frames, before);
}

TEST_F(DeskMethodsTest, StartOneHandDealsTheRackToTheBreaker) {
    const SphereRecords records = standardRack(3);
    rack(0, DeskStatus::BreakAiming, records);
    const DeskScene s = scene();
    for (int i = 0; i < kBallCount; ++i) {
        SCOPED_TRACE(i);
        const auto& ball = s.balls[static_cast<std::size_t>(i)];
        EXPECT_TRUE(ball.shown);
        EXPECT_FLOAT_EQ(static_cast<float>(ball.position.x),
                        fromInterface(records[static_cast<std::size_t>(i)].m_nX));
        expectStartOrientation(ball.rotation);
    }
    EXPECT_EQ(s.players[0].chances, 1);
    EXPECT_EQ(s.players[1].chances, 0);
    EXPECT_TRUE(s.banner.shown);
    EXPECT_EQ(s.banner.text, gbk("请Ann开始击球"));
    EXPECT_TRUE(s.cue.shown);
    EXPECT_EQ(s.cue.ballPoint, s.balls[kCueBall].position);
    EXPECT_TRUE(s.aimLine.shown);
    EXPECT_TRUE(s.arrow.shown);
    // The clock waits for StartChoice.
    EXPECT_EQ(s.turnLoc, -1);
    EXPECT_EQ(timers.activeCount(), 1); // the banner's
}

TEST_F(DeskMethodsTest, StartOneHandForTheOtherSeatOrWithBallInHand) {
    rack(1);
    EXPECT_FALSE(scene().aimLine.shown);
    EXPECT_EQ(scene().players[1].chances, 1);
    EXPECT_EQ(scene().players[0].chances, 0);
    rack(1, DeskStatus::BallInHand);
    EXPECT_EQ(scene().banner.text, gbk("请Bob开始摆放白球"));
    // A cue ball pocketed in the last shot is not drawn.
    rack(0, DeskStatus::Aiming, tableWith(0, 0, {}, kPocketedThisShot));
    EXPECT_FALSE(scene().balls[kCueBall].shown);
}

TEST_F(DeskMethodsTest, RecoveredRackKeepsChancesAndTakesTheStartOrientation) {
    SphereRecords records = standardRack(5);
    records[4].rotation[0] = 0; // whatever was sent, the start orientation is taken
    desk.SetChance(0, 3);
    desk.StartOneHandInRecover(0, 16, records);
    EXPECT_EQ(scene().players[0].chances, 3);
    expectStartOrientation(scene().balls[4].rotation);
}

TEST_F(DeskMethodsTest, ScoreListGoesAwayWithTheFrameAfterTheNextRack) {
    CScoreListItem items[2]{};
    std::snprintf(items[0].m_szNickname, sizeof items[0].m_szNickname, "Ann");
    items[0].m_nGameScore = 1;
    items[1].m_nWins = 7;
    desk.SetScoreItem(0, 2, items);
    ASSERT_TRUE(scene().scoreList.shown);
    rack(0);
    EXPECT_TRUE(host.frames->last.scoreList.shown); // the rack's own frame still has it
    EXPECT_FALSE(scene().scoreList.shown);
}

TEST_F(DeskMethodsTest, SetScoreItemEndsTheGame) {
    rack(0);
    CScoreListItem items[2]{};
    std::snprintf(items[0].m_szNickname, sizeof items[0].m_szNickname, "Ann");
    items[0].m_nTotalScore = 12;
    std::memset(items[1].m_szNickname, 'x', sizeof items[1].m_szNickname); // no terminator
    desk.SetScoreItem(1, 2, items);
    const DeskScene s = scene();
    EXPECT_TRUE(s.scoreList.shown);
    ASSERT_EQ(s.scoreList.rowCount, 2);
    EXPECT_STREQ(s.scoreList.rows[0].m_szNickname, "Ann");
    EXPECT_EQ(s.scoreList.rows[0].m_nTotalScore, 12);
    EXPECT_EQ(std::string(s.scoreList.rows[1].m_szNickname), std::string(31, 'x'));
    EXPECT_EQ(s.players[1].score, 6);
    EXPECT_EQ(s.players[0].score, 3);
    EXPECT_EQ(host.sounds->Played(), std::vector<Effect>{Effect::GameOver});
    for (const auto& ball : s.balls) {
        EXPECT_TRUE(ball.shown);
        EXPECT_EQ(ball.position, (Vec3{0, 0, kBallRadius}));
    }
}

// The list has two rows: more items than that, or fewer than announced,
// are never read past.
TEST_F(DeskMethodsTest, SetScoreItemCopiesOnlyWhatTheListHolds) {
    CScoreListItem items[3]{};
    items[2].m_nGameScore = 99;
    struct Case {
        int count;
        std::size_t given;
        int rows;
    };
    for (const Case& c :
         {Case{3, 3, 2}, Case{5, 2, 2}, Case{2, 1, 1}, Case{-1, 2, 0}, Case{2, 0, 0}}) {
        SCOPED_TRACE(c.count);
        desk.SetScoreItem(0, c.count, std::span<const CScoreListItem>(items, c.given));
        EXPECT_EQ(scene().scoreList.rowCount, c.rows);
        EXPECT_TRUE(scene().scoreList.shown);
    }
    desk.SetScoreItem(0, 2, std::span<const CScoreListItem>());
    EXPECT_EQ(scene().scoreList.rowCount, 0);
}

struct AfterShotCase {
    int16_t loc;
    int16_t status;
    int16_t cueStatus;
    bool cue;
    bool aids;
    const char* prompt;
};

TEST_F(DeskMethodsTest, EndCrashShowsTheVerdictToEachSide) {
    for (const AfterShotCase& c : {
             AfterShotCase{0, 3, kOnTable, true, true, "请Ann开始击球,获得2次机会"},
             AfterShotCase{0, 5, kOnTable, false, false, "请Ann开始摆放白球"},
             AfterShotCase{0, 3, kPocketedThisShot, false, false, "请Ann开始击球,获得2次机会"},
             AfterShotCase{1, 3, kOnTable, true, false, "请Bob开始击球,获得2次机会"},
             AfterShotCase{1, 5, kOnTable, false, false, "请Bob开始摆放白球"},
             AfterShotCase{1, 3, kPocketedThisShot, true, false, "请Bob开始击球,获得2次机会"},
         }) {
        SCOPED_TRACE(testing::Message() << c.loc << "/" << c.status << "/" << c.cueStatus);
        rack(0, DeskStatus::Aiming);
        const SphereRecords after = tableWith(3, 4, {{2, -5, 6}}, c.cueStatus);
        desk.EndCrashWithStatus(c.loc, 2, 16, after, 0, c.status);
        const DeskScene s = scene();
        EXPECT_EQ(s.status, c.status);
        EXPECT_EQ(s.cue.shown, c.cue);
        EXPECT_EQ(s.aimLine.shown, c.aids);
        EXPECT_EQ(s.arrow.shown, c.aids);
        EXPECT_EQ(s.balls[kCueBall].shown, c.cueStatus != kPocketedThisShot);
        EXPECT_EQ(s.balls[2].position.x, fromInterface(toInterface(-5)));
        EXPECT_EQ(s.banner.text, gbk(c.prompt));
        EXPECT_EQ(s.players[c.loc].chances, 2);
        EXPECT_EQ(s.players[1 - c.loc].chances, 0);
        EXPECT_EQ(s.turnLoc, c.loc);
        EXPECT_EQ(s.power, 0);
        EXPECT_EQ(s.spinMark, (control::PixelPoint{715, 516}));
    }
}

TEST_F(DeskMethodsTest, BallInHandWinsOverTheFoulPrompt) {
    rack(0, DeskStatus::Aiming);
    desk.EndCrashWithStatus(0, 2, 16, tableWith(3, 4), 1, DeskStatus::BallInHand);
    EXPECT_EQ(scene().banner.text, gbk("请Ann开始摆放白球"));
    EXPECT_FALSE(scene().cue.shown);
}

TEST_F(DeskMethodsTest, FoulPromptNamesTheOtherSeatAsTheFouler) {
    rack(0, DeskStatus::Aiming);
    desk.SetStatus(DeskStatus::Aiming);
    desk.EndCrash(1, 2, 16, tableWith(3, 4), 1);
    EXPECT_EQ(scene().banner.text, gbk("Ann犯规,Bob开始击球,获得2次机会"));
}

TEST_F(DeskMethodsTest, TransmittedOrientationsAreKeptAfterAShot) {
    rack(0, DeskStatus::Aiming);
    SphereRecords after = tableWith(3, 4, {{2, -5, 6}});
    const Rotation quarter{0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0};
    after[2] = makeSphereRecord(2, -5, 6, kOnTable, quarter);
    desk.EndCrashWithStatus(0, 1, 16, after, 0, DeskStatus::Aiming);
    const Rotation r = scene().balls[2].rotation;
    EXPECT_NEAR(r[1], -1, 1e-6);
    EXPECT_NEAR(r[4], 1, 1e-6);
}

// A record address that is null or too short for sixteen balls is refused:
// nothing is read and nothing changes.
TEST_F(DeskMethodsTest, ShortOrMissingBallArraysAreRefused) {
    rack(0, DeskStatus::Aiming);
    const DeskScene before = scene();
    const int frames = host.frames->frames;
    const SphereRecords other = tableWith(1, 1);
    const SphereRecordSpan shortArray(other.data(), 15);
    desk.StartOneHand(1, 16, shortArray);
    desk.StartOneHandInRecover(1, 16, SphereRecordSpan());
    desk.EndCrash(1, 2, 16, shortArray, 0);
    desk.EndCrashWithStatus(1, 2, 16, SphereRecordSpan(), 0, DeskStatus::BallInHand);
    const DeskScene after = scene();
    EXPECT_EQ(host.frames->frames, frames);
    EXPECT_EQ(after.status, before.status);
    EXPECT_EQ(after.balls[kCueBall].position, before.balls[kCueBall].position);
    EXPECT_EQ(after.players[1].chances, 0);
    EXPECT_EQ(after.banner.text, before.banner.text);
}

// Seats other than 0 and 1 exist on no desk: nothing outside the two player
// entries is ever written or read for them.
TEST_F(DeskMethodsTest, LocsOutsideTheTwoSeatsTouchNoPlayerEntry) {
    rack(0, DeskStatus::Aiming);
    const auto players = scene().players;
    PersonInfo eve{"Eve", 9, 9};
    for (int16_t loc : {int16_t(2), int16_t(-1), int16_t(32767), int16_t(-32768)}) {
        SCOPED_TRACE(loc);
        desk.SetPersonInfo(loc, &eve);
        desk.SetChance(loc, 4);
        desk.SetScore(loc, 8, loc, 8);
        desk.SetScoreItem(loc, 0, {});
        desk.Guo_InPlay(loc, loc, 3);
        desk.Guo_InMoving(loc, loc, 3);
        desk.StartOneHand(loc, 16, standardRack(2));
        desk.EndCrashWithStatus(loc, 2, 16, standardRack(2), 1, DeskStatus::Aiming);
        desk.BallMoved(loc, 0, 0, 0);
        const DeskScene s = scene();
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(s.players[i].name, players[i].name);
            EXPECT_EQ(s.players[i].score, players[i].score);
        }
        EXPECT_EQ(s.turnLoc, -1);
    }
    desk.SetPersonInfo(0, nullptr);
    EXPECT_EQ(scene().players[0].name, "Ann");
}

TEST_F(DeskMethodsTest, ATurnForAnUnknownSeatStopsTheClockAndSaysSo) {
    rack(0, DeskStatus::Aiming);
    desk.StartChoice(0);
    timers.advance(3000);
    desk.StartChoice(2);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QStringLiteral("loc=2"));
    EXPECT_EQ(scene().turnLoc, -1);
    EXPECT_EQ(scene().clockSeconds, 0);
    timers.advance(60000);
    EXPECT_EQ(host.sink.count("Guo"), 0);
    desk.EndCrash(-3, 1, 16, standardRack(1), 0);
    EXPECT_EQ(boxes.last().text, QStringLiteral("loc=-3"));
}

TEST_F(DeskMethodsTest, SetScoreKeepsSixteenBits) {
    desk.SetScore(0, 70000, 1, -2);
    EXPECT_EQ(scene().players[0].score, 4464);
    EXPECT_EQ(scene().players[1].score, -2);
}

TEST_F(DeskMethodsTest, SetMyColorTellsTheGroup) {
    desk.SetMyColor(1);
    EXPECT_EQ(scene().myGroup, 1);
    EXPECT_EQ(scene().banner.text, gbk("本局您的目标是花球"));
    desk.SetMyColor(0);
    EXPECT_EQ(scene().myGroup, 0);
    EXPECT_EQ(scene().banner.text, gbk("本局您的目标是单色球"));
}

TEST_F(DeskMethodsTest, TurnCueFollowsTheOtherPlayer) {
    rack(1, DeskStatus::Aiming);
    desk.TurnCue(1, -1570796);
    const DeskScene s = scene();
    EXPECT_TRUE(s.cue.shown);
    EXPECT_FLOAT_EQ(static_cast<float>(s.cue.angle), -1.570796f);
    EXPECT_EQ(s.cue.ballPoint, s.balls[kCueBall].position);
    EXPECT_FALSE(s.aimLine.shown);
    desk.TurnCue(0, 0);
    EXPECT_TRUE(scene().arrow.shown);
}

TEST_F(DeskMethodsTest, BallMovingThenBallMovedPlaceTheOtherPlayersCueBall) {
    rack(0, DeskStatus::Aiming);
    desk.SetStatus(DeskStatus::BallInHand);
    desk.EndCrash(1, 1, 16, tableWith(10, 4), 1);
    desk.BallMoving(1, -20000000, 3500000, 0);
    DeskScene s = scene();
    EXPECT_TRUE(s.balls[kCueBall].shown);
    EXPECT_TRUE(s.balls[kCueBall].placedByHand);
    EXPECT_FLOAT_EQ(static_cast<float>(s.balls[kCueBall].position.x), -20.0f);
    EXPECT_FALSE(s.cue.shown);
    EXPECT_FALSE(s.aimLine.shown);
    EXPECT_FALSE(s.arrow.shown);

    timers.advance(5000);
    desk.SetStatus(DeskStatus::Aiming);
    desk.BallMoved(1, -21000000, 3000000, 0);
    s = scene();
    EXPECT_FLOAT_EQ(static_cast<float>(s.balls[kCueBall].position.x), -21.0f);
    EXPECT_EQ(s.balls[kCueBall].status, kOnTable);
    EXPECT_TRUE(s.cue.shown);
    EXPECT_EQ(s.cue.ballPoint, s.balls[kCueBall].position);
    EXPECT_EQ(s.banner.text, gbk("请Bob开始击球,获得1次机会"));
    EXPECT_EQ(s.turnLoc, 1);
    EXPECT_EQ(s.clockSeconds, 0);
}

TEST_F(DeskMethodsTest, GiveUpAndTimeOutHandTheTurnOn) {
    rack(0, DeskStatus::Aiming);
    desk.StartChoice(0);
    desk.Guo_InPlay(0, 1, 2);
    DeskScene s = scene();
    EXPECT_EQ(s.banner.text, gbk("Ann放弃击球,Bob获得2次机会"));
    EXPECT_EQ(s.players[1].chances, 2);
    EXPECT_EQ(s.players[0].chances, 0);
    EXPECT_EQ(s.turnLoc, 1);
    EXPECT_FALSE(s.aimLine.shown);
    desk.Guo_InMoving(1, 0, 1);
    s = scene();
    EXPECT_EQ(s.banner.text, gbk("Bob超时,Ann获得1次机会"));
    EXPECT_EQ(s.turnLoc, 0);
    EXPECT_EQ(host.sounds->Played(), (std::vector<Effect>{Effect::GiveUp, Effect::GiveUp}));
}

TEST_F(DeskMethodsTest, StartChoiceWithBallInHandHidesTheCueBall) {
    rack(0, DeskStatus::BallInHand);
    desk.StartChoice(0);
    const DeskScene s = scene();
    EXPECT_FALSE(s.cue.shown);
    EXPECT_FALSE(s.aimLine.shown);
    EXPECT_FALSE(s.balls[kCueBall].shown);
    EXPECT_EQ(s.turnLoc, 0);
}

TEST_F(DeskMethodsTest, BannerHidesAfterFiveSecondsCountedFromTheLastPrompt) {
    rack(0);
    timers.advance(4000);
    desk.SetMyColor(0); // a new prompt restarts the five seconds
    timers.advance(4000);
    EXPECT_TRUE(scene().banner.shown);
    const int frames = host.frames->frames;
    timers.advance(1000);
    EXPECT_FALSE(scene().banner.shown);
    EXPECT_EQ(host.frames->frames, frames + 1);
}

TEST_F(DeskMethodsTest, SettingsReachTheScene) {
    EXPECT_EQ(host.frames->resourceDir, "/nowhere/res");
    desk.SetResourceDir(nullptr); // ignored
    desk.put_BackColor(0x123456);
    EXPECT_EQ(desk.get_BackColor(), 0x123456u);
    desk.SetSubtype(2);
    EXPECT_EQ(scene().subtype, 2);
    int frames = host.frames->frames;
    desk.SetDeskStyle(0);
    EXPECT_EQ(host.frames->frames, frames); // unchanged: no frame
    desk.SetDeskStyle(3);
    EXPECT_EQ(host.frames->frames, frames + 1);
    EXPECT_EQ(scene().deskStyle, 3);

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    desk.SetBkImage_InBitmap(20, 10, picture);
    EXPECT_EQ(scene().background.size(), QSize(20, 10));
    desk.SetBkImage_InBitmap(20, 10, QImage());
    EXPECT_TRUE(scene().background.isNull());

    desk.SetSound(0);
    EXPECT_FALSE(host.sounds->IsEnabled());
    desk.SetSound(2);
    EXPECT_FALSE(host.sounds->IsEnabled());
    desk.SetSound(1);
    EXPECT_TRUE(host.sounds->IsEnabled());
    EXPECT_EQ(host.sounds->LoadCount(), 1);
}

} // namespace
} // namespace desk::test

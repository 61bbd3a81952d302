// Shots on desks made by the registry: the release and its report, the same
// shot replayed on other desks, the worker's hand-overs to the UI thread,
// CrashLoop, and a desk that goes away while its shot runs.
#include "DeskHost.h"
#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <set>

namespace desk::test {
namespace {

using sound::Effect;

// ---- desk-sim, the reference for a shot ---------------------------------------------

struct SimShot {
    SphereRecords balls{};
    JudgeRecord judge{};
    std::vector<std::array<int32_t, 2 * kBallCount>> trace; // x, y of each ball per step
};

SimShot deskSim(uint32_t seed, int32_t arc, int32_t speed, int32_t tip, bool trace = false) {
    QStringList args{"--seed",  QString::number(seed),  "--arc", QString::number(arc),
                     "--speed", QString::number(speed), "--tip", QString::number(tip)};
    if (trace)
        args << "--trace";
    QProcess sim;
    sim.start(QStringLiteral(DESK_SIM), args);
    EXPECT_TRUE(sim.waitForFinished(60000));
    const QJsonObject out = QJsonDocument::fromJson(sim.readAllStandardOutput()).object();
    SimShot shot;
    const QJsonArray balls = out.value("balls").toArray();
    EXPECT_EQ(balls.size(), kBallCount);
    for (int i = 0; i < kBallCount && i < balls.size(); ++i) {
        const QJsonObject b = balls[i].toObject();
        SphereRecord& r = shot.balls[static_cast<std::size_t>(i)];
        r.index = static_cast<int16_t>(b.value("index").toInt());
        r.m_nX = b.value("x").toInt();
        r.m_nY = b.value("y").toInt();
        r.m_nZ = 1000000;
        r.m_nStatus = static_cast<int16_t>(b.value("status").toInt());
        const QJsonArray rot = b.value("rotation").toArray();
        for (int k = 0; k < 12 && k < rot.size(); ++k)
            r.rotation[k] = rot[k].toInt();
    }
    const QJsonObject j = out.value("judge").toObject();
    const QJsonArray gone = j.value("m_bGone").toArray();
    for (int i = 0; i < 15 && i < gone.size(); ++i)
        shot.judge.m_bGone[i] = static_cast<int16_t>(gone[i].toInt());
    auto field = [&](const char* name) { return static_cast<int16_t>(j.value(name).toInt()); };
    shot.judge.m_bWhiteGone = field("m_bWhiteGone");
    shot.judge.m_bOtherGone = field("m_bOtherGone");
    shot.judge.m_bIsTouch_Nothing = field("m_bIsTouch_Nothing");
    shot.judge.m_bIsTouch_Other = field("m_bIsTouch_Other");
    shot.judge.m_bIsTouch_No_Desk = field("m_bIsTouch_No_Desk");
    shot.judge.m_nFirst_Gone = field("m_nFirst_Gone");
    shot.judge.m_nNum_TouchDesk = field("m_nNum_TouchDesk");
    shot.judge.m_nFirst_Touch = field("m_nFirst_Touch");
    for (const QJsonValue& step : out.value("trace").toArray()) {
        std::array<int32_t, 2 * kBallCount> xy{};
        const QJsonArray points = step.toArray();
        for (int i = 0; i < kBallCount && i < points.size(); ++i) {
            xy[static_cast<std::size_t>(2 * i)] = points[i].toArray()[0].toInt();
            xy[static_cast<std::size_t>(2 * i + 1)] = points[i].toArray()[1].toInt();
        }
        shot.trace.push_back(xy);
    }
    return shot;
}

void expectSameBalls(const SphereRecords& actual, const SphereRecords& expected) {
    for (int i = 0; i < kBallCount; ++i) {
        SCOPED_TRACE(i);
        const SphereRecord& a = actual[static_cast<std::size_t>(i)];
        const SphereRecord& e = expected[static_cast<std::size_t>(i)];
        EXPECT_EQ(a.index, e.index);
        EXPECT_EQ(a.m_nX, e.m_nX);
        EXPECT_EQ(a.m_nY, e.m_nY);
        EXPECT_EQ(a.m_nZ, e.m_nZ);
        EXPECT_EQ(a.m_nStatus, e.m_nStatus);
        for (int k = 0; k < 12; ++k)
            EXPECT_EQ(a.rotation[k], e.rotation[k]) << "rotation " << k;
    }
}

void expectSameJudge(const JudgeRecord& a, const JudgeRecord& e) {
    EXPECT_EQ(0, std::memcmp(&a, &e, sizeof a));
}

std::vector<std::string> without(std::vector<std::string> names, const std::string& drop) {
    std::erase(names, drop);
    return names;
}

// ---- the local player's break ---------------------------------------------------------

constexpr uint32_t kSeed = 11;

class DeskShotTest : public DeskFixture {
protected:
    // The break dealt to loc 0 with its clock running.
    void dealBreak() {
        rack(0, DeskStatus::BreakAiming, standardRack(kSeed));
        desk.StartChoice(0);
        host.sink.clear();
    }
};

TEST_F(DeskShotTest, ChargedBreakIsReportedAsDeskSimComputesIt) {
    dealBreak();
    const BallPosition foot = footSpot();
    const QPoint towardsRack = host.pixelAt(foot.x, foot.y + 0.4);
    host.move(towardsRack.x(), towardsRack.y());
    ASSERT_EQ(host.sink.names(), std::vector<std::string>{"Turn_OnStart"});
    const int64_t arc = host.sink.events[0].args[0];
    host.press(towardsRack.x(), towardsRack.y());
    timers.advance(650);
    host.release(towardsRack.x(), towardsRack.y());

    ASSERT_EQ(host.sink.names(),
              (std::vector<std::string>{"Turn_OnStart", "StartCrash", "Begin_OnStart"}));
    EXPECT_EQ(host.sink.events[2].args, (std::vector<int64_t>{arc, 1300, 0, 0, 0}));
    EXPECT_EQ(host.scene().status, DeskStatus::BreakInFlight);
    EXPECT_TRUE(host.site->IsShotRunning());
    EXPECT_FALSE(host.scene().cue.shown);
    EXPECT_EQ(host.scene().turnLoc, 0);
    EXPECT_EQ(host.scene().clockSeconds, 0);

    host.waitForShot();
    EXPECT_EQ(
        without(host.sink.names(), "SendDetect"),
        (std::vector<std::string>{"Turn_OnStart", "StartCrash", "Begin_OnStart", "End_OnStart"}));
    const FiredEvent* end = host.sink.last("End_OnStart");
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end->args, (std::vector<int64_t>{16, 16}));

    const SimShot reference = deskSim(kSeed, static_cast<int32_t>(arc), 1300, 0);
    expectSameBalls(end->records, reference.balls);
    expectSameJudge(end->judge, reference.judge);

    // Everything reached the host on its own thread; the worker only stepped.
    for (const FiredEvent& e : host.sink.events)
        EXPECT_EQ(e.thread, std::this_thread::get_id()) << e.name;
    EXPECT_EQ(host.frames->foreignThreadFrames, 0);
    EXPECT_GT(host.frames->frames, 100);
    EXPECT_EQ(host.sounds->Played().front(), Effect::Strike);
    EXPECT_EQ(host.scene().status, DeskStatus::BreakInFlight); // until the verdict
}

// One player's desk through a game's first turns, driven as the table logic
// drives it; the events come exactly in this order, all on the UI thread.
TEST_F(DeskShotTest, FromTheStartButtonToATimeOut) {
    desk.StartGame();
    host.press(420, 260);
    desk.StartDeal(0);
    desk.StartDeal(1);

    // The break.
    rack(0, DeskStatus::BreakAiming, standardRack(kSeed));
    desk.StartChoice(0);
    const QPoint rackSide = host.pixelAt(footSpot().x, footSpot().y + 0.5);
    host.move(rackSide.x(), rackSide.y());
    host.press(rackSide.x(), rackSide.y());
    timers.advance(500);
    host.release(rackSide.x(), rackSide.y());
    host.waitForShot();
    const FiredEvent breakEnd = *host.sink.last("End_OnStart");

    // The verdict: the breaker plays on with solids.
    desk.EndCrashWithStatus(0, 1, 16, breakEnd.records, 0, DeskStatus::Aiming);
    desk.SetMyColor(0);
    EXPECT_EQ(scene().banner.text, gbk("本局您的目标是单色球"));
    EXPECT_EQ(scene().turnLoc, 0);

    // A shot in play, aimed the other way round.
    const Vec3 cue = scene().balls[kCueBall].position;
    const QPoint back = host.pixelAt(cue.x - 10, cue.y);
    host.move(back.x(), back.y());
    host.press(back.x(), back.y());
    host.release(back.x(), back.y());
    host.waitForShot();
    ASSERT_NE(host.sink.last("End_OnPlay"), nullptr);

    // The other player fouled: ball in hand for Ann.
    desk.EndCrashWithStatus(0, 2, 16, tableWith(-20, 5, {{1, 10, 5}, {7, 12, 8}}, 2), 1,
                            DeskStatus::BallInHand);
    EXPECT_EQ(scene().banner.text, gbk("请Ann开始摆放白球"));
    host.move(100, 300);
    host.move(150, 280);
    host.press(150, 280);
    const FiredEvent moved = *host.sink.last("Moved");
    desk.SetStatus(DeskStatus::Aiming);
    desk.BallMoved(0, static_cast<int32_t>(moved.args[0]), static_cast<int32_t>(moved.args[1]), 0);
    EXPECT_EQ(scene().banner.text, gbk("请Ann开始击球,获得2次机会"));
    EXPECT_TRUE(scene().cue.shown);
    EXPECT_TRUE(scene().aimLine.shown);

    // Ann waits too long.
    timers.advance(30000);
    desk.Guo_InPlay(0, 1, 1);
    EXPECT_EQ(scene().banner.text, gbk("Ann放弃击球,Bob获得1次机会"));
    EXPECT_EQ(scene().turnLoc, 1);

    const std::vector<std::string> expected{
        "AgreeStart",  "Turn_OnStart", "StartCrash",   "Begin_OnStart", "End_OnStart",
        "Turn_OnPlay", "StartCrash",   "Begin_OnPlay", "End_OnPlay",    "Moving",
        "Moving",      "Moved",        "Guo"};
    EXPECT_EQ(without(host.sink.names(), "SendDetect"), expected);
    EXPECT_EQ(host.sink.last("Begin_OnStart")->args[1], 1000);
    EXPECT_EQ(host.sink.last("Begin_OnPlay")->args,
              (std::vector<int64_t>{host.sink.last("Turn_OnPlay")->args[0], 100, 0, 0, 0}));
    for (const FiredEvent& e : host.sink.events)
        EXPECT_EQ(e.thread, std::this_thread::get_id()) << e.name;
}

// Another desk replays the shot from StartCrash with the same values; a
// watcher ends it with EndCrash and the balls where the shooter had them.
TEST_F(DeskShotTest, WatcherReplaysTheShotAndEndsWithEndCrash) {
    constexpr int32_t kArc = -250000;
    constexpr int32_t kSpeed = 1700;
    constexpr int32_t kTip = 300000;
    CDeskHost watcher;
    watcher.desk->SetWatchStyle(1);
    watcher.desk->SetStatus(DeskStatus::BreakInFlight);
    watcher.desk->StartOneHand(1, 16, standardRack(kSeed));
    watcher.desk->StartCrash(1, kArc, kSpeed, 0, 0, kTip);
    EXPECT_EQ(watcher.sink.names(), std::vector<std::string>{"StartCrash"});
    watcher.waitForShot();
    EXPECT_EQ(without(watcher.sink.names(), "SendDetect"),
              (std::vector<std::string>{"StartCrash", "EndCrash"}));

    const SimShot reference = deskSim(kSeed, kArc, kSpeed, kTip);
    const control::DeskScene s = watcher.scene();
    for (int i = 0; i < kBallCount; ++i) {
        SCOPED_TRACE(i);
        const auto& b = s.balls[static_cast<std::size_t>(i)];
        EXPECT_EQ(toInterface(b.position.x), reference.balls[static_cast<std::size_t>(i)].m_nX);
        EXPECT_EQ(toInterface(b.position.y), reference.balls[static_cast<std::size_t>(i)].m_nY);
        EXPECT_EQ(b.status, reference.balls[static_cast<std::size_t>(i)].m_nStatus);
    }
    EXPECT_FALSE(s.cue.shown);
    EXPECT_TRUE(host.sink.events.empty()); // the other desk heard nothing of it
}

// The other player's desk (not watching) given the in-flight status by the
// host reports the replayed shot as a shot in play.
TEST_F(DeskShotTest, ReplayedShotInPlayCarriesTheTipOffset) {
    constexpr int32_t kArc = -3000000;
    rack(1, DeskStatus::Aiming, standardRack(kSeed));
    desk.StartChoice(1);
    desk.SetStatus(DeskStatus::InFlight);
    desk.StartCrash(1, kArc, 2400, 0, 0, -600000);
    host.waitForShot();
    const FiredEvent* end = host.sink.last("End_OnPlay");
    ASSERT_NE(end, nullptr);
    const SimShot reference = deskSim(kSeed, kArc, 2000, -600000); // above 2000 counts as 2000
    expectSameBalls(end->records, reference.balls);
    expectSameJudge(end->judge, reference.judge);
}

TEST_F(DeskShotTest, PocketedBallSoundsAndLightsItsPocket) {
    const SphereRecords table = tableWith(-20, 12, {{0, -25, 17}});
    for (int32_t speed : {500, 600}) {
        SCOPED_TRACE(speed);
        rack(0, DeskStatus::Aiming, table);
        desk.SetStatus(DeskStatus::InFlight);
        host.sounds->Clear();
        desk.StartCrash(0, -3926990, speed, 0, 0, 0);
        host.waitForShot();
        const FiredEvent* end = host.sink.last("End_OnPlay");
        ASSERT_NE(end, nullptr);
        ASSERT_EQ(end->judge.m_bGone[0], 1);
        const std::vector<Effect> played = host.sounds->Played();
        EXPECT_EQ(played.front() == Effect::Strike, speed > 500);
        EXPECT_NE(std::find(played.begin(), played.end(), Effect::BallDown), played.end());
        EXPECT_TRUE(host.scene().pocketLights[0].shown);
        timers.advance(399);
        EXPECT_TRUE(host.scene().pocketLights[0].shown);
        EXPECT_EQ(host.scene().pocketLights[0].frame, 4);
        timers.advance(1);
        EXPECT_FALSE(host.scene().pocketLights[0].shown);
    }
}

TEST_F(DeskShotTest, ANewStrikeReplacesAShotStillRunning) {
    rack(1, DeskStatus::Aiming, standardRack(kSeed));
    desk.SetStatus(DeskStatus::InFlight);
    desk.StartCrash(1, 0, 2000, 0, 0, 0);
    QCoreApplication::processEvents();
    desk.StartCrash(1, -3000000, 2000, 0, 0, -600000);
    host.waitForShot();
    EXPECT_EQ(without(host.sink.names(), "SendDetect"),
              (std::vector<std::string>{"StartCrash", "StartCrash", "End_OnPlay"}));
    EXPECT_FALSE(host.site->IsShotRunning());
}

// ---- CrashLoop --------------------------------------------------------------------------

struct CrashLoopCase {
    bool watching;
    int16_t turnLoc;
    std::vector<std::string> events;
};

TEST_F(DeskShotTest, CrashLoopRunsTheRestOfTheShotAtOnce) {
    for (const CrashLoopCase& c : {
             CrashLoopCase{false, 0, {"StartCrash", "End_OnPlay", "EndCrash", "End_OnStart"}},
             CrashLoopCase{
                 false, 1, {"StartCrash", "End_OnPlay", "EndCrash", "End_OnStart_NoSendJg"}},
             CrashLoopCase{true, 0, {"StartCrash", "EndCrash", "EndCrash"}},
         }) {
        SCOPED_TRACE(testing::Message() << c.watching << "/" << c.turnLoc);
        desk.SetWatchStyle(c.watching ? 1 : 0);
        rack(c.turnLoc, DeskStatus::Aiming, standardRack(kSeed));
        desk.StartChoice(c.turnLoc);
        desk.SetStatus(DeskStatus::InFlight);
        host.sink.clear();
        desk.StartCrash(c.turnLoc, 0, 2000, 0, 0, 0);
        desk.CrashLoop();
        EXPECT_FALSE(host.site->IsShotRunning());
        EXPECT_EQ(without(host.sink.names(), "SendDetect"), c.events);
        if (const FiredEvent* start = host.sink.last("End_OnStart")) {
            const FiredEvent* play = host.sink.last("End_OnPlay");
            ASSERT_NE(play, nullptr);
            expectSameBalls(start->records, play->records);
        }
        // Nothing is left over for the event loop.
        QCoreApplication::processEvents();
        const std::size_t fired = host.sink.events.size();
        desk.CrashLoop(); // no shot: nothing
        EXPECT_EQ(host.sink.events.size(), fired);
    }
}

// ---- the worker and the UI thread ---------------------------------------------------------

// Frames drawn on the UI thread while the worker steps freely always show
// the balls as one step left them.
TEST_F(DeskShotTest, FramesDuringAShotShowWholeSteps) {
    constexpr int32_t kArc = 0;
    const SimShot reference = deskSim(kSeed, kArc, 2000, 0, true);
    ASSERT_GT(reference.trace.size(), 100u);
    std::set<std::array<int32_t, 2 * kBallCount>> steps(reference.trace.begin(),
                                                        reference.trace.end());
    std::array<int32_t, 2 * kBallCount> start{};
    const SphereRecords rackRecords = standardRack(kSeed);
    for (int i = 0; i < kBallCount; ++i) {
        start[static_cast<std::size_t>(2 * i)] = rackRecords[static_cast<std::size_t>(i)].m_nX;
        start[static_cast<std::size_t>(2 * i + 1)] = rackRecords[static_cast<std::size_t>(i)].m_nY;
    }

    host.site->SetShotClock(std::make_shared<CRunawayShotClock>());
    rack(1, DeskStatus::Aiming, rackRecords);
    start = [&] {
        std::array<int32_t, 2 * kBallCount> xy{};
        const control::DeskScene s = host.scene();
        for (int i = 0; i < kBallCount; ++i) {
            xy[static_cast<std::size_t>(2 * i)] = toInterface(s.balls[i].position.x);
            xy[static_cast<std::size_t>(2 * i + 1)] = toInterface(s.balls[i].position.y);
        }
        return xy;
    }();
    desk.SetStatus(DeskStatus::InFlight);
    desk.StartCrash(1, kArc, 2000, 0, 0, 0);
    int seen = 0;
    while (host.site->IsShotRunning()) {
        const control::DeskScene s = host.scene();
        if (!s.shotRunning)
            break;
        std::array<int32_t, 2 * kBallCount> xy{};
        for (int i = 0; i < kBallCount; ++i) {
            xy[static_cast<std::size_t>(2 * i)] = toInterface(s.balls[i].position.x);
            xy[static_cast<std::size_t>(2 * i + 1)] = toInterface(s.balls[i].position.y);
        }
        ASSERT_TRUE(xy == start || steps.count(xy)) << "a frame between two steps";
        ++seen;
        QCoreApplication::processEvents();
    }
    host.waitForShot();
    EXPECT_GT(seen, 0);
    expectSameBalls(host.sink.last("End_OnPlay")->records, reference.balls);
}

TEST_F(DeskShotTest, DestroyingTheDeskWhileItsShotRunsEndsTheWorker) {
    dealBreak();
    desk.SetStatus(DeskStatus::BreakInFlight);
    desk.StartCrash(0, 0, 2000, 0, 0, 0);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_TRUE(host.site->IsShotRunning());
    host.widget.reset();
    const std::size_t fired = host.sink.events.size();
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(host.sink.events.size(), fired);
    EXPECT_EQ(host.sink.count("End_OnStart"), 0);
}

// A host may also drop the desk from inside one of the shot's own events,
// while the worker waits for that very event.
TEST_F(DeskShotTest, DestroyingTheDeskFromInsideAShotEvent) {
    dealBreak();
    desk.SetStatus(DeskStatus::BreakInFlight);
    host.sink.onEvent = [this](const FiredEvent& e) {
        if (e.name == "SendDetect")
            host.widget.reset();
    };
    desk.StartCrash(0, 0, 2000, 0, 0, 0);
    while (host.widget && host.site->IsShotRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ASSERT_FALSE(host.widget) << "the shot ended before its detect request";
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(host.sink.names().back(), "SendDetect");
}

// The end of one shot may start the next one at once (a host answering the
// report with the verdict and a replayed shot).
TEST_F(DeskShotTest, AShotStartedFromTheEndOfTheLastOne) {
    rack(1, DeskStatus::Aiming, standardRack(kSeed));
    desk.SetStatus(DeskStatus::InFlight);
    int ends = 0;
    host.sink.onEvent = [&](const FiredEvent& e) {
        if (e.name == "End_OnPlay" && ++ends == 1) {
            desk.EndCrashWithStatus(1, 1, 16, e.records, 0, DeskStatus::InFlight);
            desk.StartCrash(1, -1000000, 800, 0, 0, 0);
        }
    };
    desk.StartCrash(1, 0, 900, 0, 0, 0);
    host.waitForShot();
    while (ends < 2 && host.site->IsShotRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    host.waitForShot();
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(host.sink.count("StartCrash"), 2);
}

} // namespace
} // namespace desk::test

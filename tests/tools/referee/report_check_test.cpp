#include "tools/referee/ReportCheck.h"

#include "desk/model/CuePlacement.h"
#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"
#include "desk/model/ViewGeometry.h"
#include "desk/physics/ShotEngine.h"
#include "tools/referee/ShotReplay.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace referee {
namespace {

using desk::kCueBall;

desk::BallStatuses statusesOf(const desk::SphereRecords& r) {
    desk::BallStatuses s{};
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = r[i].m_nStatus;
    return s;
}

// Real shots from a game's worth of positions never trip the checks.
TEST(ReportCheck, EveryRealShotPasses) {
    std::mt19937 rng(7);
    desk::CShotEngine engine;
    CTablePosition position = CTablePosition::Rack(desk::standardRack(3));
    int pocketed = 0;
    for (int k = 0; k < 300; ++k) {
        const desk::BallStatuses before = position.Statuses();
        const desk::Strike strike{-static_cast<int32_t>(rng() % 6283185),
                                  static_cast<int32_t>(300 + rng() % 1700),
                                  static_cast<int32_t>(rng() % 1000000) - 500000};
        const desk::ShotOutcome out = ReplayShot(engine, position, -1, strike);
        const CheckResult balls = CheckBalls(before, out.balls);
        ASSERT_TRUE(balls.ok()) << "shot " << k << ": " << ReportProblemName(balls.problem)
                                << " ball " << balls.ball;
        EXPECT_TRUE(
            CheckBreakJudge(before, out.balls, out.judge.m_nFirst_Gone, out.judge.m_nNum_TouchDesk)
                .ok());
        EXPECT_TRUE(CheckShotJudge(before, out.balls, out.judge.m_bIsTouch_Nothing,
                                   out.judge.m_bIsTouch_Other == 1 ? 0 : 1,
                                   out.judge.m_bIsTouch_No_Desk)
                        .ok());
        for (int i = 0; i < desk::kObjectBallCount; ++i)
            pocketed += out.balls[static_cast<std::size_t>(i)].m_nStatus == 2;
        int onTable = 0;
        for (int i = 0; i < desk::kObjectBallCount; ++i)
            onTable += out.balls[static_cast<std::size_t>(i)].m_nStatus == 0;
        if (onTable < 3) {
            position = CTablePosition::Rack(desk::standardRack(rng()));
            continue;
        }
        position = CTablePosition::AfterShot(out.balls);
        if (out.balls[kCueBall].m_nStatus == desk::kPocketedThisShot) {
            const desk::BallPosition spot = desk::breakSpot();
            position.PlaceCueBall({desk::toInterface(spot.x), desk::toInterface(spot.y)});
        }
    }
    EXPECT_GT(pocketed, 30); // the shots did send balls down
}

struct Tamper {
    std::string name;
    std::function<void(desk::BallStatuses&, desk::SphereRecords&)> change;
    ReportProblem expected;
};

TEST(ReportCheck, ImpossibleReports) {
    // A position after a shot: ball 0 in its tray since an earlier shot.
    desk::SphereRecords base = desk::standardRack(11);
    const desk::CViewGeometry view;
    const auto toTray = [&](desk::SphereRecords& r, int ball, int16_t status) {
        const desk::WorldPoint slot = view.traySlot(ball);
        r[static_cast<std::size_t>(ball)].m_nX = desk::toInterface(slot.x);
        r[static_cast<std::size_t>(ball)].m_nY = desk::toInterface(slot.y);
        r[static_cast<std::size_t>(ball)].m_nStatus = status;
    };
    toTray(base, 0, desk::kPocketedEarlier);
    desk::BallStatuses before = statusesOf(base);

    const std::vector<Tamper> cases = {
        {"untouched", [](auto&, auto&) {}, ReportProblem::None},
        {"a ball pocketed now sits in its tray",
         [&](auto&, auto& r) { toTray(r, 5, desk::kPocketedThisShot); }, ReportProblem::None},
        {"a wider window lowers the tray row a little",
         [&](auto&, auto& r) {
             toTray(r, 5, desk::kPocketedThisShot);
             r[5].m_nY -= 1400000;
         },
         ReportProblem::None},
        {"status 3", [](auto&, auto& r) { r[4].m_nStatus = 3; }, ReportProblem::BadStatus},
        {"a pocketed ball back on the table",
         [](auto&, auto& r) {
             r[0].m_nStatus = 0;
             r[0].m_nX = 0;
             r[0].m_nY = 0;
         },
         ReportProblem::BackOnTable},
        {"pocketed earlier, now status 2", [](auto&, auto& r) { r[0].m_nStatus = 2; },
         ReportProblem::BadStatus},
        {"on the table before, status 1 now",
         [&](auto&, auto& r) { toTray(r, 6, desk::kPocketedEarlier); }, ReportProblem::BadStatus},
        {"a pocketed ball away from its tray slot",
         [&](auto&, auto& r) {
             toTray(r, 5, desk::kPocketedThisShot);
             r[5].m_nX += 3000000;
         },
         ReportProblem::NotInTray},
        {"a pocketed ball in another ball's slot",
         [&](auto&, auto& r) {
             toTray(r, 5, desk::kPocketedThisShot);
             r[5].m_nX = r[0].m_nX;
         },
         ReportProblem::NotInTray},
        {"the cue ball pocketed on the open table",
         [](auto&, auto& r) { r[kCueBall].m_nStatus = 2; }, ReportProblem::CueBallNotInPocket},
        {"the cue ball with status 1", [](auto&, auto& r) { r[kCueBall].m_nStatus = 1; },
         ReportProblem::BadStatus},
        {"a ball beyond the cushions", [](auto&, auto& r) { r[9].m_nY = 30000000; },
         ReportProblem::OffTable},
        {"two balls in one place",
         [](auto&, auto& r) {
             r[9].m_nX = r[10].m_nX + 500000;
             r[9].m_nY = r[10].m_nY;
         },
         ReportProblem::Overlap},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desk::SphereRecords reported = base;
        desk::BallStatuses b = before;
        c.change(b, reported);
        EXPECT_EQ(CheckBalls(b, reported).problem, c.expected);
    }
}

TEST(ReportCheck, TheCueBallInAPocketZoneIsFine) {
    const desk::CTableLayout layout;
    desk::SphereRecords r = desk::standardRack(2);
    const desk::Rect& zone = layout.pocketZone(3);
    r[kCueBall].m_nX = desk::toInterface((zone.left + zone.right) / 2);
    r[kCueBall].m_nY = desk::toInterface((zone.bottom + zone.top) / 2);
    r[kCueBall].m_nStatus = desk::kPocketedThisShot;
    EXPECT_TRUE(CheckBalls(statusesOf(desk::standardRack(2)), r).ok());
}

TEST(ReportCheck, JudgingValuesAgainstTheBalls) {
    const desk::SphereRecords rack = desk::standardRack(5);
    const desk::BallStatuses before = statusesOf(rack);
    desk::SphereRecords oneDown = rack;
    oneDown[4].m_nStatus = desk::kPocketedThisShot;

    EXPECT_TRUE(CheckBreakJudge(before, rack, -1, 4).ok());
    EXPECT_TRUE(CheckBreakJudge(before, oneDown, 4, 4).ok());
    EXPECT_FALSE(CheckBreakJudge(before, oneDown, -1, 4).ok()) << "a pot without a first ball";
    EXPECT_FALSE(CheckBreakJudge(before, oneDown, 5, 4).ok()) << "first ball not pocketed";
    EXPECT_FALSE(CheckBreakJudge(before, rack, 4, 4).ok()) << "first ball with nothing down";
    EXPECT_FALSE(CheckBreakJudge(before, rack, -1, 16).ok());
    EXPECT_FALSE(CheckBreakJudge(before, rack, -1, -1).ok());

    EXPECT_TRUE(CheckShotJudge(before, rack, 1, 1, 1).ok());
    EXPECT_TRUE(CheckShotJudge(before, oneDown, 0, 0, 0).ok());
    EXPECT_FALSE(CheckShotJudge(before, oneDown, 1, 1, 0).ok()) << "a pot touching nothing";
    EXPECT_FALSE(CheckShotJudge(before, rack, 2, 1, 0).ok());
    EXPECT_FALSE(CheckShotJudge(before, rack, 0, -1, 0).ok());
}

TEST(ReportCheck, CueBallPlacement) {
    const desk::SphereRecords rack = desk::standardRack(5);
    const desk::BallPosition spot = desk::breakSpot();
    const desk::Rect area = desk::cuePlacementArea();
    EXPECT_LT(area.left, spot.x);
    EXPECT_GT(area.right, spot.x);
    const auto at = [&](double x, double y) {
        return CheckCuePlacement(rack, desk::toInterface(x), desk::toInterface(y)).ok();
    };
    EXPECT_TRUE(at(spot.x, spot.y));
    EXPECT_TRUE(at(area.left, area.bottom));
    EXPECT_FALSE(at(area.right + 1, spot.y)) << "beyond the head line";
    EXPECT_FALSE(at(spot.x, area.top + 1));
    EXPECT_FALSE(at(0, 0));

    // On top of an object ball that was moved behind the line.
    desk::SphereRecords moved = rack;
    moved[3].m_nX = desk::toInterface(spot.x + 1.5);
    moved[3].m_nY = desk::toInterface(spot.y);
    EXPECT_FALSE(
        CheckCuePlacement(moved, desk::toInterface(spot.x), desk::toInterface(spot.y)).ok());
    EXPECT_TRUE(
        CheckCuePlacement(moved, desk::toInterface(spot.x - 0.6), desk::toInterface(spot.y)).ok());
}

} // namespace
} // namespace referee

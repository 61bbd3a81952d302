#include "tools/bot/SimpleShooter.h"

#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"
#include "tools/referee/ReportCheck.h"

#include <gtest/gtest.h>

namespace bot {
namespace {

desk::SphereRecords onlyBalls(std::initializer_list<std::pair<int, std::pair<double, double>>> at) {
    desk::SphereRecords r = desk::standardRack(1);
    const desk::CViewGeometry view;
    for (int i = 0; i < desk::kObjectBallCount; ++i) {
        const desk::WorldPoint slot = view.traySlot(i);
        r[static_cast<std::size_t>(i)] = desk::makeSphereRecord(
            i, slot.x, slot.y, desk::kPocketedEarlier, desk::startOrientation());
    }
    for (const auto& [ball, xy] : at)
        r[static_cast<std::size_t>(ball)] = desk::makeSphereRecord(
            ball, xy.first, xy.second, desk::kOnTable, desk::startOrientation());
    return r;
}

TEST(SimpleShooter, SinksAnEasyOwnBall) {
    // A solid a little in front of the top-right pocket, the cue ball behind it.
    const desk::CTableLayout layout;
    const desk::Rect& pocket = layout.pocketZone(2);
    const double px = (pocket.left + pocket.right) / 2;
    const double py = (pocket.bottom + pocket.top) / 2;
    desk::SphereRecords r = onlyBalls({{2, {px - 6, py - 4}}, {9, {0, 0}}, {7, {-10, 10}}});
    r[desk::kCueBall] = desk::makeSphereRecord(desk::kCueBall, px - 18, py - 12, desk::kOnTable,
                                               desk::startOrientation());
    const auto position = referee::CTablePosition::AfterShot(r);
    CSimpleShooter shooter(5, 1);
    const desk::Strike s = shooter.ChooseShot(position, desk::kSolids);
    desk::CShotEngine engine;
    const desk::ShotOutcome out = referee::ReplayShot(engine, position, desk::kSolids, s);
    EXPECT_EQ(out.balls[2].m_nStatus, desk::kPocketedThisShot);
    EXPECT_GT(CSimpleShooter::Score(out, position.Statuses(), desk::kSolids), 0);
}

TEST(SimpleShooter, ScoresFoulsAndTheBlack) {
    desk::SphereRecords before = desk::standardRack(2);
    desk::BallStatuses statuses{};
    desk::ShotOutcome out;
    out.balls = before;
    out.judge.m_bIsTouch_Nothing = 0;
    out.judge.m_nNum_TouchDesk = 2;
    EXPECT_EQ(CSimpleShooter::Score(out, statuses, desk::kSolids), 0);
    out.balls[desk::kCueBall].m_nStatus = desk::kPocketedThisShot;
    EXPECT_LT(CSimpleShooter::Score(out, statuses, desk::kSolids), 0) << "in-off";
    out.balls[desk::kCueBall].m_nStatus = 0;
    out.balls[desk::kBlackBall].m_nStatus = desk::kPocketedThisShot;
    EXPECT_EQ(CSimpleShooter::Score(out, statuses, desk::kSolids), -1000) << "black too early";
}

TEST(SimpleShooter, PlacesTheCueBallLegally) {
    desk::SphereRecords r = desk::standardRack(3);
    const desk::BallPosition spot = desk::breakSpot();
    r[4].m_nX = desk::toInterface(spot.x); // a ball on the usual spot
    r[4].m_nY = desk::toInterface(spot.y);
    r[desk::kCueBall].m_nStatus = desk::kPocketedThisShot;
    CSimpleShooter shooter(5, 1);
    const auto [x, y] = shooter.ChoosePlacement(referee::CTablePosition::AfterShot(r));
    EXPECT_TRUE(referee::CheckCuePlacement(r, x, y).ok());
}

TEST(SimpleShooter, ArcsLieInTheInterfaceRange) {
    EXPECT_EQ(ArcTowards(1, 0), 0);
    EXPECT_LT(ArcTowards(0, 1), 0);
    EXPECT_GT(ArcTowards(0, 1), -6283186);
    EXPECT_EQ(ArcTowards(0, -1), desk::toInterface(-1.5707963267948966));
}

} // namespace
} // namespace bot

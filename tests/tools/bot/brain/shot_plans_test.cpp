#include "tools/bot/brain/ShotPlans.h"

#include "Positions.h"

#include <cmath>
#include <gtest/gtest.h>

namespace bot {
namespace {

constexpr int kTopRight = 2;
constexpr int kTopMiddle = 1;

const PocketAim& aimAt(int pocket) {
    return pocketAims()[static_cast<std::size_t>(pocket)];
}

TEST(PocketAims, SitInsideTheirZones) {
    const desk::CTableLayout layout;
    for (const PocketAim& a : pocketAims())
        EXPECT_EQ(layout.pocketAt(a.point.x, a.point.y), a.pocket);
    EXPECT_TRUE(aimAt(1).middle);
    EXPECT_TRUE(aimAt(4).middle);
    EXPECT_FALSE(aimAt(0).middle);
}

TEST(ShotPlan, StraightShotPutsTheGhostTwoRadiiBehindTheTarget) {
    const Vec2 aim = aimAt(kTopRight).point;
    const Vec2 target{15, 8};
    const Vec2 d = normalized(aim - target);
    const Vec2 cue = target - d * 10.0;
    const TableState t =
        tableStateFrom(test::Position().on(0, target.x, target.y).cue(cue.x, cue.y).records);

    const ShotPlan p = planShot(t, cue, 0, aimAt(kTopRight));
    EXPECT_GT(p.ease, 0.0);
    EXPECT_NEAR(p.ghost.x, target.x - 2 * d.x, 1e-9);
    EXPECT_NEAR(p.ghost.y, target.y - 2 * d.y, 1e-9);
    EXPECT_NEAR(p.cut, 0.0, 1e-6);
    EXPECT_NEAR(p.cueDistance, 8.0, 1e-9);
    EXPECT_NEAR(p.cueAngle, std::atan2(d.y, d.x), 1e-9);
}

struct Impossible {
    const char* name;
    Vec2 cue;
    Vec2 target;
    int pocket;
    Vec2 blocker; // far away when unused
};

class ImpossiblePlans : public ::testing::TestWithParam<Impossible> {};

TEST_P(ImpossiblePlans, HaveNoEase) {
    const Impossible c = GetParam();
    const TableState t = tableStateFrom(test::Position()
                                            .on(0, c.target.x, c.target.y)
                                            .on(9, c.blocker.x, c.blocker.y)
                                            .cue(c.cue.x, c.cue.y)
                                            .records);
    EXPECT_EQ(planShot(t, c.cue, 0, aimAt(c.pocket)).ease, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImpossiblePlans,
    ::testing::Values(
        // A ball on the cue ball's path to the ghost ball.
        Impossible{"CuePathBlocked", {-10, 10}, {10, 10}, kTopRight, {0, 10.5}},
        // A ball between the target and the pocket.
        Impossible{"PocketPathBlocked", {10, 0}, {15, 8}, kTopRight, {20.5, 13.5}},
        // The cue ball is beyond the target: a back cut of more than 75°.
        Impossible{"CutTooThin", {24, 17}, {15, 8}, kTopRight, {-20, -5}},
        // Along the rail into a middle pocket: the jaws take it.
        Impossible{"FlatIntoTheMiddle", {-20, 16}, {-8, 17}, kTopMiddle, {-20, -5}},
        // The ghost ball would have to stand inside the cushion.
        Impossible{"GhostOffTheTable", {0, 5}, {-25.5, 17.5}, 3, {-20, -5}}),
    [](const auto& info) { return info.param.name; });

TEST(ShotPlans, OnlyTheShootersBallsEasiestFirst) {
    const TableState t = tableStateFrom(test::Position()
                                            .on(0, 10, 5)
                                            .on(1, -5, 12)
                                            .on(9, 0, 0)
                                            .on(desk::kBlackBall, 5, 10)
                                            .cue(-15, 5)
                                            .records);
    const std::vector<ShotPlan> plans = plansFrom(t, t.at(desk::kCueBall), desk::kSolids);
    ASSERT_FALSE(plans.empty());
    for (std::size_t i = 0; i < plans.size(); ++i) {
        EXPECT_TRUE(plans[i].target == 0 || plans[i].target == 1) << plans[i].target;
        if (i > 0) {
            EXPECT_GE(plans[i - 1].ease, plans[i].ease);
        }
    }
    EXPECT_DOUBLE_EQ(bestEase(t, t.at(desk::kCueBall), desk::kSolids), plans.front().ease);
}

} // namespace
} // namespace bot

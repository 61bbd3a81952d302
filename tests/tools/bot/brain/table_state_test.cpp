#include "tools/bot/brain/TableState.h"

#include "Positions.h"

#include <gtest/gtest.h>
#include <numbers>

namespace bot {
namespace {

using desk::kBlackBall;
using desk::kOpenTable;
using desk::kSolids;
using desk::kStripes;

TEST(TableState, ReadsPositionsAndStatusesAsTheDeskDoes) {
    const TableState t = tableStateFrom(test::Position().on(3, -1.2345678, 7.5).cue(4, -2).records);
    EXPECT_NEAR(t.at(3).x, -1.234567, 1e-6);
    EXPECT_NEAR(t.at(3).y, 7.5, 1e-6);
    EXPECT_TRUE(t.onTable(3));
    EXPECT_TRUE(t.onTable(desk::kCueBall));
    EXPECT_FALSE(t.onTable(4));
}

struct TargetCase {
    const char* name;
    int group;
    int ball;
    bool ownGroupCleared;
    bool expected;
};

class Targets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(Targets, FollowTheGroupAndTheBlackRule) {
    const TargetCase c = GetParam();
    test::Position p;
    p.on(kBlackBall, 0, 0).on(9, 5, 5);
    if (!c.ownGroupCleared)
        p.on(2, -5, 5);
    p.on(12, 8, 5).on(1, -8, 5);
    if (c.ownGroupCleared) // the solids are all down
        p.records[1].m_nStatus = desk::kPocketedEarlier;
    const TableState t = tableStateFrom(p.records);
    EXPECT_EQ(isTarget(t, c.group, c.ball), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Targets,
    ::testing::Values(TargetCase{"OpenTableAnyColour", kOpenTable, 9, false, true},
                      TargetCase{"OpenTableNeverTheBlack", kOpenTable, kBlackBall, false, false},
                      TargetCase{"OwnGroup", kSolids, 2, false, true},
                      TargetCase{"OtherGroup", kSolids, 9, false, false},
                      TargetCase{"BlackWhileOwnBallsRemain", kSolids, kBlackBall, false, false},
                      TargetCase{"BlackOnceGroupCleared", kSolids, kBlackBall, true, true},
                      TargetCase{"StripesBlackWhileStripesRemain", kStripes, kBlackBall, true,
                                 false},
                      TargetCase{"PocketedBallIsNoTarget", kSolids, 4, false, false},
                      TargetCase{"CueBallIsNoTarget", kOpenTable, desk::kCueBall, false, false}),
    [](const auto& info) { return info.param.name; });

TEST(TableState, OwnBallsAndOpponentGroups) {
    EXPECT_TRUE(isOwnBall(kOpenTable, 0));
    EXPECT_TRUE(isOwnBall(kOpenTable, 14));
    EXPECT_FALSE(isOwnBall(kOpenTable, kBlackBall));
    EXPECT_FALSE(isOwnBall(kSolids, 8));
    EXPECT_TRUE(isOwnBall(kStripes, 8));
    EXPECT_FALSE(isOwnBall(kStripes, desk::kCueBall));
    EXPECT_EQ(opponentGroup(kSolids), kStripes);
    EXPECT_EQ(opponentGroup(kStripes), kSolids);
    EXPECT_EQ(opponentGroup(kOpenTable), kOpenTable);
}

TEST(Geometry, SegmentDistanceAndAngleWrap) {
    EXPECT_DOUBLE_EQ(distanceToSegment({0, 3}, {-5, 0}, {5, 0}), 3.0);
    EXPECT_DOUBLE_EQ(distanceToSegment({8, 4}, {-5, 0}, {5, 0}), 5.0); // beyond the end
    EXPECT_DOUBLE_EQ(distanceToSegment({1, 1}, {0, 0}, {0, 0}), std::sqrt(2.0));
    EXPECT_NEAR(wrapAngle(3 * std::numbers::pi / 2), -std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(wrapAngle(-std::numbers::pi), std::numbers::pi, 1e-12);
    EXPECT_NEAR(wrapAngle(0.25), 0.25, 1e-12);
}

} // namespace
} // namespace bot

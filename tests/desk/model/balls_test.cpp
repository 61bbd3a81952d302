#include "desk/model/Balls.h"

#include <cmath>
#include <gtest/gtest.h>

namespace desk {
namespace {

BallStatuses allOnTable() {
    BallStatuses s{};
    s.fill(kOnTable);
    return s;
}

TEST(Balls, GroupsByIndex) {
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(groupOf(i), kSolids) << i;
    for (int i = 8; i <= 14; ++i)
        EXPECT_EQ(groupOf(i), kStripes) << i;
    EXPECT_EQ(groupOf(kBlackBall), kOpenTable);
    EXPECT_EQ(groupOf(kCueBall), kOpenTable);
}

TEST(Balls, LegalTargets) {
    BallStatuses s = allOnTable();
    struct Case {
        int ball;
        int group;
        bool legal;
    };
    const Case withSolidsOnTable[] = {
        {3, kOpenTable, true}, {7, kOpenTable, true}, {12, kOpenTable, true}, {0, kSolids, true},
        {6, kSolids, true},    {8, kSolids, false},   {7, kSolids, false},    {9, kStripes, true},
        {2, kStripes, false},  {7, kStripes, false},  {15, kSolids, false},
    };
    for (const auto& c : withSolidsOnTable)
        EXPECT_EQ(isLegalTarget(c.ball, c.group, s), c.legal) << c.ball << " group " << c.group;

    // The black becomes legal once no ball of the own group is on the table,
    // whether it went down earlier (1) or in the last shot (2).
    for (int i = 0; i <= 5; ++i)
        s[static_cast<std::size_t>(i)] = kPocketedEarlier;
    EXPECT_FALSE(isLegalTarget(kBlackBall, kSolids, s));
    s[6] = kPocketedThisShot;
    EXPECT_TRUE(isLegalTarget(kBlackBall, kSolids, s));
    EXPECT_FALSE(isLegalTarget(kBlackBall, kStripes, s));
}

TEST(Balls, RestPlacementIsARowAlongTheXAxis) {
    EXPECT_DOUBLE_EQ(restPosition(0).x, -10.0);
    EXPECT_DOUBLE_EQ(restPosition(15).x, 27.5);
    EXPECT_DOUBLE_EQ(restPosition(7).y, 0.0);
}

TEST(Balls, StartOrientationIsTheFixedRotationAboutOneThreeOne) {
    const Rotation& r = startOrientation();
    // A proper rotation: orthonormal rows, determinant 1, fourth column unused.
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) {
            double dot = 0;
            for (int k = 0; k < 3; ++k)
                dot +=
                    r[static_cast<std::size_t>(4 * a + k)] * r[static_cast<std::size_t>(4 * b + k)];
            EXPECT_NEAR(dot, a == b ? 1.0 : 0.0, 1e-12);
        }
    }
    // It leaves its own axis in place.
    const double n = std::sqrt(11.0);
    const double axis[3] = {1 / n, 3 / n, 1 / n};
    for (int a = 0; a < 3; ++a) {
        double v = 0;
        for (int k = 0; k < 3; ++k)
            v += r[static_cast<std::size_t>(4 * a + k)] * axis[k];
        EXPECT_NEAR(v, axis[a], 1e-12);
    }
    // The angle: trace = 1 + 2 cos 29.5.
    EXPECT_NEAR(r[0] + r[5] + r[10], 1 + 2 * std::cos(29.5), 1e-12);
}

TEST(Balls, RecordRotationsAreMadeProperOrReplaced) {
    // A quantised rotation is kept (re-orthonormalised).
    Rotation turned{};
    turned[1] = -0.999999;
    turned[4] = 1.0;
    turned[10] = 0.9999995;
    const Rotation kept = properRotation(turned);
    EXPECT_NEAR(kept[1], -1.0, 1e-12);
    EXPECT_NEAR(kept[4], 1.0, 1e-12);
    EXPECT_NEAR(kept[10], 1.0, 1e-12);
    EXPECT_EQ(kept[3], 0.0);

    Rotation reflection{};
    reflection[0] = -1;
    reflection[5] = 1;
    reflection[10] = 1;
    Rotation garbage{};
    garbage.fill(-2000.0);
    Rotation notFinite = startOrientation();
    notFinite[2] = std::nan("");
    for (const Rotation& bad : {Rotation{}, reflection, garbage, notFinite})
        EXPECT_EQ(properRotation(bad), startOrientation());
}

} // namespace
} // namespace desk

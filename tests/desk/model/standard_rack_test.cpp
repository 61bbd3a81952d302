#include "desk/model/StandardRack.h"

#include "desk/model/TableLayout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace desk {
namespace {

// Ball-centre limits along the straight rails (their inner faces lie 0.5
// outside the outline, the ball radius further in).
constexpr double kMinX = -25.85, kMaxX = 25.15, kMinY = -6.25, kMaxY = 17.95;

struct Spot {
    double x, y;
};

Spot at(const SphereRecords& r, int ball) {
    const BallPlacement p = placementFrom(r[static_cast<std::size_t>(ball)]);
    return {p.x, p.y};
}

// Slots of the triangle in row order, found from the apex outwards.
int rowOf(const SphereRecords& r, int ball) {
    return static_cast<int>(std::lround((at(r, ball).x - footSpot().x) / std::sqrt(3.0)));
}

TEST(StandardRack, FifteenTouchingBallsInATriangleOnTheFootSpot) {
    const SphereRecords r = standardRack(7);
    std::multiset<int> rows;
    for (int b = 0; b < kObjectBallCount; ++b) {
        rows.insert(rowOf(r, b));
        EXPECT_EQ(r[static_cast<std::size_t>(b)].m_nStatus, kOnTable);
        EXPECT_EQ(r[static_cast<std::size_t>(b)].index, b);
    }
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(rows.count(row), static_cast<std::size_t>(row + 1)) << row;

    // Touching: every ball has a neighbour 2 radii away (to the interface
    // step), and none is closer.
    for (int a = 0; a < kObjectBallCount; ++a) {
        double nearest = 1e9;
        for (int b = 0; b < kObjectBallCount; ++b) {
            if (a == b)
                continue;
            nearest =
                std::min(nearest, std::hypot(at(r, a).x - at(r, b).x, at(r, a).y - at(r, b).y));
        }
        EXPECT_NEAR(nearest, 2.0, 1e-5) << a;
    }
}

TEST(StandardRack, ApexPointsToTheHeadAndTheCueBallIsBehindTheHeadLine) {
    const SphereRecords r = standardRack(1);
    const Rect& play = CTableLayout::playingRect();
    const double headLine = play.left + 0.25 * (play.right - play.left);
    double apexX = 1e9;
    for (int b = 0; b < kObjectBallCount; ++b)
        apexX = std::min(apexX, at(r, b).x);
    EXPECT_NEAR(apexX, footSpot().x, 1e-5);
    EXPECT_LT(at(r, kCueBall).x, headLine);
    EXPECT_LT(at(r, kCueBall).x, apexX);
}

TEST(StandardRack, BlackInTheMiddleOfTheThirdRowOneOfEachGroupInTheBackCorners) {
    for (uint32_t seed : {0u, 1u, 2u, 99u, 123456u}) {
        const SphereRecords r = standardRack(seed);
        EXPECT_EQ(rowOf(r, kBlackBall), 2) << seed;
        EXPECT_NEAR(at(r, kBlackBall).y, footSpot().y, 1e-5) << seed;
        std::set<int> corners;
        for (int b = 0; b < kObjectBallCount; ++b)
            if (rowOf(r, b) == 4 && std::fabs(at(r, b).y - footSpot().y) > 3.9)
                corners.insert(groupOf(b));
        EXPECT_EQ(corners, (std::set<int>{kSolids, kStripes})) << seed;
    }
}

TEST(StandardRack, EveryBallInsideTheRailsAndNoneInAPocket) {
    const CTableLayout layout;
    const SphereRecords r = standardRack(5);
    for (int b = 0; b < kBallCount; ++b) {
        const Spot s = at(r, b);
        EXPECT_GE(s.x, kMinX);
        EXPECT_LE(s.x, kMaxX);
        EXPECT_GE(s.y, kMinY);
        EXPECT_LE(s.y, kMaxY);
        EXPECT_EQ(layout.pocketAt(s.x, s.y), -1);
    }
}

TEST(StandardRack, TheSeedDecidesTheShuffle) {
    const SphereRecords a = standardRack(42);
    const SphereRecords b = standardRack(42);
    EXPECT_EQ(std::memcmp(a.data(), b.data(), sizeof a), 0);
    int differing = 0;
    for (uint32_t seed = 0; seed < 20; ++seed) {
        const SphereRecords c = standardRack(seed);
        if (std::memcmp(a.data(), c.data(), sizeof a) != 0)
            ++differing;
    }
    EXPECT_GE(differing, 19);
}

} // namespace
} // namespace desk

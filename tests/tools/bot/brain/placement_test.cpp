#include "tools/bot/brain/Placement.h"

#include "Positions.h"

#include <gtest/gtest.h>

namespace bot {
namespace {

// The area's right edge in design pixels of an 800 × 600 window.
constexpr double kRightPx = 190;

desk::WorldPoint worldAt(double sx, double sy) {
    return desk::CViewGeometry().screenToWorld(sx, sy);
}

struct SpotCase {
    const char* name;
    double sx, sy; // design pixels
    double ballDx; // object ball this far to the right of the spot (0: none)
    bool legal;
};

class Spots : public ::testing::TestWithParam<SpotCase> {};

TEST_P(Spots, FollowTheDesksRule) {
    const SpotCase c = GetParam();
    const desk::WorldPoint w = worldAt(c.sx, c.sy);
    test::Position p;
    if (c.ballDx != 0)
        p.on(4, w.x + c.ballDx, w.y);
    EXPECT_EQ(isLegalPlacement(tableStateFrom(p.records), {w.x, w.y}), c.legal);
}

INSTANTIATE_TEST_SUITE_P(Cases, Spots,
                         ::testing::Values(SpotCase{"InsideEmptyTable", 120, 200, 0, true},
                                           SpotCase{"RightEdgeInclusive", kRightPx, 200, 0, true},
                                           SpotCase{"PastTheRightEdge", 191, 200, 0, false},
                                           SpotCase{"AboveTheTop", 120, 75, 0, false},
                                           SpotCase{"BelowTheBottom", 120, 376, 0, false},
                                           SpotCase{"TwoRadiiFromABall", 120, 200, 2.0, true},
                                           SpotCase{"TooCloseToABall", 120, 200, 1.9, false}),
                         [](const auto& info) { return info.param.name; });

TEST(Placement, PocketedBallsInTheTrayNeverBlock) {
    // Every object ball pocketed: all of them sit in the tray far below.
    const TableState t = tableStateFrom(test::Position().records);
    const desk::WorldPoint w = worldAt(120, 200);
    EXPECT_TRUE(isLegalPlacement(t, {w.x, w.y}));
    EXPECT_FALSE(placementGrid(t).empty());
}

TEST(Placement, SafeSpotsKeepAMarginAndTheGridOnlyHoldsThem) {
    const desk::WorldPoint w = worldAt(120, 200);
    const TableState t = tableStateFrom(test::Position().on(4, w.x + 2.005, w.y).records);
    EXPECT_TRUE(isLegalPlacement(t, {w.x, w.y}));
    EXPECT_FALSE(isSafePlacement(t, {w.x, w.y}));

    // A crowded area: balls on a lattice through it leave few spots.
    test::Position crowd;
    const desk::Rect a = desk::cuePlacementArea();
    int ball = 0;
    for (double x = a.left + 1; x < a.right && ball < 15; x += 3.2)
        for (double y = a.bottom + 1; y < a.top && ball < 15; y += 4.5, ++ball)
            crowd.on(ball, x, y);
    const TableState crowded = tableStateFrom(crowd.records);
    for (const Vec2& s : placementGrid(crowded)) {
        EXPECT_TRUE(isSafePlacement(crowded, s));
        EXPECT_TRUE(isLegalPlacement(crowded, s));
    }
}

} // namespace
} // namespace bot

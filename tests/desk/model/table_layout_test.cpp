#include "desk/model/TableLayout.h"

#include <gtest/gtest.h>

namespace desk {
namespace {

TEST(TableLayout, OutlineIsStoredOnceShifted) {
    const CTableLayout t;
    struct Case {
        int k;
        double x, y;
    };
    const Case cases[] = {{0, -3.25, 18.45},   {8, 23.75, 18.45},  {13, 25.65, 16.15},
                          {14, 25.65, -4.85},  {23, 0.15, -10.05}, {33, -26.35, -4.85},
                          {39, -24.95, 18.45}, {40, -3.25, 18.45}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(t.vertexX(c.k), c.x) << c.k;
        EXPECT_DOUBLE_EQ(t.vertexY(c.k), c.y) << c.k;
    }
}

TEST(TableLayout, PocketZonesMatchTheTable) {
    const CTableLayout t;
    const Rect expected[] = {
        {-28.75, -26.15, 18.05, 20.35}, {-1.65, 0.95, 19.75, 21.75},
        {25.75, 28.05, 18.35, 20.35},   {25.75, 28.05, -9.05, -7.05},
        {-1.65, 0.95, -10.05, -7.85},   {-28.75, -26.45, -9.05, -7.05},
    };
    for (int k = 0; k < kPocketCount; ++k) {
        const Rect& z = t.pocketZone(k);
        EXPECT_NEAR(z.left, expected[k].left, 1e-12) << k;
        EXPECT_NEAR(z.right, expected[k].right, 1e-12) << k;
        EXPECT_NEAR(z.bottom, expected[k].bottom, 1e-12) << k;
        EXPECT_NEAR(z.top, expected[k].top, 1e-12) << k;
    }
}

TEST(TableLayout, PocketBoundsAreInclusive) {
    const CTableLayout t;
    for (int k = 0; k < kPocketCount; ++k) {
        const Rect& z = t.pocketZone(k);
        EXPECT_EQ(t.pocketAt(z.left, z.bottom), k) << k;
        EXPECT_EQ(t.pocketAt(z.right, z.top), k) << k;
        EXPECT_EQ(t.pocketAt(z.left, (z.bottom + z.top) / 2), k) << k;
    }
}

TEST(TableLayout, PointsOutsideEveryZoneAreNotPocketed) {
    const CTableLayout t;
    EXPECT_EQ(t.pocketAt(0, 5.65), -1);
    const Rect& z = t.pocketZone(2);
    EXPECT_EQ(t.pocketAt(z.right + 1e-9, z.top), -1);
    EXPECT_EQ(t.pocketAt(z.left, z.bottom - 1e-9), -1);
    // Below the table, where the tray row lies.
    EXPECT_EQ(t.pocketAt(-23.446, -20.948), -1);
}

TEST(TableLayout, RailsRunBetweenTheirVertices) {
    const CTableLayout t;
    const auto& rails = CTableLayout::rails();
    ASSERT_EQ(rails.size(), 6u);
    // The left short rail: x = −26.35, y −4.85 … 16.15.
    EXPECT_DOUBLE_EQ(t.vertexX(rails[0].fromVertex), -26.35);
    EXPECT_DOUBLE_EQ(t.vertexY(rails[0].fromVertex), -4.85);
    EXPECT_DOUBLE_EQ(t.vertexY(rails[0].toVertex), 16.15);
    // The bottom-right rail: y = −6.75, x 2.05 … 23.75.
    EXPECT_DOUBLE_EQ(t.vertexY(rails[5].fromVertex), -6.75);
    EXPECT_DOUBLE_EQ(t.vertexX(rails[5].fromVertex), 23.75);
    EXPECT_DOUBLE_EQ(t.vertexX(rails[5].toVertex), 2.05);
}

TEST(TableLayout, PlayingRectangle) {
    const Rect& r = CTableLayout::playingRect();
    EXPECT_DOUBLE_EQ(r.right - r.left, 52.0);
    EXPECT_NEAR(r.top - r.bottom, 25.6, 1e-12);
}

} // namespace
} // namespace desk

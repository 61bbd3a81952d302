#include "desk/model/CuePlacement.h"

#include <gtest/gtest.h>

namespace desk {
namespace {

TEST(CuePlacement, PixelAreaOfTheDesignWindow) {
    const PixelArea a = cuePlacementPixels(kDesignWidth, kDesignHeight);
    EXPECT_EQ(a.left, 57 + 15);
    EXPECT_EQ(a.top, 61 + 15);
    EXPECT_EQ(a.right, 205 - 15);
    EXPECT_EQ(a.bottom, 600 - 210 - 15);
    EXPECT_TRUE(a.contains(190, 375));
    EXPECT_FALSE(a.contains(191, 300));
    EXPECT_FALSE(a.contains(100, 376));
}

TEST(CuePlacement, WorldAreaIsTheStripBehindTheHeadLine) {
    const CViewGeometry view;
    const Rect a = cuePlacementArea(view);
    const WorldPoint topLeft = view.screenToWorld(72, 76);
    const WorldPoint bottomRight = view.screenToWorld(190, 375);
    EXPECT_DOUBLE_EQ(a.left, topLeft.x);
    EXPECT_DOUBLE_EQ(a.top, topLeft.y);
    EXPECT_DOUBLE_EQ(a.right, bottomRight.x);
    EXPECT_DOUBLE_EQ(a.bottom, bottomRight.y);
    const Rect& table = CTableLayout::playingRect();
    EXPECT_GT(a.left, table.left);
    EXPECT_LT(a.right, table.left + 0.25 * (table.right - table.left));
    EXPECT_GT(a.bottom, table.bottom);
    EXPECT_LT(a.top, table.top);
}

TEST(CuePlacement, AnotherWindowSizeCoversNearlyTheSameTable) {
    const Rect design = cuePlacementArea();
    const Rect small = cuePlacementArea(CViewGeometry(624, 468));
    EXPECT_NEAR(small.left, design.left, 0.2);
    EXPECT_NEAR(small.right, design.right, 0.2);
    EXPECT_NEAR(small.top, design.top, 0.2);
    EXPECT_NEAR(small.bottom, design.bottom, 0.2);
}

TEST(CuePlacement, KeepsTwoRadiiFromEveryObjectBall) {
    BallCentres balls;
    for (int i = 0; i < kObjectBallCount; ++i)
        balls[static_cast<std::size_t>(i)] = {100.0 + i * 10, 100.0};
    EXPECT_TRUE(clearOfBalls(balls, {0, 0}));
    balls[14] = {0, 0};
    EXPECT_FALSE(clearOfBalls(balls, {1.9, 0}));
    EXPECT_TRUE(clearOfBalls(balls, {2.0, 0}));
    EXPECT_FALSE(clearOfBalls(balls, {2.0, 0}, 0.01)) << "a margin widens the clearance";
    EXPECT_TRUE(clearOfBalls(balls, {1.9999, 0}, -0.001));
}

} // namespace
} // namespace desk

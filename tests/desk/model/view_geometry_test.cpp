#include "desk/model/ViewGeometry.h"

#include <gtest/gtest.h>

namespace desk {
namespace {

TEST(ViewGeometry, VisibleWorldIsFixedByTheCamera) {
    EXPECT_NEAR(CViewGeometry::visibleHeight(), 45.5514, 1e-4);
    EXPECT_NEAR(CViewGeometry::visibleWidth(), 60.7352, 1e-4);
}

TEST(ViewGeometry, ScreenAndWorldConvertBothWaysForBothWindowSizes) {
    for (const auto& [w, h] : {std::pair{800, 600}, std::pair{624, 468}}) {
        const CViewGeometry view(w, h);
        const WorldPoint centre = view.screenToWorld(w / 2.0, h / 2.0);
        EXPECT_NEAR(centre.x, 0, 1e-12);
        EXPECT_NEAR(centre.y, 0, 1e-12);
        // The top-left pixel shows (−W/2, +H/2) whatever the size.
        const WorldPoint corner = view.screenToWorld(0, 0);
        EXPECT_NEAR(corner.x, -60.7352 / 2, 1e-4);
        EXPECT_NEAR(corner.y, 45.5514 / 2, 1e-4);
        const ScreenPoint back = view.worldToScreen(12.5, -3.25);
        const WorldPoint again = view.screenToWorld(back.x, back.y);
        EXPECT_NEAR(again.x, 12.5, 1e-9);
        EXPECT_NEAR(again.y, -3.25, 1e-9);
    }
}

TEST(ViewGeometry, ScreenYGrowsDownwardsWorldYUpwards) {
    const CViewGeometry view;
    EXPECT_LT(view.worldToScreen(0, 10).y, view.worldToScreen(0, -10).y);
    EXPECT_LT(view.worldToScreen(-10, 0).x, view.worldToScreen(10, 0).x);
}

TEST(ViewGeometry, TraySlotsRunUnderTheTable) {
    const CViewGeometry view;
    // −23.446 + 2.328 i, the two figures rounded to three decimals.
    EXPECT_NEAR(view.traySlot(0).x, -23.446, 5e-4);
    for (int i = 0; i < 15; ++i) {
        const WorldPoint slot = view.traySlot(i);
        if (i > 0) {
            EXPECT_NEAR(slot.x - view.traySlot(i - 1).x, 2.328, 5e-4) << i;
        }
        EXPECT_NEAR(slot.y, -20.948, 5e-4) << i;
    }
}

TEST(ViewGeometry, TrayRowFollowsTheScaledMarginOnASmallWindow) {
    // At 624 × 468 the margin is 44 scaled pixels, not 57 × 0.78 = 44.46.
    const CViewGeometry small(624, 468);
    const double H = CViewGeometry::visibleHeight();
    EXPECT_NEAR(small.traySlot(0).y, 44 * H / 468 - H / 2 - 2.5, 1e-12);
    EXPECT_NEAR(small.traySlot(3).x, CViewGeometry().traySlot(3).x, 1e-12);
}

TEST(ViewGeometry, NoWindowYetFallsBackToTheDesignSize) {
    const CViewGeometry none(0, 0);
    EXPECT_EQ(none.width(), 800);
    EXPECT_EQ(none.height(), 600);
}

} // namespace
} // namespace desk

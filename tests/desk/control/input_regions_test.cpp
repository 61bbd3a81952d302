#include "desk/control/InputRegions.h"

#include <gtest/gtest.h>

namespace desk::control {
namespace {

TEST(InputRegions, DesignWindowLayout) {
    const CInputRegions r(800, 600);
    EXPECT_EQ(r.spinSelector().left, 694);
    EXPECT_EQ(r.spinSelector().bottom, 545);
    EXPECT_EQ(r.powerBar().left, 24);
    EXPECT_EQ(r.powerBar().right, 40);
    EXPECT_EQ(r.powerBarHeight(), 100);
    EXPECT_TRUE(r.startButton().contains(400, 250));
    EXPECT_TRUE(r.startButton().contains(464, 282));
    EXPECT_FALSE(r.startButton().contains(465, 282));
    // The placement area ends 15 pixels before the head string at 205.
    EXPECT_TRUE(r.placementArea().contains(190, 300));
    EXPECT_FALSE(r.placementArea().contains(191, 300));
    EXPECT_TRUE(r.placementArea().contains(72, 76));
    EXPECT_FALSE(r.placementArea().contains(71, 300));
    EXPECT_FALSE(r.placementArea().contains(100, 376)); // 600 − 210 − 15 = 375
}

TEST(InputRegions, SmallWindowScalesEveryRegionButTheBarWidth) {
    const CInputRegions r(624, 468);
    EXPECT_EQ(r.spinSelector().left, 694 * 624 / 800);
    EXPECT_EQ(r.spinSelector().top, 495 * 468 / 600);
    EXPECT_EQ(r.powerBar().right - r.powerBar().left, 16);
    EXPECT_EQ(r.powerBarHeight(), 78);
    EXPECT_EQ(r.startButton().left, 312);
}

TEST(InputRegions, TipOffsetFromTheHeightOfTheClick) {
    const CInputRegions r(800, 600);
    const int top = r.spinSelector().top;
    struct Case {
        int row;
        int32_t tip;
    };
    for (const Case& c :
         {Case{0, 500000}, Case{20, 0}, Case{23, -75000}, Case{50, -750000}, Case{1, 475000}}) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(r.tipOffsetAt(top + c.row), c.tip);
    }
    // g = 40 × 468 / 600 = 31, g / 2 = 15: (15 − 7) / 31, truncated.
    const CInputRegions small(624, 468);
    EXPECT_EQ(small.tipOffsetAt(small.spinSelector().top + 7), 258064);
}

TEST(InputRegions, SpinMarkSitsFourPixelsUpAndLeftOfItsPoint) {
    const CInputRegions r(800, 600);
    EXPECT_EQ(r.centredSpinMark(), (PixelPoint{715, 516}));
    EXPECT_EQ(CInputRegions::spinMarkAt(700, 500), (PixelPoint{696, 496}));
}

} // namespace
} // namespace desk::control

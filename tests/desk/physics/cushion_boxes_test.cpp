#include "desk/physics/CushionBoxes.h"

#include <gtest/gtest.h>

namespace desk {
namespace {

TEST(CushionBoxes, ConstructionGivesTheTwentyFourBoxesOfTheTable) {
    struct Expected {
        double cx, cy, sx, sy;
    };
    // Rail order left, right, top-left, top-right, bottom-left, bottom-right;
    // layers 1 … 4 outwards.
    const Expected table[kCushionBoxCount] = {
        {-27.35, 5.65, 1, 21},  {-28.35, 5.65, 1, 23},   {-29.35, 5.65, 1, 25},
        {-30.35, 5.65, 1, 31},  {26.65, 5.65, 1, 21},    {27.65, 5.65, 1, 23},
        {28.65, 5.65, 1, 25},   {29.65, 5.65, 1, 31},    {-14.10, 19.45, 21, 1},
        {-14.10, 20.45, 23, 1}, {-14.10, 21.45, 25, 1},  {-14.10, 22.45, 29, 1},
        {12.90, 19.45, 21, 1},  {12.90, 20.45, 23, 1},   {12.90, 21.45, 25, 1},
        {13.40, 22.45, 30, 1},  {-13.60, -7.75, 21, 1},  {-13.65, -8.75, 23, 1},
        {-13.65, -9.75, 25, 1}, {-13.65, -10.75, 29, 1}, {12.90, -7.75, 21, 1},
        {12.80, -8.75, 23, 1},  {12.80, -9.75, 25, 1},   {13.30, -10.75, 30, 1},
    };
    const auto boxes = cushionBoxes(CTableLayout());
    for (int k = 0; k < kCushionBoxCount; ++k) {
        const BoxSpec& b = boxes[static_cast<std::size_t>(k)];
        EXPECT_NEAR(b.cx, table[k].cx, 1e-12) << "box " << k;
        EXPECT_NEAR(b.cy, table[k].cy, 1e-12) << "box " << k;
        EXPECT_EQ(b.sx, table[k].sx) << "box " << k;
        EXPECT_EQ(b.sy, table[k].sy) << "box " << k;
        EXPECT_EQ(b.sz, 500.0);
        EXPECT_EQ(b.cz, 0.0);
        EXPECT_EQ(b.layer, k % 4 + 1);
    }
}

TEST(CushionBoxes, InnerFacesLieHalfAUnitOutsideTheRailLines) {
    const auto boxes = cushionBoxes(CTableLayout());
    EXPECT_DOUBLE_EQ(boxes[0].cx + boxes[0].sx / 2, -26.35 - 0.5);
    EXPECT_DOUBLE_EQ(boxes[4].cx - boxes[4].sx / 2, 25.65 + 0.5);
    EXPECT_DOUBLE_EQ(boxes[8].cy - boxes[8].sy / 2, 18.45 + 0.5);
    EXPECT_DOUBLE_EQ(boxes[16].cy + boxes[16].sy / 2, -6.75 - 0.5);
}

TEST(CushionBoxes, BedCoversFarMoreThanTheTableWithItsTopAtZero) {
    const BoxSpec bed = bedBox();
    EXPECT_NEAR(bed.sx, 485.88, 1e-2);
    EXPECT_NEAR(bed.sy, 364.41, 1e-2);
    EXPECT_EQ(bed.sz, 2.0);
    EXPECT_NEAR(bed.cx, -87.085, 1e-3);
    EXPECT_NEAR(bed.cy, -27.101, 1e-3);
    EXPECT_EQ(bed.cz + bed.sz / 2, 0.0);
}

} // namespace
} // namespace desk

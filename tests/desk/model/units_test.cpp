#include "desk/model/Units.h"

#include <gtest/gtest.h>
#include <limits>

namespace desk {
namespace {

TEST(InterfaceUnits, WorldValuesGoOutTruncatedTowardsZero) {
    struct Case {
        double world;
        int32_t expected;
    };
    const Case cases[] = {
        {0.0000005, 0},         // half a unit of the interface: truncated, not rounded
        {-1.2345678, -1234567}, // truncated towards zero, not down
        {1.2345678, 1234567},   {28.05, 28050000}, {-28.75, -28750000},
        {1.0, 1000000},         {-0.0000009, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toInterface(c.world), c.expected) << c.world;
}

TEST(InterfaceUnits, OutOfRangeValuesSaturateInsteadOfWrapping) {
    EXPECT_EQ(toInterface(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(toInterface(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(toInterface(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(InterfaceUnits, IncomingValuesAreScaledInSinglePrecision) {
    EXPECT_EQ(fromInterface(1000000), 1.0f);
    EXPECT_EQ(fromInterface(-1234567), static_cast<float>(-1234567) * 0.000001f);
    // A value that goes out and comes back is quantised to the interface step.
    EXPECT_EQ(toInterface(fromInterface(12345678)), 12345678);
    EXPECT_NEAR(fromInterface(28050000), 28.05, 1e-6);
}

TEST(DesignScaling, MultipliesBeforeDividingAndTruncates) {
    EXPECT_EQ(scaleX(57, 800), 57);
    EXPECT_EQ(scaleY(210, 600), 210);
    // 624 × 468: 57 × 624 / 800 = 44.46 → 44; 210 × 468 / 600 = 163.8 → 163.
    EXPECT_EQ(scaleX(57, 624), 44);
    EXPECT_EQ(scaleY(210, 468), 163);
    // Dividing first would lose the fraction of each factor: 1 × 624 / 800 = 0.
    EXPECT_EQ(scaleX(1, 624), 0);
    EXPECT_EQ(scaleX(800, 624), 624);
}

} // namespace
} // namespace desk

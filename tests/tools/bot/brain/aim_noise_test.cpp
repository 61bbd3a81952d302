#include "tools/bot/brain/AimNoise.h"

#include "desk/model/Units.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace bot {
namespace {

constexpr desk::Strike kIntended{-1570796, 800, 250000};

double angleOf(int32_t arc) {
    return arc / desk::kInterfaceScale;
}

TEST(ArcOf, GoesOutInTheDesksRange) {
    EXPECT_EQ(arcOf(0.0), 0);
    EXPECT_EQ(arcOf(-1.5), -1500000);
    EXPECT_EQ(arcOf(std::numbers::pi / 2), -4712388); // a quarter turn left is three right
    EXPECT_NEAR(arcOf(2 * std::numbers::pi + 0.25), -6033185, 1);
    EXPECT_NEAR(arcOf(-2 * std::numbers::pi - 0.25), -250000, 1);
}

TEST(AimNoise, TheStrongestLevelPlaysExactlyWhatItChose) {
    CAimNoise noise(42);
    for (int i = 0; i < 50; ++i) {
        const desk::Strike s = noise.apply(kIntended, kStrongestLevel);
        EXPECT_EQ(s.arc, kIntended.arc);
        EXPECT_EQ(s.speed, kIntended.speed);
        EXPECT_EQ(s.tip, kIntended.tip);
    }
}

// Root mean square of the angle and power errors over many strikes.
struct Spread {
    double angle = 0;
    double power = 0;
};

Spread measure(int level) {
    CAimNoise noise(7);
    constexpr int kDraws = 4000;
    double a2 = 0, p2 = 0;
    for (int i = 0; i < kDraws; ++i) {
        const desk::Strike s = noise.apply(kIntended, level);
        const double da =
            std::remainder(angleOf(s.arc) - angleOf(kIntended.arc), 2 * std::numbers::pi);
        const double dp = (s.speed - kIntended.speed) / double(kIntended.speed);
        a2 += da * da;
        p2 += dp * dp;
        EXPECT_EQ(s.tip, kIntended.tip);
    }
    return {std::sqrt(a2 / kDraws), std::sqrt(p2 / kDraws)};
}

TEST(AimNoise, SpreadsAsItsLevelSaysAndGrowsAsTheLevelFalls) {
    double previous = 0;
    for (int level = kStrongestLevel - 1; level >= kWeakestLevel; --level) {
        const Spread s = measure(level);
        const NoiseSpread want = noiseSpread(level);
        EXPECT_NEAR(s.angle, want.angle, 0.1 * want.angle) << "level " << level;
        EXPECT_NEAR(s.power, want.power, 0.1 * want.power + 0.002) << "level " << level;
        EXPECT_GT(s.angle, previous);
        previous = s.angle;
    }
}

TEST(AimNoise, LevelsOutOfRangeTakeTheNearest) {
    EXPECT_EQ(noiseSpread(0).angle, noiseSpread(kWeakestLevel).angle);
    EXPECT_EQ(noiseSpread(9).angle, noiseSpread(kStrongestLevel).angle);
}

TEST(AimNoise, PowerStaysWithinWhatTheDeskSends) {
    CAimNoise noise(3);
    for (int i = 0; i < 500; ++i) {
        const desk::Strike hard = noise.apply({0, 2000, 0}, kWeakestLevel);
        const desk::Strike soft = noise.apply({0, 100, 0}, kWeakestLevel);
        EXPECT_LE(hard.speed, kMaxSpeed);
        EXPECT_GE(soft.speed, kMinSpeed);
        EXPECT_LE(hard.arc, 0);
        EXPECT_GT(hard.arc, -6283186);
    }
}

TEST(AimNoise, ASeedGivesOneSequenceWhateverTheLevels) {
    // Every strike takes the same draws at every level, so what a level 2
    // player does next does not depend on the levels played before.
    CAimNoise a(11), b(11), c(12);
    std::vector<int32_t> arcsA, arcsC;
    for (int i = 0; i < 20; ++i) {
        a.apply(kIntended, kStrongestLevel);
        b.apply(kIntended, kWeakestLevel);
        const desk::Strike sa = a.apply(kIntended, 2);
        const desk::Strike sb = b.apply(kIntended, 2);
        EXPECT_EQ(sa.arc, sb.arc);
        EXPECT_EQ(sa.speed, sb.speed);
        arcsA.push_back(sa.arc);
        c.apply(kIntended, 2);
        arcsC.push_back(c.apply(kIntended, 2).arc);
    }
    EXPECT_NE(arcsA, arcsC);
}

} // namespace
} // namespace bot

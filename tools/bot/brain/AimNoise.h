#pragma once
// The difficulty levels: a weaker player's cue wanders. The brain chooses its
// strike as if it played perfectly, and the level then spoils the aim and the
// power by a normally distributed error; level 5 plays exactly what it chose.
//
// The draws are made from the generator's raw output, so a seed gives the same
// errors whatever standard library the build uses.

#include "desk/physics/ShotReport.h"

#include <cstdint>
#include <random>

namespace bot {

inline constexpr int kWeakestLevel = 1;
inline constexpr int kStrongestLevel = 5;

struct NoiseSpread {
    double angle = 0; // standard deviation of the cue angle, radians
    double power = 0; // standard deviation of the power, as a share of it
};

// Levels outside 1 … 5 are taken as the nearest one.
NoiseSpread noiseSpread(int level);

// Interface speeds the desk sends: 100 … 2000.
inline constexpr int32_t kMinSpeed = 100;
inline constexpr int32_t kMaxSpeed = 2000;

// A cue angle in radians as the desk sends it: brought into (−2π, 0], then
// × 1 000 000 truncated.
int32_t arcOf(double angle);

class CAimNoise {
public:
    explicit CAimNoise(uint32_t seed) : m_rng(seed) {}
    // The strike a player of `level` actually plays when he means `intended`.
    desk::Strike apply(const desk::Strike& intended, int level);

private:
    double uniform(); // (0, 1)
    double gaussian();

    std::mt19937 m_rng;
};

} // namespace bot

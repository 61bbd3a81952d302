#include "tools/bot/brain/AimNoise.h"

#include "desk/model/Units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace bot {

NoiseSpread noiseSpread(int level) {
    // A miss of about one ball width over a table length at level 1; the
    // steps between the levels roughly halve the error each time.
    static constexpr std::array<NoiseSpread, 5> kSpreads{{
        {0.030, 0.15},
        {0.014, 0.08},
        {0.006, 0.04},
        {0.0025, 0.02},
        {0.0, 0.0},
    }};
    const int k = std::clamp(level, kWeakestLevel, kStrongestLevel) - kWeakestLevel;
    return kSpreads[static_cast<std::size_t>(k)];
}

int32_t arcOf(double angle) {
    constexpr double kTwoPi = 2 * std::numbers::pi;
    angle = std::fmod(angle, kTwoPi);
    if (angle > 0)
        angle -= kTwoPi;
    return desk::toInterface(angle);
}

double CAimNoise::uniform() {
    return (static_cast<double>(m_rng()) + 0.5) / 4294967296.0;
}

double CAimNoise::gaussian() {
    const double u = uniform();
    const double v = uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
}

desk::Strike CAimNoise::apply(const desk::Strike& intended, int level) {
    // Both draws are made at every level, so a seed's sequence of errors does
    // not depend on which levels played before.
    const double angleError = gaussian();
    const double powerError = gaussian();
    const NoiseSpread spread = noiseSpread(level);
    if (spread.angle == 0 && spread.power == 0)
        return intended;

    desk::Strike out = intended;
    out.arc = arcOf(intended.arc / desk::kInterfaceScale + angleError * spread.angle);
    const double speed = intended.speed * (1.0 + powerError * spread.power);
    out.speed = static_cast<int32_t>(
        std::clamp(std::lround(speed), static_cast<long>(kMinSpeed), static_cast<long>(kMaxSpeed)));
    return out;
}

} // namespace bot

#pragma once
// Every number crossing the desk interface is an integer: world values are
// multiplied by 1 000 000 and truncated towards zero on the way out, and
// multiplied by 0.000001 in single precision on the way in. A value that goes
// out and comes back is therefore quantised to 1e-6, on every client alike.

#include <cmath>
#include <cstdint>
#include <limits>

namespace desk {

inline constexpr double kInterfaceScale = 1000000.0;

// World value → interface integer, truncated (0.0000005 → 0, −1.2345678 →
// −1 234 567). Values beyond the 32-bit range saturate instead of invoking
// an undefined conversion; NaN goes out as 0.
inline int32_t toInterface(double world) {
    const double scaled = std::trunc(world * kInterfaceScale);
    if (std::isnan(scaled))
        return 0;
    if (scaled >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (scaled <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}

// Interface integer → world value, in single precision as every client does it.
inline float fromInterface(int32_t value) {
    return static_cast<float>(value) * 0.000001f;
}

// The desk is laid out for an 800 × 600 window; a design-pixel constant is
// scaled to the real client size with integer arithmetic, multiply first.
inline constexpr int kDesignWidth = 800;
inline constexpr int kDesignHeight = 600;

inline int scaleX(int designPixels, int width) {
    return static_cast<int>(static_cast<int64_t>(designPixels) * width / kDesignWidth);
}

inline int scaleY(int designPixels, int height) {
    return static_cast<int>(static_cast<int64_t>(designPixels) * height / kDesignHeight);
}

} // namespace desk

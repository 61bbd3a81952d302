#pragma once
// The static collision geometry derived from the table outline: four stacked
// boxes per rail, so that a fast ball that passes one layer within a step is
// still caught by the next, and one bed box far larger than the table.

#include "desk/model/TableLayout.h"

#include <array>

namespace desk {

inline constexpr int kLayersPerRail = 4;
inline constexpr int kCushionBoxCount = kRailCount * kLayersPerRail;
inline constexpr double kCushionHeight = 500.0;

struct BoxSpec {
    Rail rail = Rail::Left;
    int layer = 0; // 1 … 4, outwards
    double cx = 0, cy = 0, cz = 0;
    double sx = 0, sy = 0, sz = 0;
};

// In rail order (left, right, top-left, top-right, bottom-left, bottom-right),
// layers 1 … 4 within each rail.
std::array<BoxSpec, kCushionBoxCount> cushionBoxes(const CTableLayout& layout);

BoxSpec bedBox();

} // namespace desk

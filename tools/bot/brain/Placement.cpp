#include "tools/bot/brain/Placement.h"

#include "desk/model/Units.h"

#include <algorithm>

namespace bot {

namespace {

// Design pixels of the area (the left, top and bottom margins of the table
// picture, 15 pixels inside them, and 15 short of x = 205).
constexpr int kLeftMargin = 57;
constexpr int kTopMargin = 61;
constexpr int kBottomMargin = 210;
constexpr int kInset = 15;
constexpr int kRightEdge = 205;
constexpr double kMinDistance = 2.0 * desk::kBallRadius;
constexpr double kSafety = 0.01;

} // namespace

desk::Rect placementArea(const desk::CViewGeometry& view) {
    const int w = view.width();
    const int h = view.height();
    const int left = desk::scaleX(kLeftMargin, w) + desk::scaleX(kInset, w);
    const int right = desk::scaleX(kRightEdge, w) - desk::scaleX(kInset, w);
    const int top = desk::scaleY(kTopMargin, h) + desk::scaleY(kInset, h);
    const int bottom = h - desk::scaleY(kBottomMargin, h) - desk::scaleY(kInset, h);
    const desk::WorldPoint a = view.screenToWorld(left, top);
    const desk::WorldPoint b = view.screenToWorld(right, bottom);
    return {std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
}

bool isLegalPlacement(const TableState& table, Vec2 at, const desk::CViewGeometry& view) {
    if (!placementArea(view).contains(at.x, at.y))
        return false;
    for (int i = 0; i < desk::kObjectBallCount; ++i)
        if (length(table.at(i) - at) < kMinDistance)
            return false;
    return true;
}

bool isSafePlacement(const TableState& table, Vec2 at) {
    const desk::Rect a = placementArea();
    if (at.x < a.left + kSafety || at.x > a.right - kSafety || at.y < a.bottom + kSafety ||
        at.y > a.top - kSafety)
        return false;
    for (int i = 0; i < desk::kObjectBallCount; ++i)
        if (length(table.at(i) - at) < kMinDistance + kSafety)
            return false;
    return true;
}

std::vector<Vec2> placementGrid(const TableState& table) {
    constexpr int kColumns = 5;
    constexpr int kRows = 9;
    const desk::Rect a = placementArea();
    std::vector<Vec2> spots;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const Vec2 p{a.left + (a.right - a.left) * (c + 0.5) / kColumns,
                         a.bottom + (a.top - a.bottom) * (r + 0.5) / kRows};
            if (isSafePlacement(table, p))
                spots.push_back(p);
        }
    }
    return spots;
}

} // namespace bot

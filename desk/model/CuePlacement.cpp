#include "desk/model/CuePlacement.h"

#include "desk/model/Units.h"

#include <algorithm>

namespace desk {

namespace {
constexpr int kHeadString = 205;
constexpr int kInset = 15;
} // namespace

PixelArea cuePlacementPixels(int width, int height) {
    const int insetX = scaleX(kInset, width);
    const int insetY = scaleY(kInset, height);
    return {scaleX(kTableMarginLeft, width) + insetX, scaleY(kTableMarginTop, height) + insetY,
            scaleX(kHeadString, width) - insetX,
            height - scaleY(kTableMarginBottom, height) - insetY};
}

Rect cuePlacementArea(const CViewGeometry& view) {
    const PixelArea p = cuePlacementPixels(view.width(), view.height());
    const WorldPoint a = view.screenToWorld(p.left, p.top);
    const WorldPoint b = view.screenToWorld(p.right, p.bottom);
    return {std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
}

bool clearOfBalls(const BallCentres& balls, WorldPoint p, double margin) {
    const double clearance = kPlacementClearance + margin;
    for (const WorldPoint& b : balls) {
        const double d = (b.x - p.x) * (b.x - p.x) + (b.y - p.y) * (b.y - p.y);
        if (d < clearance * clearance)
            return false;
    }
    return true;
}

} // namespace desk

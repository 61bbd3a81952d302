#pragma once
// Ball in hand: where a player may put the cue ball. The area is the strip
// behind the head string inside the table picture: 15 design pixels in from
// its left, top and bottom margins, and 15 short of the head string at
// x = 205, scaled to the client window like every other region. The cue ball
// must also keep two radii from the centre of every object ball.
//
// The desk tests a pointer against it; the table server checks a placement it
// is sent, and the bot chooses one, with this same rule.

#include "desk/model/Balls.h"
#include "desk/model/TableLayout.h"
#include "desk/model/ViewGeometry.h"

#include <array>

namespace desk {

// A rectangle of window pixels, every edge inclusive.
struct PixelArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// The placement area in pixels of a client window of the given size.
PixelArea cuePlacementPixels(int width, int height);

// The same area in world units, as the window `view` maps it.
Rect cuePlacementArea(const CViewGeometry& view = CViewGeometry());

inline constexpr double kPlacementClearance = 2 * kBallRadius;

// Balls 0 … 14 as the placement test sees them. A pocketed ball waits in its
// tray slot, far below the area, and never blocks.
using BallCentres = std::array<WorldPoint, kObjectBallCount>;

// Whether `point` keeps two radii (plus `margin`, which may be negative)
// from every centre.
bool clearOfBalls(const BallCentres& balls, WorldPoint point, double margin = 0);

} // namespace desk

#pragma once
// Ball in hand: where the desk lets a player put the cue ball. The area is
// the strip behind the head line that the desk accepts clicks in (design
// pixels 15 inside the table picture's left, top and bottom margins, up to 190
// from the left edge), and the cue ball must keep two radii from the centre
// of every object ball.

#include "desk/model/TableLayout.h"
#include "desk/model/ViewGeometry.h"
#include "tools/bot/brain/TableState.h"

#include <vector>

namespace bot {

// The placement area in world units for a desk of the given window size.
desk::Rect placementArea(const desk::CViewGeometry& view = desk::CViewGeometry());

// The desk's test: inside the area and at least two radii from every object
// ball (balls in their tray slots are far away and never block).
bool isLegalPlacement(const TableState& table, Vec2 at,
                      const desk::CViewGeometry& view = desk::CViewGeometry());

// The same with a margin, so the spot stays legal after it is quantised to
// the interface's 1e-6 units and read back in single precision.
bool isSafePlacement(const TableState& table, Vec2 at);

// Legal spots spread over the area, for when no planned shot suggests one.
std::vector<Vec2> placementGrid(const TableState& table);

} // namespace bot

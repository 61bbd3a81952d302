#pragma once
// Ball in hand: the desk's rule of where the cue ball may go
// (desk/model/CuePlacement.h) applied to the brain's view of the table, and
// the spots the brain falls back on when no planned shot suggests one.

#include "desk/model/CuePlacement.h"
#include "tools/bot/brain/TableState.h"

#include <vector>

namespace bot {

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

#include "desk/physics/CushionBoxes.h"

#include "desk/model/ViewGeometry.h"

#include <cmath>
#include <cstdlib>

namespace desk {

namespace {

// How far each end of a rail moves outwards along the rail after layers 1, 2
// and 3, in hundredths: {corner or first end, other end}. The outer layers
// grow longer so that, seen from a pocket mouth, they form the jaws.
struct EndMoves {
    std::array<std::array<int32_t, 2>, 3> afterLayer;
};

EndMoves movesFor(Rail rail) {
    switch (rail) {
    case Rail::Left:
    case Rail::Right:
        return {{{{100, 100}, {100, 100}, {300, 300}}}};
    case Rail::TopLeft:
        return {{{{90, 90}, {100, 100}, {200, 200}}}};
    case Rail::TopRight:
        return {{{{90, 90}, {100, 100}, {300, 200}}}};
    case Rail::BottomLeft:
        return {{{{90, 80}, {100, 100}, {200, 200}}}};
    case Rail::BottomRight:
        return {{{{70, 90}, {100, 100}, {300, 200}}}};
    }
    return {};
}

Hundredths outwardStep(Outward o) {
    switch (o) {
    case Outward::MinusX:
        return {-100, 0};
    case Outward::PlusX:
        return {100, 0};
    case Outward::PlusY:
        return {0, 100};
    case Outward::MinusY:
        return {0, -100};
    }
    return {};
}

int32_t sign(int32_t v) {
    return (v > 0) - (v < 0);
}

} // namespace

std::array<BoxSpec, kCushionBoxCount> cushionBoxes(const CTableLayout& layout) {
    std::array<BoxSpec, kCushionBoxCount> boxes{};
    std::size_t n = 0;
    for (const RailLine& line : CTableLayout::rails()) {
        // The rails are axis-parallel, so working in whole hundredths keeps
        // every end point, length and midpoint exact.
        Hundredths a = layout.vertexHundredths(line.fromVertex);
        Hundredths b = layout.vertexHundredths(line.toVertex);
        const bool alongX = a.y == b.y;
        const Hundredths out = outwardStep(line.outward);
        const EndMoves moves = movesFor(line.rail);
        for (int layer = 1; layer <= kLayersPerRail; ++layer) {
            const int32_t span = std::abs(alongX ? b.x - a.x : b.y - a.y);
            const double length = span / 100; // whole units, truncated
            BoxSpec box;
            box.rail = line.rail;
            box.layer = layer;
            box.cx = (a.x + b.x) / 200.0 + out.x * layer / 100.0;
            box.cy = (a.y + b.y) / 200.0 + out.y * layer / 100.0;
            box.cz = 0;
            box.sx = alongX ? length : 1.0;
            box.sy = alongX ? 1.0 : length;
            box.sz = kCushionHeight;
            boxes[n++] = box;
            if (layer == kLayersPerRail)
                break;
            // Each end moves away from the other one.
            const auto& move = moves.afterLayer[static_cast<std::size_t>(layer - 1)];
            const int32_t dirX = sign(a.x - b.x);
            const int32_t dirY = sign(a.y - b.y);
            a = {a.x + dirX * move[0], a.y + dirY * move[0]};
            b = {b.x - dirX * move[1], b.y - dirY * move[1]};
        }
    }
    return boxes;
}

BoxSpec bedBox() {
    const double W = CViewGeometry::visibleWidth();
    const double H = CViewGeometry::visibleHeight();
    const Rect& play = CTableLayout::playingRect();
    BoxSpec bed;
    bed.cx = play.left - W;
    bed.cy = play.top - H;
    bed.cz = -1.0;
    bed.sx = 8 * W;
    bed.sy = 8 * H;
    bed.sz = 2.0;
    return bed;
}

} // namespace desk

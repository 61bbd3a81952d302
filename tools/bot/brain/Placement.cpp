#include "tools/bot/brain/Placement.h"

namespace bot {

namespace {

constexpr double kSafety = 0.01;

desk::BallCentres centresOf(const TableState& table) {
    desk::BallCentres c;
    for (int i = 0; i < desk::kObjectBallCount; ++i)
        c[static_cast<std::size_t>(i)] = {table.at(i).x, table.at(i).y};
    return c;
}

} // namespace

bool isLegalPlacement(const TableState& table, Vec2 at, const desk::CViewGeometry& view) {
    return desk::cuePlacementArea(view).contains(at.x, at.y) &&
           desk::clearOfBalls(centresOf(table), {at.x, at.y});
}

bool isSafePlacement(const TableState& table, Vec2 at) {
    const desk::Rect a = desk::cuePlacementArea();
    const desk::Rect inner{a.left + kSafety, a.right - kSafety, a.bottom + kSafety,
                           a.top - kSafety};
    return inner.contains(at.x, at.y) &&
           desk::clearOfBalls(centresOf(table), {at.x, at.y}, kSafety);
}

std::vector<Vec2> placementGrid(const TableState& table) {
    constexpr int kColumns = 5;
    constexpr int kRows = 9;
    const desk::Rect a = desk::cuePlacementArea();
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

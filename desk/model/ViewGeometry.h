#pragma once
// How the desk window maps onto the world. The camera looks straight down
// from 85 units with a 30° vertical field of view, so the window always shows
// H = 45.5514 world units vertically and W = H × 4/3 horizontally, centred on
// the world origin, whatever the client size in pixels.

#include "desk/model/Units.h"

namespace desk {

// The table picture's margins inside the design window: the desk draws the
// table there, and the cue-ball placement area and the tray are measured from
// them.
inline constexpr int kTableMarginLeft = 57;
inline constexpr int kTableMarginRight = 65;
inline constexpr int kTableMarginTop = 61;
inline constexpr int kTableMarginBottom = 210;

struct WorldPoint {
    double x = 0;
    double y = 0;
};

struct ScreenPoint {
    double x = 0;
    double y = 0;
};

class CViewGeometry {
public:
    // A non-positive size (no window yet) falls back to the design size, so
    // the conversions never divide by zero.
    explicit CViewGeometry(int width = kDesignWidth, int height = kDesignHeight);

    int width() const { return m_nWidth; }
    int height() const { return m_nHeight; }

    static double visibleHeight(); // H
    static double visibleWidth();  // W

    WorldPoint screenToWorld(double sx, double sy) const;
    ScreenPoint worldToScreen(double x, double y) const;

    // Where a ball pocketed during a shot waits, in a row under the table, so
    // the drawing shows the pocketed balls in index order.
    WorldPoint traySlot(int ball) const;

private:
    int m_nWidth;
    int m_nHeight;
};

} // namespace desk

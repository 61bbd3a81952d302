#include "desk/model/ViewGeometry.h"

#include <cmath>
#include <numbers>

namespace desk {

namespace {
constexpr double kCameraHeight = 85.0;
constexpr double kHalfFieldOfView = 15.0 * std::numbers::pi / 180.0;
constexpr int kTrayLeftDesign = 78;   // design pixels from the left edge to the first slot
constexpr int kTrayWidthDesign = 460; // design pixels spanned by the fifteen slot steps
constexpr double kTrayDrop = 2.5;     // world units below the margin line
} // namespace

CViewGeometry::CViewGeometry(int width, int height)
    : m_nWidth(width > 0 && height > 0 ? width : kDesignWidth),
      m_nHeight(width > 0 && height > 0 ? height : kDesignHeight) {}

double CViewGeometry::visibleHeight() {
    return 2.0 * kCameraHeight * std::tan(kHalfFieldOfView);
}

double CViewGeometry::visibleWidth() {
    return visibleHeight() * kDesignWidth / kDesignHeight;
}

WorldPoint CViewGeometry::screenToWorld(double sx, double sy) const {
    const double w = m_nWidth;
    const double h = m_nHeight;
    return {(sx - w / 2) * visibleWidth() / w, (h / 2 - sy) * visibleHeight() / h};
}

ScreenPoint CViewGeometry::worldToScreen(double x, double y) const {
    const double W = visibleWidth();
    const double H = visibleHeight();
    return {(W / 2 + x) * m_nWidth / W, (H / 2 - y) * m_nHeight / H};
}

WorldPoint CViewGeometry::traySlot(int ball) const {
    const double W = visibleWidth();
    const double H = visibleHeight();
    const double x = kTrayLeftDesign * W / kDesignWidth - W / 2 + 1 +
                     ball * (kTrayWidthDesign * W / kDesignWidth) / 15;
    const int margin = scaleX(kTableMarginLeft, m_nWidth);
    const double y = margin * H / m_nHeight - H / 2 - kTrayDrop;
    return {x, y};
}

} // namespace desk

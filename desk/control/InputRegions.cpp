#include "desk/control/InputRegions.h"

#include "desk/model/CuePlacement.h"
#include "desk/model/Units.h"

namespace desk::control {

namespace {
constexpr int kSelectorLeft = 694;
constexpr int kSelectorTop = 495;
constexpr int kSelectorSize = 50;
constexpr int kSelectorSpan = 40; // the vertical extent the tip offset is measured over
constexpr int kBarLeft = 24;
constexpr int kBarTop = 484;
constexpr int kBarWidth = 16; // not scaled
constexpr int kBarHeight = 100;
} // namespace

CInputRegions::CInputRegions(int width, int height) : m_nHeight(height) {
    const int selLeft = scaleX(kSelectorLeft, width);
    const int selTop = scaleY(kSelectorTop, height);
    m_selector = {selLeft, selTop, selLeft + scaleX(kSelectorSize, width),
                  selTop + scaleY(kSelectorSize, height)};

    const int barLeft = scaleX(kBarLeft, width);
    const int barTop = scaleY(kBarTop, height);
    m_nBarHeight = scaleY(kBarHeight, height);
    m_powerBar = {barLeft, barTop, barLeft + kBarWidth, barTop + m_nBarHeight};

    m_startButton = {scaleX(400, width), scaleY(250, height), scaleX(464, width),
                     scaleY(282, height)};

    const PixelArea placement = cuePlacementPixels(width, height);
    m_placement = {placement.left, placement.top, placement.right, placement.bottom};
}

int32_t CInputRegions::tipOffsetAt(int py) const {
    const int g = scaleY(kSelectorSpan, m_nHeight);
    if (g <= 0)
        return 0;
    const int64_t fromCentre = g / 2 - (py - m_selector.top);
    // Integer arithmetic truncates exactly where a double product could land
    // a hair below a whole millionth.
    return static_cast<int32_t>(fromCentre * 1000000 / g);
}

PixelPoint CInputRegions::centredSpinMark() const {
    const int cx = m_selector.left + (m_selector.right - m_selector.left) / 2;
    const int cy = m_selector.top + (m_selector.bottom - m_selector.top) / 2;
    return spinMarkAt(cx, cy);
}

} // namespace desk::control

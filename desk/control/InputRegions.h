#pragma once
// The screen regions of the local player's input, laid out for the 800 × 600
// design window and scaled to the real client size with the desk's integer
// rule. Every region includes its edges.

#include "desk/control/DeskScene.h"

namespace desk::control {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0; // inclusive
    int bottom = 0;
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

class CInputRegions {
public:
    CInputRegions(int width = 800, int height = 600);

    // The spin selector, where the vertical cue-tip offset is chosen.
    const PixelRect& spinSelector() const { return m_selector; }
    // Tip offset × 1 000 000 for a click at row py of the selector:
    // (g/2 − (py − top)) / g with g = 40 design pixels, truncated; +0.5 at
    // the top edge, −0.75 at the bottom, positive above the centre.
    int32_t tipOffsetAt(int py) const;
    // Where the spin mark sits for a click at (px, py) and when centred.
    static PixelPoint spinMarkAt(int px, int py) { return {px - 4, py - 4}; }
    PixelPoint centredSpinMark() const;

    // The power bar: 16 pixels wide at any size, its height scaled.
    const PixelRect& powerBar() const { return m_powerBar; }
    int powerBarHeight() const { return m_nBarHeight; }

    const PixelRect& startButton() const { return m_startButton; }
    // Where the cue ball may be put by hand (desk::cuePlacementPixels).
    const PixelRect& placementArea() const { return m_placement; }

private:
    int m_nHeight;
    PixelRect m_selector;
    PixelRect m_powerBar;
    int m_nBarHeight;
    PixelRect m_startButton;
    PixelRect m_placement;
};

} // namespace desk::control

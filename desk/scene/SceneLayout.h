#pragma once
// Where the table frame puts each of its flat elements, in window pixels.
//
// The desk is laid out for an 800 × 600 window; every design value is scaled
// to the client size with the desk's integer rule (desk/model/Units.h), so
// that every desk of a table, whatever its size, puts the same element over
// the same part of its table picture. A few elements keep their pixel size
// at any client size: the clock glyphs, the pocket-light animation frames and
// the whole score list.

#include "desk/model/ViewGeometry.h"

#include <array>
#include <cstdint>

namespace desk::scene {

struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0; // exclusive
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    PixelBox movedBy(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    bool operator==(const PixelBox&) const = default;
};

struct GlyphPlacement {
    int frame = 0; // of the digit sheet: 0 … 9 the digits, 10 the colon
    double left = 0;
    double top = 0;
};

class CSceneLayout {
public:
    // Digit sheets are drawn at this fraction of their 32 × 32 frames
    // (8 × 12.8 pixels), at any client size.
    static constexpr double kGlyphScaleX = 0.25;
    static constexpr double kGlyphScaleY = 0.4;
    static constexpr int kGlyphAdvance = 8;
    static constexpr int kClockWidth = 80; // not scaled
    static constexpr int kShadowSize = 25;
    // Pocket-light frames (200 × 200) are drawn at half size, not scaled.
    static constexpr double kLightScale = 0.5;
    static constexpr int kPocketLights = 6;

    // A non-positive size falls back to the design window.
    CSceneLayout(int width, int height);

    int width() const { return m_geometry.width(); }
    int height() const { return m_geometry.height(); }
    const CViewGeometry& geometry() const { return m_geometry; }

    // The picture scale that stretches a design-sized picture to the window.
    double unitX() const { return double(width()) / kDesignWidth; }
    double unitY() const { return double(height()) / kDesignHeight; }
    int sx(int designX) const { return scaleX(designX, width()); }
    int sy(int designY) const { return scaleY(designY, height()); }

    // The player panel, loc 0 (the local player) or 1 (the row below).
    PixelBox nameField(int loc) const;
    PixelBox readyField(int loc) const;
    PixelBox groupField(int loc) const;
    PixelBox scoreField(int loc) const;
    PixelBox chancesField(int loc) const;
    PixelBox clockField(int loc) const;

    PixelBox startButton() const;
    PixelBox banner() const;
    PixelBox powerBar() const;
    // The fill of the power bar for power 0 … 2000, growing from the bar's
    // bottom; empty for no power.
    PixelBox powerFill(int power) const;
    PixelBox pocketLightField(int pocket) const;

    // The five glyphs of a turn clock at `seconds` counted seconds in the
    // clock field of loc (mm:ss, each number with a leading 0).
    std::array<GlyphPlacement, 5> clockGlyphs(int loc, int seconds) const;

    // Top-left corner of a ball's shadow for the ball centre at `centre`
    // (window pixels): pushed away from the light over the table's centre,
    // less for a cue ball held in hand.
    struct Point {
        int x = 0;
        int y = 0;
        bool operator==(const Point&) const = default;
    };
    Point shadowTopLeft(ScreenPoint centre, bool placedByHand) const;
    int shadowWidth() const { return sx(kShadowSize); }
    int shadowHeight() const { return sy(kShadowSize); }

    // Where the light over the table sits (the centre of the table picture's
    // playing area).
    Point lightCentre() const;

private:
    CViewGeometry m_geometry;
};

// The score list keeps its size and place at any client size: five columns,
// a header row and two item rows with 2-pixel rules between them.
struct ScoreListGeometry {
    static constexpr int kLeft = 220;
    static constexpr int kTop = 120;
    static constexpr int kRule = 2;
    static constexpr int kRowHeight = 30;
    static constexpr int kColumns = 5;
    static constexpr int kItemRows = 2;
    static constexpr std::array<int, kColumns> kColumnWidths{100, 50, 50, 50, 50};

    static int Width();  // 310
    static int Height(); // 96
    static PixelBox Frame() { return {kLeft, kTop, kLeft + Width(), kTop + Height()}; }
    // Row 0 is the header, rows 1 and 2 the items.
    static int RowTop(int row);
    static PixelBox Cell(int row, int column);
    // Vertical rule k (0 … 3) after column k; horizontal rule k (0, 1) under row k.
    static PixelBox VerticalRule(int k);
    static PixelBox HorizontalRule(int k);
};

} // namespace desk::scene

#include "desk/scene/SceneLayout.h"

#include "desk/control/Aiming.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace desk::scene {

namespace {

// Design rectangles of loc 0's row; loc 1's row lies 16 design pixels lower.
constexpr PixelBox kName{80, 510, 280, 530};
constexpr PixelBox kReady{226, 510, 242, 530};
constexpr PixelBox kGroup{333, 510, 359, 530};
constexpr int kRowStep = 16;
constexpr int kFieldStep = 35; // group mark → score → chances
constexpr int kClockGap = 45;  // chances → clock

constexpr PixelBox kStartButton{400, 250, 464, 282};
constexpr PixelBox kBanner{160, 100, 605, 130};
constexpr int kBarLeft = 24;
constexpr int kBarTop = 484;
constexpr int kBarWidth = 16;
constexpr int kBarHeight = 100;
constexpr int kFillWidth = 11;

constexpr std::array<PixelBox, CSceneLayout::kPocketLights> kLightFields{{
    {13, 19, 63, 69},
    {255, 11, 305, 61},
    {556, 19, 606, 69},
    {558, 286, 608, 336},
    {284, 305, 334, 355},
    {13, 294, 63, 344},
}};

int validLoc(int loc) {
    return loc == 1 ? 1 : 0;
}

} // namespace

CSceneLayout::CSceneLayout(int width, int height) : m_geometry(width, height) {}

PixelBox CSceneLayout::nameField(int loc) const {
    return PixelBox{sx(kName.left), sy(kName.top), sx(kName.right), sy(kName.bottom)}.movedBy(
        0, validLoc(loc) * sy(kRowStep));
}

PixelBox CSceneLayout::readyField(int loc) const {
    return PixelBox{sx(kReady.left), sy(kReady.top), sx(kReady.right), sy(kReady.bottom)}.movedBy(
        0, validLoc(loc) * sy(kRowStep));
}

PixelBox CSceneLayout::groupField(int loc) const {
    return PixelBox{sx(kGroup.left), sy(kGroup.top), sx(kGroup.right), sy(kGroup.bottom)}.movedBy(
        0, validLoc(loc) * sy(kRowStep));
}

PixelBox CSceneLayout::scoreField(int loc) const {
    return groupField(loc).movedBy(sx(kFieldStep), 0);
}

PixelBox CSceneLayout::chancesField(int loc) const {
    return scoreField(loc).movedBy(sx(kFieldStep), 0);
}

PixelBox CSceneLayout::clockField(int loc) const {
    const PixelBox chances = chancesField(loc);
    const int left = chances.left + sx(kClockGap);
    return {left, chances.top, left + kClockWidth, chances.bottom};
}

PixelBox CSceneLayout::startButton() const {
    return {sx(kStartButton.left), sy(kStartButton.top), sx(kStartButton.right),
            sy(kStartButton.bottom)};
}

PixelBox CSceneLayout::banner() const {
    return {sx(kBanner.left), sy(kBanner.top), sx(kBanner.right), sy(kBanner.bottom)};
}

PixelBox CSceneLayout::powerBar() const {
    const int left = sx(kBarLeft);
    const int top = sy(kBarTop);
    return {left, top, left + sx(kBarWidth), top + sy(kBarHeight)};
}

PixelBox CSceneLayout::powerFill(int power) const {
    const PixelBox bar = powerBar();
    const int p = std::clamp(power, 0, control::kFullPower);
    const int f = static_cast<int>(int64_t(p) * bar.height() / control::kFullPower);
    if (f <= 0)
        return {};
    return {bar.left, bar.bottom - f, bar.left + sx(kFillWidth), bar.bottom};
}

PixelBox CSceneLayout::pocketLightField(int pocket) const {
    if (pocket < 0 || pocket >= kPocketLights)
        return {};
    const PixelBox& f = kLightFields[static_cast<std::size_t>(pocket)];
    return {sx(f.left), sy(f.top), sx(f.right), sy(f.bottom)};
}

std::array<GlyphPlacement, 5> CSceneLayout::clockGlyphs(int loc, int seconds) const {
    const PixelBox field = clockField(loc);
    const int s = std::max(seconds, 0);
    // Minutes beyond 99 keep their last two digits rather than spilling out.
    const int minutes = (s / 60) % 100;
    const int rest = s % 60;
    const int frames[5] = {minutes / 10, minutes % 10, 10, rest / 10, rest % 10};
    const double glyphHeight = 32 * kGlyphScaleY;
    const int first = (field.width() - 5 * kGlyphAdvance) / 2 + field.left;
    const double top = (field.height() - glyphHeight) * 0.5 + field.top;
    std::array<GlyphPlacement, 5> glyphs{};
    for (int k = 0; k < 5; ++k)
        glyphs[static_cast<std::size_t>(k)] = {frames[k], double(first + k * kGlyphAdvance), top};
    return glyphs;
}

CSceneLayout::Point CSceneLayout::lightCentre() const {
    const int l = sx(kTableMarginLeft), r = sx(kTableMarginRight);
    const int t = sy(kTableMarginTop), b = sy(kTableMarginBottom);
    return {(width() - r - l) / 2 + l, (height() - b - t) / 2 + t};
}

CSceneLayout::Point CSceneLayout::shadowTopLeft(ScreenPoint centre, bool placedByHand) const {
    const int x = static_cast<int>(centre.x);
    const int y = static_cast<int>(centre.y);
    Point p{x - shadowWidth() / 2, y - shadowHeight() / 2};
    const Point light = lightCentre();
    // A ball held in hand is lifted towards the light: a shorter shadow.
    const int divX = placedByHand ? 60 : 40;
    const int divY = placedByHand ? 40 : 30;
    const int dx = std::abs(light.x - x) / divX;
    const int dy = std::abs(light.y - y) / divY;
    p.x += x < light.x ? -dx : dx;
    p.y += y < light.y ? -dy : dy;
    return p;
}

int ScoreListGeometry::Width() {
    return std::accumulate(kColumnWidths.begin(), kColumnWidths.end(), 0) + kColumns * kRule;
}

int ScoreListGeometry::Height() {
    return (1 + kItemRows) * (kRowHeight + kRule);
}

int ScoreListGeometry::RowTop(int row) {
    return kTop + std::clamp(row, 0, kItemRows) * (kRowHeight + kRule);
}

PixelBox ScoreListGeometry::Cell(int row, int column) {
    int left = kLeft;
    for (int c = 0; c < std::clamp(column, 0, kColumns - 1); ++c)
        left += kColumnWidths[static_cast<std::size_t>(c)];
    const int top = RowTop(row);
    const int width = kColumnWidths[static_cast<std::size_t>(std::clamp(column, 0, kColumns - 1))];
    return {left, top, left + width, top + kRowHeight};
}

PixelBox ScoreListGeometry::VerticalRule(int k) {
    const int rule = std::clamp(k, 0, kColumns - 2);
    int left = kLeft;
    for (int c = 0; c <= rule; ++c)
        left += kColumnWidths[static_cast<std::size_t>(c)];
    const int height = Height() - rule * kRule;
    return {left, kTop, left + kRule, kTop + height};
}

PixelBox ScoreListGeometry::HorizontalRule(int k) {
    const int top = kTop + kRowHeight + std::clamp(k, 0, kItemRows - 1) * (kRowHeight + kRule);
    return {kLeft, top, kLeft + Width(), top + kRule};
}

} // namespace desk::scene

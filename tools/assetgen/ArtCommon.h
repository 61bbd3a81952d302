#pragma once
// Shared helpers of the asset generator: the table's place on the 800 × 600
// design screen, deterministic noise, and finishing pictures for the desk's
// colour key (opaque black is transparent, so drawn black must not be).

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <cstdint>

namespace assetgen {

// World units to design pixels of the 800 × 600 screen (camera straight
// above, the visible world 60.7352 × 45.5514 units).
QPointF toScreen(double x, double y);
inline constexpr double kPixelsPerUnit = 800.0 / 60.7352;

// Pictures drawn with alpha become sheets for the colour key: BMP sheets get
// opaque black where nothing was drawn; PNG sheets keep their alpha. Drawn
// pixels that happen to be pure black are lifted to (1, 1, 1).
QImage finishBmpSheet(const QImage& drawn);
QImage finishPngSheet(const QImage& drawn);

// An ARGB32 premultiplied canvas, transparent.
QImage canvas(int width, int height);

// Deterministic value noise in [0, 1) from integer coordinates and a seed.
double hashNoise(int x, int y, std::uint32_t seed);
// Smooth noise in [0, 1) at a real position (bilinear over hashNoise).
double smoothNoise(double x, double y, std::uint32_t seed);

// The face for texts drawn into the artwork.
QFont artFont(int pixelSize, bool bold);

QColor mix(const QColor& a, const QColor& b, double t);

} // namespace assetgen

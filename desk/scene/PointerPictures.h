#pragma once
// The pointer pictures of the table: picture 1 over a spot where the cue ball
// may be put (and while aiming), picture 2 over a spot where it may not.
//
// Each starts as a small 29 × 28 bitmap of the library, drawn here in code.
// For a window of w × h it is stretched like every design-sized picture,
// centred on a 32 × 32 black image, and black becomes transparent: the
// pointer keeps the table's proportions at any client size.

#include <QImage>
#include <QPoint>

namespace desk::scene {

inline constexpr int kPointerBitmapWidth = 29;
inline constexpr int kPointerBitmapHeight = 28;
inline constexpr int kPointerSize = 32;
inline constexpr QPoint kPointerHotSpot{15, 15};

// Bitmap 1 or 2 (RGB32, opaque, black where the pointer is to be clear);
// a null image for any other number.
QImage placementBitmap(int picture);

// The 32 × 32 pointer image (ARGB32) made from `bitmap` for a client area of
// width × height: black pixels fully transparent, every other pixel opaque.
QImage placementPointer(const QImage& bitmap, int width, int height);

} // namespace desk::scene

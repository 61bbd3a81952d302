#include "desk/scene/PointerPictures.h"

#include <gtest/gtest.h>

namespace desk::scene {
namespace {

QRect opaqueBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST(PointerPictures, TheTwoBitmapsOfTheLibrary) {
    for (int n : {1, 2}) {
        const QImage bitmap = placementBitmap(n);
        ASSERT_EQ(bitmap.size(), QSize(29, 28)) << n;
        EXPECT_EQ(bitmap.pixel(0, 0), 0xFF000000u) << "the clear part is black";
        EXPECT_NE(bitmap.pixel(14, 13) & 0xFFFFFF, 0u) << "something at the hot spot";
    }
    EXPECT_NE(placementBitmap(1), placementBitmap(2));
    // DESK_SNAPSHOT_DIR=<dir> keeps the two pointers, eight times enlarged.
    if (const QByteArray dir = qgetenv("DESK_SNAPSHOT_DIR"); !dir.isEmpty())
        for (int n : {1, 2})
            placementPointer(placementBitmap(n), 800, 600)
                .scaled(256, 256)
                .save(QString::fromLocal8Bit(dir) + QStringLiteral("/pointer_%1.png").arg(n));
    EXPECT_TRUE(placementBitmap(0).isNull());
    EXPECT_TRUE(placementBitmap(3).isNull());
}

// Black turns clear, every other pixel opaque in its own colour; the bitmap
// is stretched like a design-sized picture and centred on 32 × 32.
TEST(PointerPictures, PointersAreCentredAndKeyedOnBlack) {
    QImage bitmap(29, 28, QImage::Format_RGB32);
    bitmap.fill(0xFF102030);
    bitmap.setPixel(0, 0, 0xFF000000);
    const QImage design = placementPointer(bitmap, 800, 600);
    ASSERT_EQ(design.size(), QSize(32, 32));
    EXPECT_EQ(design.format(), QImage::Format_ARGB32);
    EXPECT_EQ(opaqueBounds(design), QRect(1, 2, 29, 28));
    EXPECT_EQ(design.pixel(1, 2), 0u) << "black bitmap pixel";
    EXPECT_EQ(design.pixel(2, 2), 0xFF102030u);
    EXPECT_EQ(design.pixel(0, 0), 0u) << "outside the bitmap";

    EXPECT_EQ(opaqueBounds(placementPointer(bitmap, 400, 300)), QRect(9, 9, 14, 14));
    // Larger than the pointer: cut at its edges, never written outside.
    EXPECT_EQ(opaqueBounds(placementPointer(bitmap, 1600, 1200)), QRect(0, 0, 32, 32));
    EXPECT_EQ(opaqueBounds(placementPointer(QImage(), 800, 600)), QRect());
}

} // namespace
} // namespace desk::scene

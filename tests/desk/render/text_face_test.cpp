#include "GlFixture.h"

#include "desk/render/CDrawContext.h"

#include <QFontInfo>

using namespace desk;
using namespace desk::render;
using namespace desk::render::test;

namespace {

int inkPixels(const QImage& image, const QRect& area, QRgb background) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += image.pixel(x, y) != background;
    return ink;
}

QRect inkBounds(const QImage& image, QRgb background) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST(TextFace, UsesAFaceWithChineseGlyphs) {
    const CTextFace face(14, 7, 500);
    const QFontInfo info(face.Font());
    EXPECT_EQ(info.pixelSize(), 14);
    // The two characters differ: real glyphs, not the same missing-glyph box.
    const QImage tai = face.Rasterise(QString::fromUtf8("台"), QSize(20, 20));
    const QImage qiu = face.Rasterise(QString::fromUtf8("球"), QSize(20, 20));
    EXPECT_NE(tai, qiu);
    EXPECT_GT(inkBounds(tai, 0).height(), 9);
}

using TextDrawing = GlTest;

TEST_F(TextDrawing, TextsAreCentredOnOneLineAndClippedToTheirRectangle) {
    CDrawContext draw(m_device);
    CTextFace label(14, 7, 500);
    const QRect field(368, 510, 26, 20);
    const QImage image = frame(
        [&] {
            draw.Text(label, QStringLiteral("88"), field);
            draw.TextGbk(label, "\xCC\xA8\xC7\xF2", QRect(80, 510, 200, 20)); // 台球
            draw.Text(label, QStringLiteral("a very long line that does not fit"),
                      QRect(500, 100, 40, 20));
            draw.Flush();
        },
        0xFFFFFFFF);
    const QRect ink = inkBounds(image.copy(field.adjusted(-10, -10, 10, 10)), 0xFFFFFFFF)
                          .translated(field.topLeft() - QPoint(10, 10));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(field.contains(ink));
    EXPECT_NEAR(ink.center().x(), field.center().x(), 2);
    EXPECT_NEAR(ink.center().y(), field.center().y(), 3);
    int darkest = 255;
    for (int y = field.top(); y <= field.bottom(); ++y)
        for (int x = field.left(); x <= field.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    EXPECT_LT(darkest, 40) << "texts are black";
    EXPECT_GT(inkPixels(image, QRect(160, 510, 40, 20), 0xFFFFFFFF), 30) << "GBK text drawn";
    EXPECT_EQ(inkPixels(image, QRect(490, 90, 10, 40), 0xFFFFFFFF), 0);
    EXPECT_EQ(inkPixels(image, QRect(540, 90, 10, 40), 0xFFFFFFFF), 0) << "clipped";
    EXPECT_GT(inkPixels(image, QRect(500, 100, 40, 20), 0xFFFFFFFF), 20);
}

TEST_F(TextDrawing, TheCacheStaysBounded) {
    CDrawContext draw(m_device);
    CTextFace label(14, 7, 500);
    frame([&] {
        for (int i = 0; i < CTextFace::kMaxCachedTexts + 10; ++i)
            draw.Text(label, QString::number(i), QRect(0, 0, 40, 20));
        draw.Flush();
    });
    EXPECT_LE(label.CachedTexts(), CTextFace::kMaxCachedTexts);
}

} // namespace

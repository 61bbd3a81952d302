#include "GlFixture.h"

#include "desk/render/CDrawContext.h"

using namespace desk;
using namespace desk::render;
using namespace desk::render::test;

namespace {

// A sheet of two 16 × 8 frames stacked: frame 0 red, frame 1 green, with an
// opaque black (keyed) square in the top-left corner of frame 0.
CPicture twoFrameSheet() {
    QImage sheet(16, 16, QImage::Format_ARGB32);
    sheet.fill(0xFFFF0000);
    for (int y = 8; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            sheet.setPixel(x, y, 0xFF00FF00);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            sheet.setPixel(x, y, 0xFF000000);
    media::applyColourKey(sheet);
    return CPicture(media::PictureImage{sheet, {16, 8, 1, 2}});
}

using SpriteBatch = GlTest;

TEST_F(SpriteBatch, FramesLandWhereTheyArePutStretchedByTheirScale) {
    CDrawContext draw(m_device);
    CPicture sheet = twoFrameSheet();
    const QImage image = frame([&] {
        draw.Picture(sheet, 0, {100, 50}, {2, 3}); // 32 × 24 at (100, 50)
        draw.Picture(sheet, 1, {300, 50});         // 16 × 8
        draw.Picture(sheet, 2, {500, 50});         // no such frame
        draw.Flush();
    });
    EXPECT_TRUE(near(image.pixel(120, 70), 0xFFFF0000));
    EXPECT_TRUE(near(image.pixel(131, 73), 0xFFFF0000));
    EXPECT_EQ(image.pixel(132, 60), kClearColour);
    EXPECT_EQ(image.pixel(120, 74), kClearColour);
    EXPECT_EQ(image.pixel(99, 60), kClearColour);
    EXPECT_EQ(image.pixel(102, 52), kClearColour) << "the keyed corner lets the frame show through";
    EXPECT_TRUE(near(image.pixel(308, 54), 0xFF00FF00)) << "frame 1 is the lower half";
    EXPECT_EQ(image.pixel(308, 58), kClearColour);
    EXPECT_EQ(image.pixel(508, 54), kClearColour);
}

TEST_F(SpriteBatch, ColourMultipliesEveryTexelAndLaterDrawsCoverEarlierOnes) {
    CDrawContext draw(m_device);
    CPicture white(media::PictureImage{solidImage(32, 32, 0xFFFFFFFF), {32, 32, 1, 1}});
    CPicture sheet = twoFrameSheet();
    const QImage image = frame(
        [&] {
            draw.Picture(white, 0, {0, 0}, {1, 1}, 0xFF7F7F7F);
            draw.Picture(white, 0, {40, 0}, {1, 1}, 0x337F7F7F); // a shadow over black
            draw.Picture(sheet, 0, {80, 0}, {2, 4});
            draw.Picture(white, 0, {90, 10}, {0.25, 0.25}, 0xFF0000FF);
            draw.Flush();
        },
        0xFF000000);
    EXPECT_TRUE(near(image.pixel(16, 16), 0xFF7F7F7F));
    EXPECT_TRUE(near(image.pixel(56, 16), qRgb(0x19, 0x19, 0x19), 2));
    EXPECT_TRUE(near(image.pixel(93, 13), 0xFF0000FF)) << "the blue square lies on top";
    EXPECT_TRUE(near(image.pixel(100, 20), 0xFFFF0000));
}

TEST_F(SpriteBatch, StripsRunAlongTheirDirectionCentredOnTheRay) {
    CDrawContext draw(m_device);
    QImage strip(64, 20, QImage::Format_ARGB32);
    strip.fill(0xFFFFFFFF);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 10; ++y)
            strip.setPixel(x, y, 0xFFFF0000); // top half red, bottom half white
    CPicture line(media::PictureImage{strip, {64, 20, 1, 1}});
    // Straight down from (400, 100), 128 long and 40 thick.
    const QImage image = frame([&] {
        draw.Strip(line, 0, {400, 100}, {0, 1}, {2, 2}, 0xFFFFFFFF);
        draw.Flush();
    });
    EXPECT_EQ(image.pixel(400, 98), kClearColour);
    EXPECT_EQ(image.pixel(400, 229), kClearColour);
    EXPECT_EQ(image.pixel(378, 160), kClearColour);
    EXPECT_EQ(image.pixel(421, 160), kClearColour);
    // Pointing down, the frame's top row lies on the right-hand side of the screen.
    EXPECT_TRUE(near(image.pixel(410, 160), 0xFFFF0000));
    EXPECT_TRUE(near(image.pixel(390, 160), 0xFFFFFFFF));
    EXPECT_TRUE(near(image.pixel(390, 226), 0xFFFFFFFF));
}

TEST_F(SpriteBatch, FillReplacesTheRectangleInDrawingOrder) {
    CDrawContext draw(m_device);
    CPicture white(media::PictureImage{solidImage(8, 8, 0xFFFFFFFF), {8, 8, 1, 1}});
    const QImage image = frame([&] {
        draw.Picture(white, 0, {0, 0}, {10, 10});
        draw.Fill(QRect(10, 10, 20, 20), 0xFF794920);
        draw.Picture(white, 0, {20, 20}, {1, 1}, 0xFF00FF00);
        draw.Flush();
    });
    EXPECT_EQ(image.pixel(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(12, 12), 0xFF794920u);
    EXPECT_TRUE(near(image.pixel(24, 24), 0xFF00FF00));
}

// The power fill at power 1000 on 800 × 600: a 32 × 32 frame squeezed to
// 11 × 50 pixels with its top at y = 534 covers exactly those pixels.
TEST_F(SpriteBatch, StretchedFramesCoverExactlyTheirPixels) {
    CDrawContext draw(m_device);
    CPicture fill(media::PictureImage{solidImage(32, 32, 0xFFFF8000), {32, 32, 1, 1}});
    const QImage image = frame([&] {
        draw.Picture(fill, 0, {24, 534}, {11 / 32.0, 50 / 32.0});
        draw.Flush();
    });
    const QRect covered(24, 534, 11, 50);
    for (int y = covered.top() - 1; y <= covered.bottom() + 1; ++y) {
        for (int x = covered.left() - 1; x <= covered.right() + 1; ++x) {
            if (covered.contains(x, y))
                EXPECT_TRUE(near(image.pixel(x, y), 0xFFFF8000)) << x << "," << y;
            else
                EXPECT_EQ(image.pixel(x, y), kClearColour) << x << "," << y;
        }
    }
}

TEST_F(SpriteBatch, EmptyPicturesDrawNothing) {
    CDrawContext draw(m_device);
    CPicture empty(media::PictureImage{QImage(), {32, 32, 1, 1}});
    const QImage image = frame([&] {
        draw.Picture(empty, 0, {0, 0}, {10, 10});
        draw.Strip(empty, 0, {100, 100}, {1, 0}, {1, 1}, 0xFFFFFFFF);
        draw.Flush();
    });
    EXPECT_EQ(image.pixel(5, 5), kClearColour);
    EXPECT_EQ(image.pixel(110, 100), kClearColour);
}

} // namespace

#include "desk/media/PictureLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace desk::media;

namespace {

class PictureLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        ASSERT_TRUE(QDir(m_tmp.path()).mkpath("image"));
        ASSERT_TRUE(m_dir.Set(m_tmp.path().toStdString()));
    }
    QString imagePath(const char* name) const { return m_tmp.path() + "/image/" + name; }
    void write(const char* name, const QImage& image, const char* format) {
        ASSERT_TRUE(image.save(imagePath(name), format)) << name;
    }

    QTemporaryDir m_tmp;
    CMediaDirectory m_dir;
};

TEST_F(PictureLoaderTest, OpaqueBlackBecomesTransparentAndNothingElseDoes) {
    struct Case {
        const char* file;
        const char* format;
    };
    for (const Case c : {Case{"star.bmp", "BMP"}, Case{"desk.png", "PNG"}}) {
        QImage image(4, 1, QImage::Format_ARGB32);
        image.setPixel(0, 0, 0xFF000000u); // keyed
        image.setPixel(1, 0, 0xFF010000u); // nearly black: kept
        image.setPixel(2, 0, 0xFFFFFFFFu);
        image.setPixel(3, 0, 0xFF204080u);
        write(c.file, image, c.format);

        const PictureSheet sheet{c.file, 4, 1, 4, 1, 1, 1, true};
        const PictureImage picture = loadPicture(m_dir, sheet);
        ASSERT_FALSE(picture.IsEmpty()) << c.file;
        EXPECT_EQ(picture.image.pixel(0, 0), 0x00000000u) << c.file;
        EXPECT_EQ(picture.image.pixel(1, 0), 0xFF010000u) << c.file;
        EXPECT_EQ(picture.image.pixel(2, 0), 0xFFFFFFFFu) << c.file;
        EXPECT_EQ(picture.image.pixel(3, 0), 0xFF204080u) << c.file;
    }
}

TEST_F(PictureLoaderTest, TranslucentBlackIsNotKeyedAndTexturesAreNeverKeyed) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, 0x80000000u);
    image.setPixel(1, 0, 0xFF000000u);
    write("light.png", image, "PNG");
    write("ball_black.bmp", image, "BMP");

    const PictureImage light = loadPicture(m_dir, pictureSheet(PictureId::Light));
    EXPECT_EQ(light.image.pixel(0, 0), 0x80000000u);
    EXPECT_EQ(light.image.pixel(1, 0), 0x00000000u);

    const QImage ball = loadTexture(m_dir, ballFile(7));
    ASSERT_FALSE(ball.isNull());
    EXPECT_EQ(ball.pixel(1, 0), 0xFF000000u);
}

TEST_F(PictureLoaderTest, MissingOrUnreadableFilesGiveEmptyPictures) {
    QFile garbage(imagePath("sz.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM this is not a bitmap at all");
    garbage.close();

    const PictureImage missing = loadPicture(m_dir, pictureSheet(PictureId::Shade));
    EXPECT_TRUE(missing.IsEmpty());
    EXPECT_EQ(missing.grid.frames, 1) << "the grid is known even without the file";
    EXPECT_TRUE(loadPicture(m_dir, pictureSheet(PictureId::Digits)).IsEmpty());
    EXPECT_TRUE(loadTexture(m_dir, kCueFile).isNull());

    CMediaDirectory unset;
    EXPECT_TRUE(loadPicture(unset, pictureSheet(PictureId::Shade)).IsEmpty());
}

TEST_F(PictureLoaderTest, OversizedPicturesAreRefused) {
    write("cue.bmp", QImage(kMaxPictureSide + 1, 1, QImage::Format_RGB32), "PNG");
    EXPECT_TRUE(loadTexture(m_dir, kCueFile).isNull());
}

TEST(FrameGrid, CutsFramesInRowsFromTheTopLeft) {
    struct Case {
        PictureId id;
        int frame;
        QRect expected;
    };
    const Case cases[] = {
        {PictureId::Digits, 0, {0, 0, 32, 32}},
        {PictureId::Digits, 5, {32, 32, 32, 32}},
        {PictureId::Digits, 10, {64, 64, 32, 32}},
        {PictureId::Light, 4, {800, 0, 200, 200}},
        {PictureId::Marks, 2, {32, 0, 16, 16}},
        {PictureId::GameStart, 1, {0, 32, 64, 32}},
        {PictureId::Desk, 0, {0, 0, 800, 600}},
        {PictureId::Digits, 11, {}},
        {PictureId::Light, -1, {}},
    };
    for (const Case& c : cases) {
        const PictureSheet& s = pictureSheet(c.id);
        const FrameGrid grid{s.frameWidth, s.frameHeight, s.columns, s.frames};
        EXPECT_EQ(grid.Frame(c.frame), c.expected) << s.file << " frame " << c.frame;
    }
}

TEST(BackgroundPicture, CopiesTheBitmapOpaqueAndPadsWithBlack) {
    QImage bitmap(2, 2, QImage::Format_ARGB32);
    bitmap.fill(0x40112233u);
    bitmap.setPixel(1, 1, 0xFF000000u);

    const PictureImage picture = pictureFromBitmap(bitmap, 3, 2);
    ASSERT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.image.size(), QSize(3, 2));
    EXPECT_EQ(picture.grid.Frame(0), QRect(0, 0, 3, 2));
    EXPECT_EQ(qAlpha(picture.image.pixel(0, 0)), 0xFF);
    EXPECT_EQ(picture.image.pixel(1, 1), 0xFF000000u) << "no colour key on the background";
    EXPECT_EQ(picture.image.pixel(2, 0), 0xFF000000u) << "outside the bitmap";

    EXPECT_TRUE(pictureFromBitmap(bitmap, 0, 2).IsEmpty());
    EXPECT_TRUE(pictureFromBitmap(bitmap, 2, -1).IsEmpty());
    EXPECT_TRUE(pictureFromBitmap(bitmap, kMaxPictureSide + 1, 2).IsEmpty());
    EXPECT_FALSE(pictureFromBitmap(QImage(), 2, 2).IsEmpty()) << "a null bitmap gives black";
}

} // namespace

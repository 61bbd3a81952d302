#include "desk/media/PictureLoader.h"
#include "tools/assetgen/AssetGenerator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace desk::media;

namespace {

class AssetGenerator : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_tmp = new QTemporaryDir;
        QString error;
        s_files = assetgen::generateResources(s_tmp->path(), &error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        ASSERT_TRUE(s_dir.Set(s_tmp->path().toStdString()));
    }
    static void TearDownTestSuite() { delete s_tmp; }

    static QTemporaryDir* s_tmp;
    static QStringList s_files;
    static CMediaDirectory s_dir;
};
QTemporaryDir* AssetGenerator::s_tmp = nullptr;
QStringList AssetGenerator::s_files;
CMediaDirectory AssetGenerator::s_dir;

bool frameHasPixels(const QImage& image, const QRect& frame) {
    for (int y = frame.top(); y <= frame.bottom(); ++y)
        for (int x = frame.left(); x <= frame.right(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

TEST_F(AssetGenerator, EverySheetHasItsSizeAndEveryFrameIsDrawn) {
    for (const PictureSheet& sheet : pictureSheets()) {
        const PictureImage picture = loadPicture(s_dir, sheet);
        ASSERT_FALSE(picture.IsEmpty()) << sheet.file;
        EXPECT_EQ(picture.image.size(), QSize(sheet.sheetWidth, sheet.sheetHeight)) << sheet.file;
        for (int k = 0; k < sheet.frames; ++k)
            EXPECT_TRUE(frameHasPixels(picture.image, picture.grid.Frame(k)))
                << sheet.file << " frame " << k;
    }
    for (int i = 0; i < kBallCount; ++i) {
        const QImage ball = loadTexture(s_dir, ballFile(i));
        ASSERT_FALSE(ball.isNull()) << i;
        EXPECT_EQ(ball.width(), 2 * ball.height()) << "longitude runs twice as far as latitude";
    }
    EXPECT_FALSE(loadTexture(s_dir, kCueFile).isNull());
    EXPECT_EQ(s_files.size(), kPictureCount + kBallCount + 1 + kSoundCount);
}

TEST_F(AssetGenerator, TheTablePictureMatchesTheTable) {
    const PictureImage desk = loadPicture(s_dir, pictureSheet(PictureId::Desk));
    ASSERT_FALSE(desk.IsEmpty());
    // Outside the 800 × 600 picture and in the corners round the rails: transparent.
    EXPECT_EQ(qAlpha(desk.image.pixel(900, 100)), 0);
    EXPECT_EQ(qAlpha(desk.image.pixel(100, 700)), 0);
    EXPECT_EQ(qAlpha(desk.image.pixel(0, 0)), 0);
    // Cloth in the middle of the playing area.
    const QRgb cloth = desk.image.pixel(400, 230);
    EXPECT_GT(qGreen(cloth), qRed(cloth) + 40);
    // The pockets are dark where balls drop: the middle of each pocket zone.
    const QPoint pockets[6] = {{36, 45}, {395, 25}, {754, 45}, {754, 406}, {395, 420}, {36, 406}};
    for (const QPoint& p : pockets) {
        EXPECT_EQ(qAlpha(desk.image.pixel(p)), 255) << p.x() << "," << p.y();
        EXPECT_LT(qGray(desk.image.pixel(p)), 40) << p.x() << "," << p.y();
    }
    // The player panel is light so that black names read on it.
    EXPECT_GT(qGray(desk.image.pixel(150, 520)), 180);
}

TEST_F(AssetGenerator, SoundsAreShortPcmWaves) {
    for (SoundId id : soundLoadOrder()) {
        const auto name = soundFile(id);
        QFile file(QString::fromStdString(*s_dir.SoundPath(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray wav = file.readAll();
        ASSERT_GE(wav.size(), 44) << name;
        auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
        EXPECT_EQ(wav.left(4), "RIFF");
        EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(u32(4), quint32(wav.size() - 8));
        EXPECT_EQ(u16(20), 1) << "PCM";
        EXPECT_EQ(u16(22), 1) << "mono";
        EXPECT_EQ(u32(24), 22050u);
        EXPECT_EQ(u16(34), 16);
        EXPECT_EQ(u32(40), quint32(wav.size() - 44));
        const double seconds = double(u32(40)) / (22050 * 2);
        EXPECT_GT(seconds, 0.05) << name;
        EXPECT_LT(seconds, 1.5) << name;
        int loudest = 0;
        for (int i = 44; i + 1 < wav.size(); i += 2)
            loudest =
                std::max(loudest, std::abs(int(qFromLittleEndian<qint16>(wav.constData() + i))));
        EXPECT_GT(loudest, 20000) << name;
    }
}

TEST_F(AssetGenerator, TheSameBuildWritesTheSameFiles) {
    QTemporaryDir again;
    QString error;
    ASSERT_EQ(assetgen::generateResources(again.path(), &error), s_files);
    for (const QString& name : s_files) {
        QFile a(s_tmp->filePath(name)), b(again.filePath(name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll()) << name.toStdString();
    }
}

TEST(AssetGeneratorErrors, AnUnwritableDirectoryIsReported) {
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath("res"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the directory should be
    blocker.close();
    QString error;
    EXPECT_TRUE(assetgen::generateResources(tmp.filePath("res"), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace

#include "platform/resources/ResourcePack.h"

#include "platform/text/Gbk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::CResourcePack;

CResourcePack openTestPack() {
    return CResourcePack::openFile(QStringLiteral(TEST_PACK));
}

TEST(ResourcePack, ReadsNumberedStringsAsGbk) {
    const CResourcePack pack = openTestPack();
    ASSERT_TRUE(pack.isLoaded());
    EXPECT_EQ(pack.LoadString(101), "16777215");
    EXPECT_EQ(pack.LoadString(147), "image");
    EXPECT_EQ(pack.LoadString(1311), platform::gbk::fromUnicode(QStringLiteral("宋体头像")));
    EXPECT_EQ(pack.LoadString(300), "42"); // a number in the table is its decimal text
    EXPECT_EQ(pack.LoadString(200), "");
    EXPECT_EQ(pack.LoadString(999), "");
    EXPECT_EQ(pack.LoadString(-5), ""); // keys that are no string number are dropped
}

TEST(ResourcePack, StringsAreCutToTheCallersBuffer) {
    const CResourcePack pack = openTestPack();
    struct Case {
        int id;
        std::size_t buffer;
        QByteArray expected;
    };
    const QByteArray head = platform::gbk::fromUnicode(QStringLiteral("宋体头像"));
    const Case cases[] = {
        {101, 19, "16777215"},   {101, 5, "1677"},        {101, 1, ""},
        {1311, 99, head},        {1311, 4, head.left(2)}, {1311, 5, head.left(4)},
        {1311, 6, head.left(4)}, // never half a character
    };
    for (const Case& c : cases)
        EXPECT_EQ(pack.LoadString(c.id, c.buffer), c.expected) << c.id << " in " << c.buffer;
}

TEST(ResourcePack, NumbersAreReadAsDecimalTextAndMissingOnesAreZero) {
    const CResourcePack pack = openTestPack();
    EXPECT_EQ(pack.LoadNumber(101, 19), 16777215);
    EXPECT_EQ(pack.LoadNumber(113, 19), 28); // leading blanks and trailing text as atoi reads
    EXPECT_EQ(pack.LoadNumber(101, 4), 167); // cut before it is converted
    EXPECT_EQ(pack.LoadNumber(147, 19), 0);
    EXPECT_EQ(pack.LoadNumber(153, 19), 0); // missing
}

TEST(ResourcePack, LoadsBitmapsIconsAndWavesByName) {
    const CResourcePack pack = openTestPack();
    const QImage border = pack.LoadBitmap("IDB_BORDER41");
    ASSERT_FALSE(border.isNull());
    EXPECT_EQ(border.size(), QSize(4, 3));
    EXPECT_EQ(border.pixelColor(3, 2), QColor(180, 200, 200));
    EXPECT_EQ(border.pixelColor(0, 0), QColor(0, 0, 200));
    EXPECT_EQ(pack.LoadBitmap("idb_border41").size(), QSize(4, 3)); // stored in upper case
    EXPECT_EQ(pack.LoadBitmap("TABLE_BK2").pixelColor(1, 1), QColor(10, 20, 30)); // PNG

    const QIcon close = pack.LoadIcon("CAPTION_CLOSE");
    ASSERT_FALSE(close.isNull());
    EXPECT_EQ(close.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(255, 0, 0));
    EXPECT_FALSE(pack.LoadIcon("IDI_2").isNull()); // PNG icon

    const QByteArray wave = pack.LoadWave("IDW_FAIL");
    EXPECT_EQ(wave.size(), 52);
    EXPECT_TRUE(wave.startsWith("RIFF"));
    EXPECT_EQ(pack.WaveUrl("IDW_FAIL").scheme(), "qrc");
}

TEST(ResourcePack, MissingEntriesAndPacksGiveNothing) {
    const CResourcePack pack = openTestPack();
    const CResourcePack none;
    const CResourcePack absent = CResourcePack::openFile("/nonexistent/billiardres01.rcc");
    EXPECT_FALSE(absent.isLoaded());
    for (const CResourcePack* p : {&pack, &none, &absent}) {
        EXPECT_TRUE(p->LoadBitmap("IDB_TITLE2").isNull());
        EXPECT_TRUE(p->LoadIcon("IDI_EXIT").isNull());
        EXPECT_TRUE(p->LoadWave("IDW_ONLINE").isEmpty());
        EXPECT_TRUE(p->WaveUrl("IDW_ONLINE").isEmpty());
    }
    EXPECT_EQ(none.LoadString(101), "");
    EXPECT_EQ(none.LoadNumber(101, 19), 0);
    // Entries of one kind are not found as another, and names stay in their folder.
    EXPECT_TRUE(pack.LoadBitmap("CAPTION_CLOSE").isNull());
    EXPECT_TRUE(pack.LoadWave("../wave/IDW_FAIL").isEmpty());
    EXPECT_TRUE(pack.LoadBitmap("").isNull());
}

// Each pack has its own root: two packs with the same entries coexist, and
// closing one leaves the other and the icons already loaded intact.
TEST(ResourcePack, PacksAreIndependentAndUnregisterWhenClosed) {
    CResourcePack first = openTestPack();
    const QIcon icon = first.LoadIcon("CAPTION_CLOSE");
    {
        const CResourcePack second = openTestPack();
        ASSERT_TRUE(second.isLoaded());
        EXPECT_EQ(second.LoadString(101), "16777215");
    }
    EXPECT_EQ(first.LoadString(101), "16777215");
    EXPECT_FALSE(first.LoadBitmap("IDB_BORDER41").isNull());

    const QUrl url = first.WaveUrl("IDW_FAIL");
    CResourcePack moved = std::move(first);
    EXPECT_FALSE(first.isLoaded());
    EXPECT_TRUE(moved.isLoaded());
    EXPECT_TRUE(QFile::exists(":" + url.path()));
    moved = CResourcePack();
    EXPECT_FALSE(QFile::exists(":" + url.path()));
    EXPECT_EQ(icon.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(255, 0, 0));
}

// The program looks for a pack in the game folder and then in its own folder.
TEST(ResourcePack, OpensTheFirstValidPackAlongTheFolders) {
    QTemporaryDir game, program, empty;
    ASSERT_TRUE(QFile::copy(TEST_PACK, program.filePath("billiardres01.rcc")));
    ASSERT_TRUE(QDir(program.path()).mkpath("room"));
    ASSERT_TRUE(QFile::copy(TEST_PACK, program.filePath("room/heada.rcc")));
    {
        QFile broken(game.filePath("picture11.rcc"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a resource pack");
    }
    ASSERT_TRUE(QFile::copy(TEST_PACK, program.filePath("picture11.rcc")));

    CResourcePack pack = CResourcePack::open("billiardres01.rcc", {empty.path(), program.path()});
    EXPECT_EQ(pack.filePath(), program.filePath("billiardres01.rcc"));
    pack = CResourcePack::open("picture11.rcc", {game.path(), program.path()});
    EXPECT_EQ(pack.filePath(), program.filePath("picture11.rcc")); // the broken one is passed over
    pack = CResourcePack::open("room/heada.rcc", {program.path()});
    EXPECT_EQ(pack.LoadString(1), "3");

    ASSERT_TRUE(QFile::copy(TEST_PACK, game.filePath("billiardres01.rcc")));
    pack = CResourcePack::open("billiardres01.rcc", {game.path(), program.path()});
    EXPECT_EQ(pack.filePath(), game.filePath("billiardres01.rcc"));

    pack = CResourcePack::open("billiardres11.rcc", {game.path(), program.path()});
    EXPECT_FALSE(pack.isLoaded());
    EXPECT_EQ(pack.LoadNumber(101, 19), 0);
}

} // namespace

#include "desk/media/MediaDirectory.h"
#include "desk/media/MediaFiles.h"

#include <gtest/gtest.h>
#include <set>

using desk::media::CMediaDirectory;

namespace {

TEST(MediaDirectory, BuildsImageAndSoundPaths) {
    CMediaDirectory dir;
    ASSERT_TRUE(dir.Set("/opt/game/res"));
    EXPECT_EQ(dir.ImagePath("desk.png"), "/opt/game/res/image/desk.png");
    EXPECT_EQ(dir.SoundDir(), "/opt/game/res/wav");
    EXPECT_EQ(dir.SoundPath("SlideDown.wav"), "/opt/game/res/wav/SlideDown.wav");
    EXPECT_EQ(dir.ImagePath(""), std::nullopt);
}

TEST(MediaDirectory, UnsetDirectoryGivesNoPaths) {
    CMediaDirectory dir;
    EXPECT_FALSE(dir.IsSet());
    EXPECT_EQ(dir.ImagePath("desk.png"), std::nullopt);
    EXPECT_EQ(dir.SoundDir(), std::nullopt);
    EXPECT_FALSE(dir.Set(""));
    EXPECT_FALSE(dir.Set(std::string_view("/res\0x", 6)));
}

// The longest picture name is a striped ball's; its path must fit 249 bytes.
TEST(MediaDirectory, RefusesADirectoryWhosePicturePathsWouldOverflowTheirField) {
    const std::size_t longestName = std::string_view("ball_yellow_stripe.bmp").size();
    const std::size_t fits = 249 - std::string_view("/image/").size() - longestName;
    EXPECT_EQ(CMediaDirectory::LongestImagePath(fits), 249u);

    CMediaDirectory dir;
    const std::string atLimit = "/" + std::string(fits - 1, 'd');
    ASSERT_TRUE(dir.Set(atLimit));
    EXPECT_EQ(dir.ImagePath("ball_purple_stripe.bmp")->size(), 249u);

    EXPECT_FALSE(dir.Set(atLimit + "d"));
    EXPECT_FALSE(dir.IsSet()) << "a refused directory leaves nothing to load from";
    EXPECT_EQ(dir.ImagePath("star.bmp"), std::nullopt) << "not even the short names";
}

TEST(MediaFiles, EveryFileNameIsDistinctAndEverySheetHoldsItsFrames) {
    std::set<std::string_view> names;
    for (const auto& sheet : desk::media::pictureSheets()) {
        EXPECT_TRUE(names.insert(sheet.file).second) << sheet.file;
        const int rows = (sheet.frames + sheet.columns - 1) / sheet.columns;
        EXPECT_LE(sheet.columns * sheet.frameWidth, sheet.sheetWidth) << sheet.file;
        EXPECT_LE(rows * sheet.frameHeight, sheet.sheetHeight) << sheet.file;
    }
    for (int i = 0; i < desk::media::kBallCount; ++i)
        EXPECT_TRUE(names.insert(desk::media::ballFile(i)).second) << i;
    EXPECT_TRUE(desk::media::ballFile(16).empty());
    EXPECT_TRUE(desk::media::ballFile(-1).empty());
    for (auto id : desk::media::soundLoadOrder())
        EXPECT_TRUE(names.insert(desk::media::soundFile(id)).second);
}

} // namespace

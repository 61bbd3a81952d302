#include "platform/settings/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Points the per-user settings at a fresh folder for each test, as
// $XDG_CONFIG_HOME would.
class UserSettings : public ::testing::Test {
protected:
    void SetUp() override { useFreshHome(); }

    void useFreshHome() {
        m_home = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(m_home->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home->path());
    }

    QString filePath() const { return m_home->filePath("vorlan/insound.conf"); }

    void writeFile(const QByteArray& content) const {
        QDir(m_home->path()).mkpath("vorlan");
        QFile file(filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QByteArray readFile() const {
        QFile file(filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> m_home;
};

TEST_F(UserSettings, MissingValueMeansSoundOn) {
    EXPECT_EQ(platform::readSoundSetting(), 1);
    writeFile("[General]\nOther=0\n");
    EXPECT_EQ(platform::readSoundSetting(), 1);
}

TEST_F(UserSettings, WritesTheDecimalTextAndReadsItBack) {
    ASSERT_TRUE(platform::writeSoundSetting(0));
    EXPECT_TRUE(readFile().contains("Default=0")) << readFile().constData();
    EXPECT_EQ(platform::readSoundSetting(), 0);
    ASSERT_TRUE(platform::writeSoundSetting(1));
    EXPECT_EQ(platform::readSoundSetting(), 1);
}

TEST_F(UserSettings, StoredTextIsReadAsADecimalNumberWithinTwentyBytes) {
    struct Case {
        QByteArray content;
        int expected;
    };
    const Case cases[] = {
        {"[General]\nDefault=0\n", 0},
        {"[General]\nDefault=1\n", 1},
        {"[general]\ndefault=0\n", 1},   // names are exact in the file
        {"[General]\nDefault=abc\n", 0}, // text, not a number: as atoi reads it
        {"[General]\nDefault=\"0\"\n", 0},
        {"[General]\nDefault=0000000000000000007\n", 7},  // 19 characters fit
        {"[General]\nDefault=00000000000000000000\n", 1}, // 20 do not
        {"[General]\nDefault=0, 1\n", 1},                 // a list is not the value
        {"[General]\nDefault=@ByteArray(0)\n", 1},
    };
    for (const Case& c : cases) {
        // A fresh folder per case: QSettings caches a file it has read until
        // its size or time stamp changes, and these files differ in neither.
        useFreshHome();
        writeFile(c.content);
        EXPECT_EQ(platform::readSoundSetting(), c.expected) << c.content.constData();
    }
}

TEST_F(UserSettings, UnreadableFileMeansSoundOnAndCannotBeWritten) {
    // A folder where the file should be can be neither read nor written.
    QDir(m_home->path()).mkpath("vorlan/insound.conf");
    EXPECT_EQ(platform::readSoundSetting(), 1);
    EXPECT_FALSE(platform::writeSoundSetting(0));
    EXPECT_EQ(platform::readSoundSetting(), 1);
}

TEST_F(UserSettings, KeysAreSeparatePerApplication) {
    const platform::CUserSettingsKey other("vorlan", "other");
    ASSERT_TRUE(other.setDefault("0"));
    EXPECT_EQ(other.queryDefault(20), std::optional<std::string>("0"));
    EXPECT_EQ(other.queryDefault(1), std::nullopt);
    EXPECT_EQ(platform::readSoundSetting(), 1);
}

} // namespace

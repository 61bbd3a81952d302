#include "platform/text/Gbk.h"

#include <cstring>
#include <gtest/gtest.h>

namespace gbk = platform::gbk;

namespace {

TEST(Gbk, RoundTripsChineseTexts) {
    for (const QString& text : {QStringLiteral("台球"), QStringLiteral("请%s开始击球"),
                                QStringLiteral("游戏服务器连接失败"), QStringLiteral("plain")}) {
        const QByteArray bytes = gbk::fromUnicode(text);
        EXPECT_EQ(gbk::toUnicode(bytes), text) << text.toStdString();
    }
    EXPECT_EQ(gbk::fromUnicode(QStringLiteral("台球")), QByteArray("\xCC\xA8\xC7\xF2"));
}

TEST(Gbk, InvalidBytesBecomeReplacementCharacters) {
    // 0xFF is never valid; a lead byte at the very end is cut off.
    EXPECT_EQ(gbk::toUnicode(std::string_view("a\xFF"
                                              "b",
                                              3)),
              QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(gbk::toUnicode(std::string_view("\xFF", 1)), QStringLiteral("\uFFFD"));
    EXPECT_EQ(gbk::toUnicode(std::string_view("x\xCC", 2)), QStringLiteral("x\uFFFD"));
    // A valid character after garbage still comes through.
    EXPECT_EQ(gbk::toUnicode(std::string_view("\xFF\xCC\xA8", 3)), QStringLiteral("\uFFFD台"));
    // Code page 936 gives the single byte 0x80 the euro sign.
    EXPECT_EQ(gbk::toUnicode(std::string_view("\x80", 1)), QStringLiteral("€"));
}

TEST(Gbk, CharactersOutsideGbkBecomeOneQuestionMarkEach) {
    EXPECT_EQ(gbk::fromUnicode(QStringLiteral("a😀b")), QByteArray("a?b"));
}

TEST(Gbk, CopyToFieldNeverSplitsADoubleByteCharacter) {
    const std::string text = "\xCC\xA8\xC7\xF2"; // 台球
    struct Case {
        std::size_t field;
        std::string expected;
    };
    const Case cases[] = {
        {1, ""}, {2, ""}, {3, "\xCC\xA8"}, {4, "\xCC\xA8"}, {5, "\xCC\xA8\xC7\xF2"}, {9, text},
    };
    for (const auto& c : cases) {
        char field[16];
        std::memset(field, 'X', sizeof field);
        const std::size_t n = gbk::copyToField(field, c.field, text);
        EXPECT_EQ(n, c.expected.size()) << "field " << c.field;
        EXPECT_EQ(std::string(field), c.expected) << "field " << c.field;
        // The whole field is written and nothing beyond it.
        for (std::size_t i = n; i < c.field; ++i)
            EXPECT_EQ(field[i], '\0');
        EXPECT_EQ(field[c.field], 'X');
    }
}

TEST(Gbk, CopyToFieldMixedTextAndEmbeddedZero) {
    char field[4];
    gbk::copyToField(field, std::string_view("a\xCC\xA8"
                                             "b",
                                             4));
    EXPECT_EQ(std::string(field), "a\xCC\xA8");
    gbk::copyToField(field, std::string_view("ab\0cd", 5));
    EXPECT_EQ(std::string(field), "ab");
}

} // namespace

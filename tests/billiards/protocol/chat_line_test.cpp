#include "billiards/protocol/ChatLine.h"
#include "platform/text/Gbk.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace protocol;
using namespace protocol::testing;

namespace {

TEST(ChatLine, BuildLayout) {
    CChat_Line line;
    line.m_nPersonId = 77;
    line.m_nSeatNo = 1;
    line.m_nWatchNo = -1;
    platform::gbk::copyToField(line.m_sFontFace, platform::gbk::fromUtf8("宋体"));
    line.m_nColor = 0x00FF00;
    line.m_nFontSize = 9;
    line.m_nStyle[0] = 1;
    line.m_nStyle[4] = 5;
    line.SetText(platform::gbk::fromUtf8("你好 abc"));
    const auto body = line.Build();
    ASSERT_EQ(body.size(), 48u + 8u + 1u);
    EXPECT_EQ(u32At(body, 0), 77u);
    EXPECT_EQ(i16At(body, 4), 1);
    EXPECT_EQ(i16At(body, 6), -1);
    EXPECT_EQ(body[8], 0xCB); // 宋 in GBK
    EXPECT_EQ(body[12], 0);
    EXPECT_EQ(i32At(body, 28), 0x00FF00);
    EXPECT_EQ(i16At(body, 32), 9);
    EXPECT_EQ(i16At(body, 34), 1);
    EXPECT_EQ(i16At(body, 42), 5);
    EXPECT_EQ(i16At(body, 44), 8);
    EXPECT_EQ(body.back(), 0);
}

TEST(ChatLine, LongLinesAreCutToWholeCharacters) {
    // 398 ASCII bytes then a two-byte character: taking it would need 400.
    const std::string text = std::string(398, 'x') + platform::gbk::fromUtf8("中") + "tail";
    CChat_Line line;
    line.SetText(text);
    EXPECT_EQ(line.m_sText.size(), 398u);
    line.m_sText = text; // Build cuts even when SetText was bypassed
    const auto body = line.Build();
    EXPECT_EQ(body.size(), 48u + 398u + 1u);
    EXPECT_EQ(i16At(body, 44), 398);

    line.SetText(std::string(500, 'y'));
    EXPECT_EQ(line.Build().size(), 48u + 399u + 1u);
}

TEST(ChatLine, ReceivedTextEndsAtTheMessageEnd) {
    const struct {
        std::string tail; // bytes after the fixed part
        std::string text; // what is read
    } cases[] = {
        {std::string("hello") + '\0', "hello"},
        {"hello", "hell"},                         // no terminator: the last byte is taken as one
        {std::string("hi\0junk", 7) + '\0', "hi"}, // stops at the first zero
        {"", ""},
        {std::string(1000, 'z') + '\0', std::string(399, 'z')},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> body(48 + c.tail.size(), 0);
        putBE(body, 44, 0x7FFF, 2); // the length field is not trusted
        std::copy(c.tail.begin(), c.tail.end(), body.begin() + 48);
        CChat_Line line;
        ASSERT_TRUE(line.Parse(body));
        EXPECT_EQ(line.m_sText, c.text);
    }
    CChat_Line line;
    EXPECT_FALSE(line.Parse(std::vector<uint8_t>(47, 0)));
}

TEST(ChatLine, FontFaceWithoutTerminatorIsBounded) {
    std::vector<uint8_t> body(49, 'F');
    body[48] = 0;
    CChat_Line line;
    ASSERT_TRUE(line.Parse(body));
    EXPECT_EQ(platform::gbk::fieldText(line.m_sFontFace).size(), 19u);
}

} // namespace

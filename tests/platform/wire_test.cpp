#include "platform/wire/BodyReader.h"
#include "platform/wire/BodyWriter.h"

#include <functional>
#include <gtest/gtest.h>

using platform::CBodyReader;
using platform::CBodyWriter;

namespace {

TEST(BodyWriter, WritesBigEndianFieldsPaddingAndText) {
    CBodyWriter w;
    w.u16(0x0259).i16(-2).u32(0x01020304).i32(-1).pad(2).text("ab", 4).u8(7);
    const std::vector<uint8_t> expected = {0x02, 0x59, 0xFF, 0xFE, 1,   2,   3, 4, 0xFF, 0xFF,
                                           0xFF, 0xFF, 0,    0,    'a', 'b', 0, 0, 7};
    EXPECT_EQ(w.data(), expected);
}

TEST(BodyWriter, TextFieldIsCutToWholeCharactersAndTerminated) {
    // "台球" in GBK is four bytes; a 4-byte field holds 3 text bytes, so only
    // the first character fits.
    const std::string taiqiu = "\xCC\xA8\xC7\xF2";
    CBodyWriter w;
    w.text(taiqiu, 4);
    EXPECT_EQ(w.data(), (std::vector<uint8_t>{0xCC, 0xA8, 0, 0}));
}

TEST(BodyReader, ReadsWhatTheWriterWrote) {
    CBodyWriter w;
    w.u16(65535).i16(-32768).u32(4000000000u).i32(-123456).pad(3).text("name", 8);
    CBodyReader r(w.data());
    EXPECT_EQ(r.u16(), 65535);
    EXPECT_EQ(r.i16(), -32768);
    EXPECT_EQ(r.u32(), 4000000000u);
    EXPECT_EQ(r.i32(), -123456);
    r.skip(3);
    EXPECT_EQ(r.text(8), "name");
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.atEnd());
}

TEST(BodyReader, EveryReadPastTheEndFailsWithoutTouchingMemory) {
    const uint8_t one[1] = {0xAB};
    struct Case {
        const char* what;
        std::function<void(CBodyReader&)> read;
    };
    const Case cases[] = {
        {"u16", [](CBodyReader& r) { EXPECT_EQ(r.u16(), 0); }},
        {"i16", [](CBodyReader& r) { EXPECT_EQ(r.i16(), 0); }},
        {"u32", [](CBodyReader& r) { EXPECT_EQ(r.u32(), 0u); }},
        {"i32", [](CBodyReader& r) { EXPECT_EQ(r.i32(), 0); }},
        {"skip", [](CBodyReader& r) { r.skip(2); }},
        {"bytes", [](CBodyReader& r) { EXPECT_TRUE(r.bytes(2).empty()); }},
        {"text", [](CBodyReader& r) { EXPECT_EQ(r.text(16), ""); }},
        {"huge skip", [](CBodyReader& r) { r.skip(SIZE_MAX); }},
    };
    for (const auto& c : cases) {
        CBodyReader r(one, sizeof one);
        c.read(r);
        EXPECT_TRUE(r.failed()) << c.what;
        // Once failed, the reader stays failed and yields zeros.
        EXPECT_EQ(r.u8(), 0) << c.what;
        EXPECT_TRUE(r.failed()) << c.what;
    }
}

TEST(BodyReader, UnterminatedTextFieldIsBoundedAndTerminated) {
    const uint8_t field[6] = {'a', 'b', 'c', 'd', 'e', 'f'};
    CBodyReader r(field, sizeof field);
    char dst[4];
    r.text(dst, 6);
    EXPECT_STREQ(dst, "abc");
    EXPECT_TRUE(r.ok());

    CBodyReader r2(field, sizeof field);
    EXPECT_EQ(r2.text(6), "abcdef");
}

} // namespace

// Frames compared byte for byte with frames computed independently of this
// code (MD5 from a reference implementation over the documented inputs).
#include "billiards/protocol/BilliardsMessages.h"
#include "billiards/protocol/Framing.h"
#include "billiards/protocol/TableMessages.h"

#include <gtest/gtest.h>
#include <string>

using namespace protocol;

namespace {

std::string hex(std::span<const uint8_t> bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

TEST(Framing, DetectIsAHeaderOnlyMessageWithAKeyedTrailer) {
    CFrameSender sender;
    sender.SetKey(0x12345678);
    sender.SetCounter(4);
    const auto frame = sender.Next(msg::Detect, CDetect{}.Build(), TrailerKind::Keyed);
    ASSERT_EQ(frame.size(), 49u);
    EXPECT_EQ(hex(frame), "0bc300000000001100000005a0b7ac348f91c8c650f603a7dfbbc642000000004"
                          "96b46cbb48f4df3366272278c15f04c00");
    EXPECT_EQ(sender.Counter(), 5u);
}

TEST(Framing, LoginCarriesTheFixedTrailer) {
    CTable_Login login;
    login.m_nPersonId = 100001;
    login.m_nDeskNo = 3;
    login.m_nSeatNo = 1;
    login.m_nWatchNo = -1;
    login.m_nServiceType = 2;
    login.m_nGameType = 7;
    login.m_nSubType = 1;
    // The key must not matter for a fixed trailer.
    const auto frame = BuildFrame(msg::Table_Login, 1, login.Build(), TrailerKind::Fixed, 0xDEAD);
    ASSERT_EQ(frame.size(), 65u);
    EXPECT_EQ(hex(frame), "0bb9000000000021000000012404a010c6940165a7cebd79b0de268500000000000"
                          "186a100030001ffff00020007000170b65e6c08787d5a8f9aed205e2e300c00");
}

// Distinct values in every field so that a shifted or swapped field shows.
std::array<SphereRecord, 16> deskBalls() {
    std::array<SphereRecord, 16> balls{};
    for (int i = 0; i < 16; ++i) {
        auto& b = balls[std::size_t(i)];
        b.index = int16_t(i);
        b.reserved0 = 0x7777; // the desk's reserved halves never reach the wire
        b.m_nX = 1000 * i + 1;
        b.m_nY = -(2000 * i + 2);
        b.m_nZ = 28575;
        b.m_nStatus = int16_t(i % 3);
        b.reserved1 = 0x5555;
        for (int k = 0; k < 12; ++k)
            b.rotation[k] = i * 100 + k;
    }
    return balls;
}

TEST(Framing, ShotOutcomeFromTheDeskRecord) {
    const auto balls = deskBalls();
    JudgeRecord jg{};
    jg.m_bIsTouch_Nothing = 1;
    jg.m_bIsTouch_Other = 0;
    jg.m_bIsTouch_No_Desk = 1;
    const auto m = CCrash_End_InPlay::FromDesk(1, 16, balls.data(), jg);
    const auto frame = BuildFrame(m.kType, 42, m.Build(), TrailerKind::Keyed, 0xCAFEBABE);
    ASSERT_EQ(frame.size(), 32u + 1100u + 17u);
    EXPECT_EQ(hex(std::span(frame).first(32)),
              "026900000000045d0000002af0707058713ac17ecca491fad70840e700000000");
    EXPECT_EQ(hex(std::span(frame).last(17)), "7cdf8d2d917fb9b2e5f980e27ec87abd00");
    EXPECT_EQ(CMD5Checksum::ToHex(CMD5Checksum::GetMD5(frame.data(), frame.size())),
              "f0864d998fec2abbbe4d524b84914e23");
}

TEST(Framing, TouchedMyselfIsZeroExactlyWhenTheDeskSaysOtherIsOne) {
    const auto balls = deskBalls();
    const struct {
        int16_t other;
        int16_t myself;
    } cases[] = {{1, 0}, {0, 1}, {2, 1}, {-1, 1}, {int16_t(0x101), 1}};
    for (const auto& c : cases) {
        JudgeRecord jg{};
        jg.m_bIsTouch_Other = c.other;
        const auto body = CCrash_End_InPlay::FromDesk(0, 16, balls.data(), jg).Build();
        EXPECT_EQ(body[1094], 0) << c.other;
        EXPECT_EQ(body[1095], c.myself) << c.other;
    }
}

TEST(Framing, HeaderDigestCoversTypeLengthSeqAndSalt) {
    const auto h = MessageHeader::Make(618, 1113, 0x01020304);
    const auto bytes = h.Encode();
    EXPECT_EQ(hex(std::span(bytes).first(12)), "026a000000000459"
                                               "01020304");
    EXPECT_EQ(hex(std::span(bytes).last(4)), "00000000");
    const auto back = MessageHeader::Decode(bytes);
    EXPECT_EQ(back.type, 618);
    EXPECT_EQ(back.length, 1113u);
    EXPECT_EQ(back.seq, 0x01020304u);
    EXPECT_EQ(back.digest, h.digest);
}

TEST(Framing, TrailerChecksAcceptTheirOwnKindOnly) {
    const std::vector<uint8_t> body = {1, 2, 3, 4, 5};
    const auto keyed = BuildFrame(3021, 9, body, TrailerKind::Keyed, 77);
    const auto payload = std::span(keyed).subspan(kHeaderSize);
    EXPECT_TRUE(KeyedTrailerMatches(payload, 9, 77));
    EXPECT_FALSE(KeyedTrailerMatches(payload, 8, 77));
    EXPECT_FALSE(KeyedTrailerMatches(payload, 9, 78));
    EXPECT_FALSE(FixedTrailerMatches(payload));

    const auto fixed = BuildFrame(3009, 9, body, TrailerKind::Fixed, 77);
    EXPECT_TRUE(FixedTrailerMatches(std::span(fixed).subspan(kHeaderSize)));

    // The 17th trailer byte is not part of the check; a payload shorter than
    // a trailer never matches.
    auto changed = keyed;
    changed.back() = 0xFF;
    EXPECT_TRUE(KeyedTrailerMatches(std::span(changed).subspan(kHeaderSize), 9, 77));
    EXPECT_FALSE(KeyedTrailerMatches(payload.first(16), 9, 77));
}

TEST(Framing, BodyInTwoPiecesIsOneBody) {
    const std::vector<uint8_t> a = {1, 2, 3}, b = {4, 5}, whole = {1, 2, 3, 4, 5};
    EXPECT_EQ(BuildFrame(3021, 3, a, TrailerKind::Keyed, 5, b),
              BuildFrame(3021, 3, whole, TrailerKind::Keyed, 5));
}

TEST(Framing, ValidLengths) {
    EXPECT_TRUE(IsValidLength(0));
    EXPECT_FALSE(IsValidLength(1));
    EXPECT_FALSE(IsValidLength(16));
    EXPECT_TRUE(IsValidLength(17));
    EXPECT_TRUE(IsValidLength(kMaxMessageLength));
    EXPECT_FALSE(IsValidLength(kMaxMessageLength + 1));
    EXPECT_FALSE(IsValidLength(0xFFFFFFFF));
    // The largest person list of a full table still fits.
    EXPECT_GE(kMaxMessageLength, 100u * 264u + 17u);
}

} // namespace

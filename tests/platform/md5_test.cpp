#include "platform/md5/CMD5Checksum.h"

#include <gtest/gtest.h>

namespace {

struct Vector {
    const char* input;
    const char* digest;
};

// The test suite of RFC 1321, appendix A.5.
constexpr Vector kRfc1321[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(MD5, MatchesTheRfcSuite) {
    for (const auto& v : kRfc1321)
        EXPECT_EQ(CMD5Checksum::ToHex(CMD5Checksum::GetMD5(v.input)), v.digest) << v.input;
}

TEST(MD5, IncrementalUpdatesInAnySplitGiveTheSameDigest) {
    const std::string text = kRfc1321[6].input;
    for (std::size_t chunk : {1u, 3u, 7u, 55u, 56u, 63u, 64u, 65u}) {
        CMD5Checksum md5;
        for (std::size_t at = 0; at < text.size(); at += chunk)
            md5.Update(std::string_view(text).substr(at, chunk));
        EXPECT_EQ(CMD5Checksum::ToHex(md5.Final()), kRfc1321[6].digest) << "chunk " << chunk;
    }
}

TEST(MD5, FinalStartsOver) {
    CMD5Checksum md5;
    md5.Update("garbage");
    md5.Final();
    md5.Update("abc");
    EXPECT_EQ(CMD5Checksum::ToHex(md5.Final()), kRfc1321[2].digest);
}

TEST(MD5, PaddingBoundaries) {
    // Lengths around the 56-byte boundary need one or two padding blocks.
    const std::string a55(55, 'a'), a56(56, 'a'), a64(64, 'a');
    EXPECT_EQ(CMD5Checksum::ToHex(CMD5Checksum::GetMD5(a55)), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(CMD5Checksum::ToHex(CMD5Checksum::GetMD5(a56)), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(CMD5Checksum::ToHex(CMD5Checksum::GetMD5(a64)), "014842d480b571495a4a0363793f7367");
}

} // namespace

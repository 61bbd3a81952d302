#include "desk/model/SphereRecord.h"
#include "desk/rules/JudgeRecord.h"
#include "platform/packed/Packed.h"

#include <array>
#include <gtest/gtest.h>

namespace {

TEST(PackedRecords, SphereArrayRoundTripsThroughBytesLittleEndian) {
    std::array<SphereRecord, kSphereRecordCount> balls{};
    balls[3].index = 3;
    balls[3].m_nX = -1234567;
    balls[3].m_nStatus = 2;
    std::array<std::byte, 16 * 68> bytes{};
    ASSERT_TRUE(platform::writeRecords<SphereRecord>(balls, bytes));
    // Record 3 starts at 3 × 68; m_nX at +4, little-endian.
    const auto at = 3 * 68 + 4;
    EXPECT_EQ(std::to_integer<uint8_t>(bytes[at]), 0x79); // -1234567 = 0xFFED2979
    EXPECT_EQ(std::to_integer<uint8_t>(bytes[at + 3]), 0xFF);

    std::array<SphereRecord, kSphereRecordCount> back{};
    ASSERT_TRUE(platform::readRecords<SphereRecord>(bytes, back));
    EXPECT_EQ(back[3].m_nX, -1234567);
    EXPECT_EQ(back[3].m_nStatus, 2);
}

TEST(PackedRecords, ShortBufferIsRefusedAndLeavesTheRecordsAlone) {
    std::array<SphereRecord, kSphereRecordCount> balls{};
    balls[0].m_nX = 42;
    std::array<std::byte, 16 * 68 - 1> shortBytes{};
    EXPECT_FALSE(platform::readRecords<SphereRecord>(shortBytes, balls));
    EXPECT_EQ(balls[0].m_nX, 42);
    EXPECT_FALSE(platform::writeRecords<SphereRecord>(balls, shortBytes));
}

TEST(PackedRecords, JudgeRecordEntriesSitAtTheirSixteenBitSlots) {
    JudgeRecord jr{};
    jr.m_nFirst_Touch = -1;
    const auto* raw = reinterpret_cast<const int16_t*>(&jr);
    EXPECT_EQ(raw[22], -1);
}

} // namespace

#include "desk/model/SphereRecords.h"
#include "desk/model/Units.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace desk {
namespace {

TEST(SphereRecords, WriterFillsEveryFieldInInterfaceUnits) {
    Rotation r{};
    for (std::size_t k = 0; k < r.size(); ++k)
        r[k] = 0.1 * static_cast<double>(k) - 0.55;
    const SphereRecord rec = makeSphereRecord(9, -1.2345678, 18.45, kPocketedThisShot, r);
    EXPECT_EQ(rec.index, 9);
    EXPECT_EQ(rec.m_nX, -1234567);
    EXPECT_EQ(rec.m_nY, 18450000);
    EXPECT_EQ(rec.m_nZ, 1000000);
    EXPECT_EQ(rec.m_nStatus, 2);
    EXPECT_EQ(rec.reserved0, 0);
    EXPECT_EQ(rec.reserved1, 0);
    EXPECT_EQ(rec.rotation[0], -550000);
    EXPECT_EQ(rec.rotation[1], -450000);
    // The fourth column is always written as 0.
    EXPECT_EQ(rec.rotation[3], 0);
    EXPECT_EQ(rec.rotation[7], 0);
    EXPECT_EQ(rec.rotation[11], 0);
    EXPECT_EQ(rec.rotation[10], toInterface(0.1 * 10 - 0.55));
}

TEST(SphereRecords, ReaderTakesExactlySixteenRecordsInArrayOrder) {
    std::vector<std::byte> bytes(kSphereRecordCount * sizeof(SphereRecord) + 68);
    for (int k = 0; k < kSphereRecordCount; ++k) {
        SphereRecord rec{};
        rec.index = static_cast<int16_t>(15 - k); // indices in another order
        rec.m_nX = 1000000 * k;
        std::memcpy(bytes.data() + k * sizeof(SphereRecord), &rec, sizeof rec);
    }
    const auto records = readSphereRecords(bytes);
    ASSERT_TRUE(records.has_value());
    for (int k = 0; k < kSphereRecordCount; ++k)
        EXPECT_FLOAT_EQ(
            static_cast<float>(placementFrom((*records)[static_cast<std::size_t>(k)]).x),
            static_cast<float>(k));
}

TEST(SphereRecords, ShortInputIsRefused) {
    std::vector<std::byte> bytes(kSphereRecordCount * sizeof(SphereRecord) - 1);
    EXPECT_FALSE(readSphereRecords(bytes).has_value());
    EXPECT_FALSE(readSphereRecords({}).has_value());
}

TEST(SphereRecords, PlacementReadsWorldValuesAndIgnoresTheHeight) {
    SphereRecord rec{};
    rec.m_nX = -28750000;
    rec.m_nY = 5650000;
    rec.m_nZ = 77;
    rec.m_nStatus = 1;
    rec.rotation[0] = 1000000; // identity
    rec.rotation[5] = 1000000;
    rec.rotation[10] = 1000000;
    rec.rotation[3] = 999; // unused column: never read
    const BallPlacement p = placementFrom(rec);
    EXPECT_NEAR(p.x, -28.75, 1e-6);
    EXPECT_NEAR(p.y, 5.65, 1e-6);
    EXPECT_EQ(p.status, 1);
    EXPECT_EQ(p.rotation[0], 1.0);
    EXPECT_EQ(p.rotation[10], 1.0);
    EXPECT_EQ(p.rotation[3], 0.0);
}

TEST(SphereRecords, ARotationThatIsNoneBecomesTheStartOrientation) {
    SphereRecord rec{}; // all zeros
    EXPECT_EQ(placementFrom(rec).rotation, startOrientation());
}

} // namespace
} // namespace desk

#pragma once
// One ball as it crosses the desk interface: positions and the rotation are
// world values multiplied by 1 000 000 and truncated.

#include "platform/packed/Packed.h"

#include <cstdint>

#pragma pack(push, 1)
struct SphereRecord {
    int16_t index;        // ball index 0 … 15 (readers place record k on ball k)
    int16_t reserved0;    // not written; ignored
    int32_t m_nX;         // centre x × 1 000 000
    int32_t m_nY;         // centre y × 1 000 000
    int32_t m_nZ;         // radius × 1 000 000
    int16_t m_nStatus;    // 0 on the table, 1 pocketed earlier, 2 pocketed in the last shot
    int16_t reserved1;    // not written; ignored
    int32_t rotation[12]; // 3 × 4 row-major rotation × 1 000 000; elements 3, 7, 11 are 0
};
#pragma pack(pop)

PACKED_RECORD_SIZE(SphereRecord, 68);
PACKED_FIELD_AT(SphereRecord, index, 0);
PACKED_FIELD_AT(SphereRecord, reserved0, 2);
PACKED_FIELD_AT(SphereRecord, m_nX, 4);
PACKED_FIELD_AT(SphereRecord, m_nY, 8);
PACKED_FIELD_AT(SphereRecord, m_nZ, 12);
PACKED_FIELD_AT(SphereRecord, m_nStatus, 16);
PACKED_FIELD_AT(SphereRecord, reserved1, 18);
PACKED_FIELD_AT(SphereRecord, rotation, 20);

inline constexpr int kSphereRecordCount = 16; // every ball array holds exactly sixteen

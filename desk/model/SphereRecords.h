#pragma once
// Reading and writing the arrays of sixteen ball records that cross the desk
// interface. Record k always describes ball k: the index field is written but
// never consulted on reading, and exactly sixteen records are read.

#include "desk/model/Balls.h"
#include "desk/model/SphereRecord.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace desk {

using SphereRecords = std::array<SphereRecord, kSphereRecordCount>;

// One ball as the desk places it from a record, in world units.
struct BallPlacement {
    double x = 0;
    double y = 0;
    int16_t status = kOnTable;
    Rotation rotation{}; // as transmitted, made a proper rotation (see properRotation)
};

// Copies sixteen records out of raw bytes; nothing when fewer than 1088 bytes.
std::optional<SphereRecords> readSphereRecords(std::span<const std::byte> bytes);

BallPlacement placementFrom(const SphereRecord& record);

// The record of ball `index` at (x, y) with the given 3 × 4 rotation. The
// height is always the radius; the unused fourth column is written as 0.
SphereRecord makeSphereRecord(int index, double x, double y, int16_t status,
                              const Rotation& rotation);

} // namespace desk

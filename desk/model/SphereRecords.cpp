#include "desk/model/SphereRecords.h"

#include "desk/model/Units.h"
#include "platform/packed/Packed.h"

namespace desk {

std::optional<SphereRecords> readSphereRecords(std::span<const std::byte> bytes) {
    SphereRecords records{};
    if (!platform::readRecords<SphereRecord>(bytes, records))
        return std::nullopt;
    return records;
}

BallPlacement placementFrom(const SphereRecord& record) {
    BallPlacement p;
    p.x = fromInterface(record.m_nX);
    p.y = fromInterface(record.m_nY);
    p.status = record.m_nStatus;
    Rotation raw{};
    for (std::size_t k = 0; k < raw.size(); ++k)
        raw[k] = (k % 4 == 3) ? 0.0 : fromInterface(record.rotation[k]);
    p.rotation = properRotation(raw);
    return p;
}

SphereRecord makeSphereRecord(int index, double x, double y, int16_t status,
                              const Rotation& rotation) {
    SphereRecord r{};
    r.index = static_cast<int16_t>(index);
    r.m_nX = toInterface(x);
    r.m_nY = toInterface(y);
    r.m_nZ = toInterface(kBallRadius);
    r.m_nStatus = status;
    for (std::size_t k = 0; k < rotation.size(); ++k)
        r.rotation[k] = (k % 4 == 3) ? 0 : toInterface(rotation[k]);
    return r;
}

} // namespace desk

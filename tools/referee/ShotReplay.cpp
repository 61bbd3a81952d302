#include "tools/referee/ShotReplay.h"

#include "desk/model/Units.h"

namespace referee {

CTablePosition CTablePosition::Rack(const desk::SphereRecords& records) {
    CTablePosition p;
    p.m_kind = Kind::Rack;
    p.m_records = records;
    const desk::Rotation& start = desk::startOrientation();
    for (auto& r : p.m_records)
        for (std::size_t k = 0; k < start.size(); ++k)
            r.rotation[k] = (k % 4 == 3) ? 0 : desk::toInterface(start[k]);
    return p;
}

CTablePosition CTablePosition::AfterShot(const desk::SphereRecords& records) {
    CTablePosition p;
    p.m_kind = Kind::AfterShot;
    p.m_records = records;
    return p;
}

void CTablePosition::PlaceCueBall(const CuePlacement& at) {
    m_cue = at;
}

desk::SphereRecords CTablePosition::DisplayRecords() const {
    desk::SphereRecords r = m_records;
    if (m_cue) {
        r[desk::kCueBall].m_nX = m_cue->x;
        r[desk::kCueBall].m_nY = m_cue->y;
        r[desk::kCueBall].m_nStatus = desk::kOnTable;
    }
    return r;
}

desk::BallStatuses CTablePosition::Statuses() const {
    desk::BallStatuses s{};
    for (int i = 0; i < desk::kBallCount; ++i)
        s[static_cast<std::size_t>(i)] = m_records[static_cast<std::size_t>(i)].m_nStatus;
    if (m_cue)
        s[desk::kCueBall] = desk::kOnTable;
    return s;
}

void CTablePosition::Prepare(desk::CShotEngine& engine) const {
    if (m_kind == Kind::Rack) {
        engine.placeRack(m_records);
    } else {
        // The end of the previous shot: the world rebuilt and every body put
        // to rest. An engine that just ran a shot is already there; a fresh
        // one gets there the same way (its shot record is empty, so no
        // status changes).
        engine.finishShot();
        engine.placeFromRecords(m_records);
    }
    if (m_cue)
        engine.placeCueBall(desk::fromInterface(m_cue->x), desk::fromInterface(m_cue->y), true);
}

desk::ShotOutcome ReplayShot(desk::CShotEngine& engine, const CTablePosition& position,
                             int shooterGroup, const desk::Strike& strike) {
    position.Prepare(engine);
    engine.setMyGroup(shooterGroup);
    return engine.runShot(strike);
}

} // namespace referee

#pragma once
// Replaying a shot exactly as every desk of the table simulates it.
//
// A desk's result depends on more than the ball records: which bodies are
// awake and how the world was last rebuilt matter too. Every desk reaches
// the position before a shot by one of two roads: a new rack (StartOneHand
// and its recovery form rebuild the world with the start orientation), or the
// authoritative records after a shot (EndCrashWithStatus: the world was
// rebuilt at the end of the shot and every ball body put to rest, then the
// records placed, the cue ball awake). Ball in hand adds one placement of the
// cue ball from interface integers. CTablePosition remembers which road the
// table took, so a fresh engine can be brought into the very state the
// shooter's desk was in, and the replay gives the shooter's bits.

#include "desk/model/SphereRecords.h"
#include "desk/physics/ShotEngine.h"

#include <cstdint>
#include <optional>

namespace referee {

struct CuePlacement {
    int32_t x = 0; // interface units, as carried by the placing message
    int32_t y = 0;
};

class CTablePosition {
public:
    enum class Kind : uint8_t { Rack, AfterShot };

    // A rack as StartOneHand places it: every orientation becomes the start
    // orientation, so the records hold what the desks hold.
    static CTablePosition Rack(const desk::SphereRecords& records);
    // The authoritative records sent after a shot.
    static CTablePosition AfterShot(const desk::SphereRecords& records);

    // The cue ball placed from ball in hand (BallMoved).
    void PlaceCueBall(const CuePlacement& at);
    void ClearCuePlacement() { m_cue.reset(); }

    Kind kind() const { return m_kind; }
    const desk::SphereRecords& records() const { return m_records; }
    const std::optional<CuePlacement>& cuePlacement() const { return m_cue; }
    // The records as every desk holds them: a placed cue ball at its place
    // and on the table. What position messages carry.
    desk::SphereRecords DisplayRecords() const;
    // The statuses a desk has before the strike (the placed cue ball is on
    // the table).
    desk::BallStatuses Statuses() const;

    // Puts `engine` into the state every desk of the table is in before the
    // next strike. The engine may have any history.
    void Prepare(desk::CShotEngine& engine) const;

private:
    Kind m_kind = Kind::Rack;
    desk::SphereRecords m_records{};
    std::optional<CuePlacement> m_cue;
};

// The shot from `position`, struck with the shooter's group (which the
// record's first-contact and opponent-ball entries depend on).
desk::ShotOutcome ReplayShot(desk::CShotEngine& engine, const CTablePosition& position,
                             int shooterGroup, const desk::Strike& strike);

} // namespace referee

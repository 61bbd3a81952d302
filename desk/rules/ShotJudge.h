#pragma once
// Fills the JudgeRecord of one shot: reset at the strike, written while the
// shot runs (first contact of the cue ball, pocketed balls) and completed when
// it ends (statuses, the opponent-ball and cushion summaries). Every entry is
// evaluated with this desk's own group; only the shooter reports its record.

#include "desk/model/Balls.h"
#include "desk/rules/JudgeRecord.h"

#include <array>

namespace desk {

class CShotJudge {
public:
    CShotJudge() { reset(); }

    // Start values: nothing pocketed, nothing touched, −1 for the "first" entries.
    void reset();

    // The cue ball touched `other`. Only its first contact of the shot counts;
    // statuses are those of the strike (balls pocketed during this shot still
    // count as on the table).
    void cueTouched(int other, int myGroup, const BallStatuses& statuses);

    // Ball `ball` entered a pocket zone (the cue ball sets m_bWhiteGone).
    void pocketed(int ball);

    // End of the shot: balls pocketed in it get status 2, then the
    // opponent-ball and cushion summaries are written. `touchedCushion` holds
    // one flag per ball; the cue ball's is not counted.
    void complete(int myGroup, const std::array<bool, kBallCount>& touchedCushion,
                  BallStatuses& statuses);

    bool cueTouchedNothing() const { return m_record.m_bIsTouch_Nothing == 1; }
    const JudgeRecord& record() const { return m_record; }

private:
    JudgeRecord m_record{};
};

} // namespace desk

#include "desk/rules/ShotJudge.h"

namespace desk {

void CShotJudge::reset() {
    m_record = JudgeRecord{};
    m_record.m_bIsTouch_Nothing = 1;
    m_record.m_nFirst_Gone = -1;
    m_record.m_nFirst_Touch = -1;
}

void CShotJudge::cueTouched(int other, int myGroup, const BallStatuses& statuses) {
    if (m_record.m_bIsTouch_Nothing != 1 || other < 0 || other >= kBallCount)
        return;
    m_record.m_nFirst_Touch = static_cast<int16_t>(other);
    // An open table has no illegal first ball; otherwise a first contact is
    // illegal exactly when the ball is not a legal target for the shooter.
    const bool openTable = myGroup != kSolids && myGroup != kStripes;
    m_record.m_bIsTouch_Other = (!openTable && !isLegalTarget(other, myGroup, statuses)) ? 1 : 0;
    m_record.m_bIsTouch_Nothing = 0;
}

void CShotJudge::pocketed(int ball) {
    if (ball == kCueBall) {
        m_record.m_bWhiteGone = 1;
        return;
    }
    if (ball < 0 || ball >= kObjectBallCount)
        return;
    if (m_record.m_nFirst_Gone == -1)
        m_record.m_nFirst_Gone = static_cast<int16_t>(ball);
    m_record.m_bGone[ball] = 1;
}

void CShotJudge::complete(int myGroup, const std::array<bool, kBallCount>& touchedCushion,
                          BallStatuses& statuses) {
    for (int i = 0; i < kBallCount; ++i) {
        const bool gone = (i == kCueBall) ? m_record.m_bWhiteGone == 1 : m_record.m_bGone[i] == 1;
        if (!gone)
            continue;
        statuses[static_cast<std::size_t>(i)] = kPocketedThisShot;
        const int group = groupOf(i);
        if ((group == kStripes && myGroup == kSolids) || (group == kSolids && myGroup == kStripes))
            m_record.m_bOtherGone = 1;
    }
    int16_t cushions = 0;
    for (int i = 0; i < kObjectBallCount; ++i)
        if (touchedCushion[static_cast<std::size_t>(i)])
            ++cushions;
    m_record.m_nNum_TouchDesk = cushions;
    m_record.m_bIsTouch_No_Desk = cushions == 0 ? 1 : 0;
}

} // namespace desk

#include "tools/referee/ReportJudge.h"

#include <cstring>

namespace referee {

namespace {

desk::BallStatuses statusesOf(const desk::SphereRecords& r) {
    desk::BallStatuses s{};
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = r[i].m_nStatus;
    return s;
}

} // namespace

ShotFacts FactsOf(const desk::ShotOutcome& out) {
    ShotFacts f;
    f.after = statusesOf(out.balls);
    f.firstPocketed = out.judge.m_nFirst_Gone;
    f.cushionBalls = out.judge.m_nNum_TouchDesk;
    f.touchedNothing = out.judge.m_bIsTouch_Nothing == 1;
    f.wrongFirstBall = out.judge.m_bIsTouch_Other == 1;
    f.noCushion = out.judge.m_bIsTouch_No_Desk == 1;
    return f;
}

JudgedReport JudgeFromReplay(desk::CShotEngine& engine, const CTablePosition& position,
                             int shooterGroup, const desk::Strike& strike) {
    const desk::ShotOutcome replay = ReplayShot(engine, position, shooterGroup, strike);
    JudgedReport j;
    j.balls = replay.balls;
    j.facts = FactsOf(replay);
    j.identical = true;
    return j;
}

JudgedReport JudgeReport(desk::CShotEngine& engine, const CTablePosition& position,
                         int shooterGroup, const desk::Strike& strike, const ReportedShot& report) {
    const desk::BallStatuses before = position.Statuses();
    const desk::ShotOutcome replay = ReplayShot(engine, position, shooterGroup, strike);
    JudgedReport j;
    j.check = CheckBalls(before, report.balls);
    const JudgeRecord& r = replay.judge;
    bool sameValues = false;
    if (report.isBreak) {
        if (j.check.ok())
            j.check =
                CheckBreakJudge(before, report.balls, report.firstPocketed, report.cushionBalls);
        sameValues =
            report.firstPocketed == r.m_nFirst_Gone && report.cushionBalls == r.m_nNum_TouchDesk;
    } else {
        if (j.check.ok())
            j.check = CheckShotJudge(before, report.balls, report.touchedNothing,
                                     report.touchedMyself, report.noCushion);
        sameValues = report.touchedNothing == r.m_bIsTouch_Nothing &&
                     report.touchedMyself == (r.m_bIsTouch_Other == 1 ? 0 : 1) &&
                     report.noCushion == r.m_bIsTouch_No_Desk;
    }
    j.identical = sameValues && std::memcmp(report.balls.data(), replay.balls.data(),
                                            sizeof(SphereRecord) * report.balls.size()) == 0;
    if (!j.check.ok()) {
        j.balls = replay.balls;
        j.facts = FactsOf(replay);
        return j;
    }
    j.balls = report.balls;
    j.facts.after = statusesOf(report.balls);
    j.facts.firstPocketed = report.firstPocketed;
    j.facts.cushionBalls = report.cushionBalls;
    j.facts.touchedNothing = report.touchedNothing == 1;
    j.facts.wrongFirstBall = report.touchedMyself == 0;
    j.facts.noCushion = report.noCushion == 1;
    return j;
}

} // namespace referee

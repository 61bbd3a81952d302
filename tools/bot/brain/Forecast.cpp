#include "tools/bot/brain/Forecast.h"

#include "tools/bot/brain/TableState.h"

namespace bot {

namespace {

constexpr int kMinBreakCushions = 4;

bool groupCleared(const desk::BallStatuses& statuses, int group) {
    if (group != desk::kSolids && group != desk::kStripes)
        return false;
    for (int i = 0; i < desk::kObjectBallCount; ++i)
        if (desk::groupOf(i) == group && statuses[static_cast<std::size_t>(i)] == desk::kOnTable)
            return false;
    return true;
}

} // namespace

Forecast forecastShot(const desk::BallStatuses& before, int group, bool isBreak,
                      const desk::ShotOutcome& outcome) {
    const JudgeRecord& j = outcome.judge;
    Forecast f;
    f.groupAfter = group;

    int potted = 0;
    int lowest = -1;
    for (int i = 0; i < desk::kObjectBallCount; ++i) {
        if (j.m_bGone[i] == 0 || i == desk::kBlackBall)
            continue;
        ++potted;
        if (lowest < 0)
            lowest = i;
        if (isOwnBall(group, i))
            ++f.ownPotted;
    }
    const bool blackDown = j.m_bGone[desk::kBlackBall] != 0;

    if (isBreak) {
        const bool legal = potted > 0 || blackDown || j.m_nNum_TouchDesk >= kMinBreakCushions;
        f.foul = j.m_bWhiteGone != 0 || !legal;
        if (blackDown) {
            f.rerack = true;
            return f;
        }
        if (!f.foul && j.m_nFirst_Gone >= 0)
            f.groupAfter = desk::groupOf(j.m_nFirst_Gone);
        f.keepsTurn = !f.foul && potted > 0;
        return f;
    }

    const bool open = group != desk::kSolids && group != desk::kStripes;
    const bool blackFirstOnOpenTable = open && j.m_nFirst_Touch == desk::kBlackBall;
    const bool nothingPotted = potted == 0 && !blackDown;
    f.foul = j.m_bWhiteGone != 0 || j.m_bIsTouch_Nothing != 0 || j.m_bIsTouch_Other != 0 ||
             j.m_bOtherGone != 0 || blackFirstOnOpenTable ||
             (nothingPotted && j.m_bIsTouch_No_Desk != 0);

    if (blackDown) {
        f.wins = !f.foul && groupCleared(before, group);
        f.loses = !f.wins;
        return f;
    }
    if (!f.foul && open && lowest >= 0)
        f.groupAfter = desk::groupOf(lowest);
    f.keepsTurn = !f.foul && f.ownPotted > 0;
    return f;
}

} // namespace bot

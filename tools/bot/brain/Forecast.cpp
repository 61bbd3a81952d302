#include "tools/bot/brain/Forecast.h"

#include "tools/bot/brain/TableState.h"
#include "tools/referee/EightBallReferee.h"
#include "tools/referee/ReportJudge.h"

namespace bot {

namespace {
constexpr int kShooter = 0;
} // namespace

Forecast forecastShot(const desk::BallStatuses& before, int group, bool isBreak,
                      const desk::ShotOutcome& outcome, int chances) {
    referee::CEightBallReferee referee;
    referee.Resume(kShooter, group, chances, before, isBreak);
    const referee::ShotFacts facts = referee::FactsOf(outcome);
    const referee::Verdict v = isBreak ? referee.Break(facts) : referee.Shot(facts);

    Forecast f;
    f.foul = v.IsFoul();
    f.rerack = v.rerack;
    f.wins = v.GameOver() && v.winner == kShooter;
    f.loses = v.GameOver() && v.winner != kShooter;
    f.groupAfter = f.rerack ? desk::kOpenTable : referee.GroupOf(kShooter);
    f.keepsTurn = !v.GameOver() && !f.rerack && v.nextSeat == kShooter;
    f.chancesAfter = f.keepsTurn ? v.chances : 0;
    for (int i = 0; i < desk::kObjectBallCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (before[k] == desk::kOnTable && facts.after[k] == desk::kPocketedThisShot &&
            isOwnBall(f.groupAfter, i))
            ++f.ownPotted;
    }
    return f;
}

} // namespace bot

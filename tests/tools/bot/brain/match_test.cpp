// Full strength against the weakest setting over whole racks, judged by the
// table's own referee: breaks, groups, fouls with ball in hand or two
// chances, and the black. Every shot is played from the position the way the
// desks replay it. The strong brain must pocket far more per visit and win.

#include "tools/bot/brain/ShotBrain.h"

#include "desk/model/StandardRack.h"
#include "tools/bot/brain/Placement.h"
#include "tools/referee/EightBallReferee.h"
#include "tools/referee/ReportJudge.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>

namespace bot {
namespace {

using desk::kOpenTable;

constexpr int kGames = 8;
constexpr int kMaxShotsPerGame = 150;
constexpr int kBudget = 100;

struct Player {
    explicit Player(int level, uint32_t seed) : brain({level, seed, kBudget}) {}
    CShotBrain brain;
    int potted = 0; // own balls pocketed in legal shots
    int visits = 0; // turns at the table
    int shots = 0;
    int fouls = 0;
    int wins = 0;
};

// Own balls that went down in a shot judged fair: balls of the group the
// shooter holds after it.
int ownPotted(const referee::CEightBallReferee& r, int seat, const desk::BallStatuses& before,
              const desk::SphereRecords& after) {
    const int group = r.GroupOf(seat);
    int n = 0;
    for (int i = 0; i < desk::kObjectBallCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (i != desk::kBlackBall && before[k] == desk::kOnTable &&
            after[k].m_nStatus == desk::kPocketedThisShot &&
            (group == kOpenTable || desk::groupOf(i) == group))
            ++n;
    }
    return n;
}

// Plays one game; returns the winner's seat, or −1 when it ran out of shots.
int playGame(std::array<Player*, 2> seats, int breaker, uint32_t rackSeed) {
    desk::CShotEngine engine;
    referee::CEightBallReferee referee;
    referee.StartRack(breaker);
    referee::CTablePosition position = referee::CTablePosition::Rack(desk::standardRack(rackSeed));
    bool isBreak = true;
    bool inHand = false;
    int lastToPlay = -1;

    for (int n = 0; n < kMaxShotsPerGame; ++n) {
        const int shooter = referee.ToPlay();
        Player& me = *seats[static_cast<std::size_t>(shooter)];
        if (shooter != lastToPlay)
            ++me.visits;
        lastToPlay = shooter;

        ShotRequest request;
        request.position = position;
        request.myGroup = isBreak ? kOpenTable : referee.GroupOf(shooter);
        request.chances = referee.Chances();
        request.isBreak = isBreak;
        request.ballInHand = inHand;
        const ShotChoice choice = me.brain.choose(request);
        ++me.shots;
        if (inHand) {
            EXPECT_TRUE(choice.placement.has_value());
            if (!choice.placement)
                return -1;
            EXPECT_TRUE(isLegalPlacement(tableStateFrom(position.records()),
                                         {desk::fromInterface(choice.placement->x),
                                          desk::fromInterface(choice.placement->y)}));
            referee.CueBallPlaced();
        }
        const referee::CTablePosition from = positionOf(request, choice);
        const desk::ShotOutcome out =
            referee::ReplayShot(engine, from, request.myGroup, choice.strike);
        const referee::ShotFacts facts = referee::FactsOf(out);
        const referee::Verdict v = isBreak ? referee.Break(facts) : referee.Shot(facts);

        if (v.rerack) {
            position = referee::CTablePosition::Rack(desk::standardRack(rackSeed += 1000));
            continue;
        }
        if (v.GameOver())
            return v.winner;
        if (v.IsFoul())
            ++me.fouls;
        else
            me.potted += ownPotted(referee, shooter, from.Statuses(), out.balls);
        position = referee::CTablePosition::AfterShot(out.balls);
        isBreak = false;
        inHand = v.nextStatus == referee::kStatusBallInHand;
    }
    return -1;
}

TEST(Match, FullStrengthOutplaysTheWeakestSetting) {
    Player strong(kStrongestLevel, 1);
    Player weak(kWeakestLevel, 2);
    int unfinished = 0;
    for (int g = 0; g < kGames; ++g) {
        // Both take the break in turn and sit in either seat.
        std::array<Player*, 2> seats{&strong, &weak};
        if (g % 2 == 1)
            std::swap(seats[0], seats[1]);
        const int winner = playGame(seats, g % 4 < 2 ? 0 : 1, 300 + static_cast<uint32_t>(g));
        if (winner < 0)
            ++unfinished;
        else
            ++seats[static_cast<std::size_t>(winner)]->wins;
    }

    const double strongRate = double(strong.potted) / std::max(strong.visits, 1);
    const double weakRate = double(weak.potted) / std::max(weak.visits, 1);
    std::printf("strong: %d wins, %d balls in %d visits (%.2f per visit), %d shots, %d fouls\n",
                strong.wins, strong.potted, strong.visits, strongRate, strong.shots, strong.fouls);
    std::printf("weak:   %d wins, %d balls in %d visits (%.2f per visit), %d shots, %d fouls\n",
                weak.wins, weak.potted, weak.visits, weakRate, weak.shots, weak.fouls);

    EXPECT_EQ(unfinished, 0);
    EXPECT_GT(strong.wins, kGames / 2);
    EXPECT_GT(strongRate, 2.0 * weakRate);
}

} // namespace
} // namespace bot

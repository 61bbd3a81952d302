// Full strength against the weakest setting over whole racks, with a small
// referee of its own: breaks, groups, fouls with ball in hand or two chances,
// and the black. The strong brain must pocket far more per visit and win.

#include "tools/bot/brain/ShotBrain.h"

#include "desk/model/StandardRack.h"
#include "tools/bot/brain/Placement.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>

namespace bot {
namespace {

using desk::kBlackBall;
using desk::kCueBall;
using desk::kOpenTable;

constexpr int kGames = 8;
constexpr int kMaxShotsPerGame = 150;
constexpr int kBudget = 100;

struct Player {
    explicit Player(int level, uint32_t seed) : brain({level, seed, kBudget}) {}
    CShotBrain brain;
    int group = kOpenTable;
    int potted = 0; // own balls pocketed in legal shots
    int visits = 0; // turns at the table
    int shots = 0;
    int fouls = 0;
    int wins = 0;
};

bool ownBall(int group, int ball) {
    if (ball == kBlackBall || ball < 0 || ball >= desk::kObjectBallCount)
        return false;
    return group == kOpenTable || desk::groupOf(ball) == group;
}

bool groupCleared(const desk::SphereRecords& balls, int group) {
    if (group == kOpenTable)
        return false;
    for (int i = 0; i < desk::kObjectBallCount; ++i)
        if (desk::groupOf(i) == group &&
            balls[static_cast<std::size_t>(i)].m_nStatus == desk::kOnTable)
            return false;
    return true;
}

// Plays one game; returns the winner's seat, or −1 when it ran out of shots.
int playGame(std::array<Player*, 2> seats, int breaker, uint32_t rackSeed) {
    desk::CShotEngine engine;
    desk::SphereRecords balls = desk::standardRack(rackSeed);
    seats[0]->group = seats[1]->group = kOpenTable;
    int shooter = breaker;
    int chances = 1;
    bool isBreak = true;
    bool inHand = false;
    ++seats[static_cast<std::size_t>(shooter)]->visits;

    for (int n = 0; n < kMaxShotsPerGame; ++n) {
        Player& me = *seats[static_cast<std::size_t>(shooter)];
        Player& other = *seats[static_cast<std::size_t>(1 - shooter)];
        ShotRequest request;
        request.balls = balls;
        request.myGroup = me.group;
        request.isBreak = isBreak;
        request.ballInHand = inHand;
        const ShotChoice choice = me.brain.choose(request);
        ++me.shots;

        engine.setMyGroup(me.group);
        if (isBreak) {
            engine.placeRack(balls);
        } else {
            engine.placeFromRecords(balls);
            if (inHand) {
                EXPECT_TRUE(choice.placement.has_value());
                if (!choice.placement)
                    return -1;
                const Vec2 at{desk::fromInterface(choice.placement->x),
                              desk::fromInterface(choice.placement->y)};
                EXPECT_TRUE(isLegalPlacement(tableStateFrom(balls), at));
                engine.placeCueBall(at.x, at.y, true);
            }
        }
        const desk::ShotOutcome out = engine.runShot(choice.strike);
        const JudgeRecord& j = out.judge;

        int pots = 0;
        int own = 0;
        int lowest = -1;
        for (int i = 0; i < desk::kObjectBallCount; ++i) {
            if (j.m_bGone[i] == 0 || i == kBlackBall)
                continue;
            ++pots;
            if (lowest < 0)
                lowest = i;
            if (ownBall(me.group, i))
                ++own;
        }
        const bool black = j.m_bGone[kBlackBall] != 0;

        bool foul = false;
        bool keep = false;
        if (isBreak) {
            if (black) { // racked again, the same player breaks
                balls = desk::standardRack(rackSeed += 1000);
                continue;
            }
            foul = j.m_bWhiteGone != 0 || (pots == 0 && j.m_nNum_TouchDesk < 4);
            if (!foul && pots > 0) {
                me.group = desk::groupOf(j.m_nFirst_Gone);
                other.group = 1 - me.group;
                keep = true;
            }
            isBreak = false;
        } else {
            const bool open = me.group == kOpenTable;
            foul = j.m_bWhiteGone != 0 || j.m_bIsTouch_Nothing != 0 || j.m_bIsTouch_Other != 0 ||
                   j.m_bOtherGone != 0 || (open && j.m_nFirst_Touch == kBlackBall) ||
                   (pots == 0 && !black && j.m_bIsTouch_No_Desk != 0);
            if (black) {
                const bool won = !foul && groupCleared(balls, me.group);
                return won ? shooter : 1 - shooter;
            }
            if (!foul && open && lowest >= 0) {
                me.group = desk::groupOf(lowest);
                other.group = 1 - me.group;
            }
            keep = !foul && own > 0;
        }
        if (!foul)
            me.potted += own;
        else
            ++me.fouls;
        balls = out.balls;

        if (foul) {
            shooter = 1 - shooter;
            chances = 2;
            inHand = j.m_bWhiteGone != 0;
            ++seats[static_cast<std::size_t>(shooter)]->visits;
        } else if (!keep) {
            inHand = false;
            if (--chances <= 0) {
                shooter = 1 - shooter;
                chances = 1;
                ++seats[static_cast<std::size_t>(shooter)]->visits;
            }
        } else {
            inHand = false;
        }
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

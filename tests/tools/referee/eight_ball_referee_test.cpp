#include "tools/referee/EightBallReferee.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace referee {
namespace {

using desk::kCueBall;

constexpr int S = desk::kSolids;
constexpr int T = desk::kStripes;
constexpr int Open = desk::kOpenTable;

// Facts of a shot from the referee's current statuses: `down` go down now,
// everything pocketed earlier stays off the table.
ShotFacts facts(const CEightBallReferee& r, const std::vector<int>& down, bool cueDown = false) {
    ShotFacts f;
    for (std::size_t i = 0; i < f.after.size(); ++i)
        f.after[i] = r.Statuses()[i] == desk::kOnTable ? desk::kOnTable : desk::kPocketedEarlier;
    f.after[kCueBall] = desk::kOnTable;
    for (int b : down) {
        f.after[static_cast<std::size_t>(b)] = desk::kPocketedThisShot;
        if (f.firstPocketed < 0)
            f.firstPocketed = b;
    }
    if (cueDown)
        f.after[kCueBall] = desk::kPocketedThisShot;
    return f;
}

struct BreakCase {
    std::string name;
    std::vector<int> down;
    bool cueDown;
    int cushions;
    int firstPocketed; // −2: the first of `down`
    Foul foul;
    int next;
    int chances;
    int16_t status;
    bool rerack;
    int solidsSeat;
};

TEST(EightBallReferee, Break) {
    const std::vector<BreakCase> cases = {
        {"a solid down gives the breaker solids", {3}, false, 2, -2, Foul::None, 0, 1, 3, false, 0},
        {"the first ball down decides, not the lowest",
         {9, 2},
         false,
         2,
         -2,
         Foul::None,
         0,
         1,
         3,
         false,
         1},
        {"a first-pocketed value naming no pocketed ball falls back to the lowest",
         {12, 10},
         false,
         0,
         4,
         Foul::None,
         0,
         1,
         3,
         false,
         1},
        {"four balls at a cushion is a legal empty break",
         {},
         false,
         4,
         -2,
         Foul::None,
         1,
         1,
         3,
         false,
         -1},
        {"three balls at a cushion is a foul",
         {},
         false,
         3,
         -2,
         Foul::WeakBreak,
         1,
         2,
         3,
         false,
         -1},
        {"in-off: ball in hand for the opponent, table open",
         {5},
         true,
         6,
         -2,
         Foul::CueBallPocketed,
         1,
         2,
         5,
         false,
         -1},
        {"the black re-racks for the same breaker",
         {7},
         false,
         6,
         -2,
         Foul::None,
         0,
         1,
         -1,
         true,
         -1},
        {"the black with an in-off still re-racks",
         {7, 1},
         true,
         6,
         -2,
         Foul::None,
         0,
         1,
         -1,
         true,
         -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CEightBallReferee r;
        r.StartRack(0);
        ShotFacts f = facts(r, c.down, c.cueDown);
        f.cushionBalls = c.cushions;
        if (c.firstPocketed != -2)
            f.firstPocketed = c.firstPocketed;
        const Verdict v = r.Break(f);
        EXPECT_EQ(v.shooter, 0);
        EXPECT_EQ(v.foul, c.foul) << FoulName(v.foul);
        EXPECT_EQ(v.nextSeat, c.next);
        EXPECT_EQ(v.chances, c.chances);
        EXPECT_EQ(v.nextStatus, c.status);
        EXPECT_EQ(v.rerack, c.rerack);
        EXPECT_EQ(v.solidsSeat, c.solidsSeat);
        EXPECT_EQ(v.groupsDecided, c.solidsSeat >= 0);
        EXPECT_FALSE(v.GameOver());
        EXPECT_EQ(r.ToPlay(), c.next);
        if (c.rerack) {
            EXPECT_EQ(r.CurrentPhase(), CEightBallReferee::Phase::Break);
        }
    }
}

// A referee in play: seat 0 broke. `solids` is the seat given solids by a
// pot on the break (−1: an empty legal break, table open, seat 1 to play),
// `extraDown` balls went down on the break as well.
CEightBallReferee inPlay(int solids, const std::vector<int>& extraDown = {}) {
    CEightBallReferee r;
    r.StartRack(solids == 1 ? 1 : 0);
    std::vector<int> down;
    if (solids >= 0)
        down.push_back(0);
    down.insert(down.end(), extraDown.begin(), extraDown.end());
    ShotFacts f;
    f.after.fill(desk::kOnTable);
    for (int b : down)
        f.after[static_cast<std::size_t>(b)] = desk::kPocketedThisShot;
    f.firstPocketed = down.empty() ? -1 : down.front();
    f.cushionBalls = 5;
    r.Break(f);
    return r;
}

struct ShotCase {
    std::string name;
    int solids; // see inPlay
    std::vector<int> breakExtra;
    int chancesBefore; // 2: the shooter got two chances by an earlier foul
    std::vector<int> down;
    bool cueDown;
    bool nothing;
    bool wrongFirst;
    bool noCushion;
    Foul foul;
    int next; // seat to play next, −1 when the game is over
    int chances;
    int16_t status;
    int winner;
    int solidsAfter;
};

TEST(EightBallReferee, ShotsInPlay) {
    // In the cases with solids = 0 the shooter is seat 0 and plays solids.
    const std::vector<ShotCase> cases = {
        {"own ball down keeps the turn and the chance",
         0,
         {},
         1,
         {2},
         false,
         false,
         false,
         false,
         Foul::None,
         0,
         1,
         3,
         -1,
         0},
        {"own ball down keeps both chances",
         0,
         {},
         2,
         {2},
         false,
         false,
         false,
         false,
         Foul::None,
         0,
         2,
         3,
         -1,
         0},
        {"nothing down with the last chance passes the turn",
         0,
         {},
         1,
         {},
         false,
         false,
         false,
         false,
         Foul::None,
         1,
         1,
         3,
         -1,
         0},
        {"nothing down with two chances uses one",
         0,
         {},
         2,
         {},
         false,
         false,
         false,
         false,
         Foul::None,
         0,
         1,
         3,
         -1,
         0},
        {"touching nothing",
         0,
         {},
         1,
         {},
         false,
         true,
         false,
         true,
         Foul::TouchedNothing,
         1,
         2,
         3,
         -1,
         0},
        {"wrong first ball",
         0,
         {},
         1,
         {3},
         false,
         false,
         true,
         false,
         Foul::WrongFirstBall,
         1,
         2,
         3,
         -1,
         0},
        {"in-off gives ball in hand",
         0,
         {},
         1,
         {3},
         true,
         false,
         false,
         false,
         Foul::CueBallPocketed,
         1,
         2,
         5,
         -1,
         0},
        {"an opponent's ball down",
         0,
         {},
         1,
         {3, 9},
         false,
         false,
         false,
         false,
         Foul::OpponentBall,
         1,
         2,
         3,
         -1,
         0},
        {"nothing down and no cushion",
         0,
         {},
         2,
         {},
         false,
         false,
         false,
         true,
         Foul::NoCushion,
         1,
         2,
         3,
         -1,
         0},
        {"a pot excuses the missing cushion",
         0,
         {},
         1,
         {4},
         false,
         false,
         false,
         true,
         Foul::None,
         0,
         1,
         3,
         -1,
         0},
        {"open table: the lowest ball down decides",
         -1,
         {},
         1,
         {12, 5},
         false,
         false,
         false,
         false,
         Foul::None,
         1,
         1,
         3,
         -1,
         1},
        {"open table: a stripe alone gives stripes",
         -1,
         {},
         1,
         {9},
         false,
         false,
         false,
         false,
         Foul::None,
         1,
         1,
         3,
         -1,
         0},
        {"open table: no wrong first ball",
         -1,
         {},
         1,
         {},
         false,
         false,
         true,
         false,
         Foul::None,
         0,
         1,
         3,
         -1,
         -1},
        {"open table: the black loses",
         -1,
         {},
         1,
         {7},
         false,
         false,
         false,
         false,
         Foul::None,
         -1,
         0,
         -1,
         0,
         -1},
        {"the black with own balls left loses",
         0,
         {},
         1,
         {7},
         false,
         false,
         false,
         false,
         Foul::None,
         -1,
         0,
         -1,
         1,
         0},
        {"the black after the group is cleared wins",
         0,
         {1, 2, 3, 4, 5, 6},
         1,
         {7},
         false,
         false,
         false,
         false,
         Foul::None,
         -1,
         0,
         -1,
         0,
         0},
        {"the black with an in-off loses even when cleared",
         0,
         {1, 2, 3, 4, 5, 6},
         1,
         {7},
         true,
         false,
         false,
         false,
         Foul::CueBallPocketed,
         -1,
         0,
         -1,
         1,
         0},
        {"the last own ball and the black together lose",
         0,
         {1, 2, 3, 4, 5},
         1,
         {6, 7},
         false,
         false,
         false,
         false,
         Foul::None,
         -1,
         0,
         -1,
         1,
         0},
        {"the black hit first once cleared is no foul",
         0,
         {1, 2, 3, 4, 5, 6},
         1,
         {},
         false,
         false,
         false,
         false,
         Foul::None,
         1,
         1,
         3,
         -1,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CEightBallReferee r = inPlay(c.solids, c.breakExtra);
        const int shooter = r.ToPlay();
        if (c.chancesBefore == 2) {
            // Seat `shooter` gets two chances from an opponent's foul.
            ASSERT_EQ(r.Shot(facts(r, {}, false)).nextSeat, shooter == 0 ? 1 : 0);
            ShotFacts foul = facts(r, {});
            foul.touchedNothing = true;
            ASSERT_EQ(r.Shot(foul).nextSeat, shooter);
            ASSERT_EQ(r.Chances(), 2);
        }
        ShotFacts f = facts(r, c.down, c.cueDown);
        f.touchedNothing = c.nothing;
        f.wrongFirstBall = c.wrongFirst;
        f.noCushion = c.noCushion;
        const Verdict v = r.Shot(f);
        EXPECT_EQ(v.shooter, shooter);
        EXPECT_EQ(v.foul, c.foul) << FoulName(v.foul);
        EXPECT_EQ(v.nextSeat, c.next);
        EXPECT_EQ(v.chances, c.chances);
        EXPECT_EQ(v.nextStatus, c.status);
        EXPECT_EQ(v.winner, c.winner);
        EXPECT_EQ(r.SolidsSeat(), c.solidsAfter);
    }
}

TEST(EightBallReferee, ABallPocketedEarlierNeverCountsAgain) {
    CEightBallReferee r = inPlay(0, {1});
    // A report that shows ball 1 (down on the break) as pocketed in this shot
    // is no pot: seat 0 had one chance, so the turn passes.
    ShotFacts f = facts(r, {});
    f.after[1] = desk::kPocketedThisShot;
    const Verdict v = r.Shot(f);
    EXPECT_EQ(v.nextSeat, 1);
    EXPECT_FALSE(v.IsFoul());
}

TEST(EightBallReferee, BallInHandThenPlacementThenShot) {
    CEightBallReferee r = inPlay(0);
    ShotFacts inOff = facts(r, {}, true);
    const Verdict v = r.Shot(inOff);
    ASSERT_EQ(v.nextStatus, kStatusBallInHand);
    EXPECT_EQ(r.CurrentPhase(), CEightBallReferee::Phase::BallInHand);
    // No shot before the cue ball is placed.
    EXPECT_EQ(r.Shot(facts(r, {})).shooter, kNoSeat);
    r.CueBallPlaced();
    EXPECT_EQ(r.Statuses()[kCueBall], desk::kOnTable);
    const Verdict next = r.Shot(facts(r, {9}));
    EXPECT_EQ(next.shooter, 1);
    EXPECT_EQ(next.nextSeat, 1);
    EXPECT_EQ(next.chances, 2);
}

TEST(EightBallReferee, TimeOuts) {
    struct Case {
        std::string name;
        bool ballInHand;
        bool atBreak;
        int16_t status;
        int chances;
    };
    for (const Case& c : std::vector<Case>{
             {"aiming", false, false, kStatusAim, 2},
             {"placing keeps the ball in hand", true, false, kStatusBallInHand, 2},
             {"at the break the other player breaks", false, true, kStatusBreakAim, 1}}) {
        SCOPED_TRACE(c.name);
        CEightBallReferee r;
        if (c.atBreak) {
            r.StartRack(0);
        } else {
            r = inPlay(0);
            if (c.ballInHand) {
                r.Shot(facts(r, {}, true)); // seat 1 in hand
                r.Shot(facts(r, {}));       // refused: not placed yet
            }
        }
        const int shooter = r.ToPlay();
        const Verdict v = r.TimeOut();
        EXPECT_EQ(v.foul, Foul::TimeOut);
        EXPECT_EQ(v.nextSeat, 1 - shooter);
        EXPECT_EQ(v.nextStatus, c.status);
        EXPECT_EQ(v.chances, c.chances);
        EXPECT_EQ(r.Fouls(shooter), 1);
        if (c.atBreak) {
            EXPECT_EQ(r.Breaker(), 1);
            EXPECT_EQ(r.CurrentPhase(), CEightBallReferee::Phase::Break);
        }
    }
}

TEST(EightBallReferee, NothingIsJudgedOutOfPhase) {
    CEightBallReferee r;
    EXPECT_EQ(r.Shot(ShotFacts{}).shooter, kNoSeat); // no rack yet
    EXPECT_EQ(r.Break(ShotFacts{}).shooter, kNoSeat);
    r.StartRack(1);
    EXPECT_EQ(r.Shot(ShotFacts{}).shooter, kNoSeat); // the break comes first
    r.Abandon();
    EXPECT_EQ(r.TimeOut().shooter, kNoSeat);
}

TEST(EightBallReferee, BallsLeftFollowTheGroups) {
    CEightBallReferee r = inPlay(0, {9, 10});
    EXPECT_EQ(r.GroupOf(0), S);
    EXPECT_EQ(r.GroupOf(1), T);
    EXPECT_EQ(r.BallsLeft(0), 6);
    EXPECT_EQ(r.BallsLeft(1), 5);
    CEightBallReferee open = inPlay(-1);
    EXPECT_EQ(open.GroupOf(0), Open);
    EXPECT_EQ(open.BallsLeft(0), 7);
}

// A referee taken up in the middle of a game judges the next shot exactly as
// the one that saw the game from the break: what a player weighing his
// options is told is what the table's referee will decide.
TEST(EightBallReferee, ResumedGameJudgesLikeThePlayedOne) {
    struct Played {
        std::string name;
        CEightBallReferee referee;
    };
    std::vector<Played> games;
    games.push_back({"open table after an empty break", inPlay(-1)});
    games.push_back({"groups set, balls down", inPlay(0, {1, 9, 10})});
    {
        CEightBallReferee r = inPlay(0, {9});
        r.Shot(facts(r, {}, true)); // seat 1 in hand with two chances
        r.CueBallPlaced();
        games.push_back({"two chances after an in-off", r});
    }
    {
        CEightBallReferee r = inPlay(0, {1, 2, 3, 4, 5, 6});
        games.push_back({"solids down to the black", r});
    }
    const std::vector<std::vector<int>> outcomes = {{}, {2}, {6}, {9}, {7}, {6, 7}, {11, 12}};
    for (Played& g : games) {
        for (const std::vector<int>& down : outcomes) {
            for (bool cueDown : {false, true}) {
                SCOPED_TRACE(g.name + ", " + std::to_string(down.size()) + " down" +
                             (cueDown ? ", in-off" : ""));
                CEightBallReferee played = g.referee;
                CEightBallReferee resumed;
                const int shooter = played.ToPlay();
                resumed.Resume(shooter, played.GroupOf(shooter), played.Chances(),
                               played.Statuses(), false);
                const ShotFacts f = facts(played, down, cueDown);
                const Verdict a = played.Shot(f);
                const Verdict b = resumed.Shot(f);
                EXPECT_EQ(a.foul, b.foul);
                EXPECT_EQ(a.nextSeat, b.nextSeat);
                EXPECT_EQ(a.chances, b.chances);
                EXPECT_EQ(a.nextStatus, b.nextStatus);
                EXPECT_EQ(a.winner, b.winner);
                EXPECT_EQ(a.solidsSeat, b.solidsSeat);
                EXPECT_EQ(a.stripesSeat, b.stripesSeat);
            }
        }
    }

    CEightBallReferee rack;
    rack.Resume(1, S, 2, rack.Statuses(), true);
    EXPECT_EQ(rack.CurrentPhase(), CEightBallReferee::Phase::Break);
    EXPECT_EQ(rack.Breaker(), 1);
    EXPECT_EQ(rack.GroupOf(1), Open) << "a new rack is open whatever the caller thought";
    EXPECT_EQ(rack.Break(facts(rack, {7})).rerack, true);
}

} // namespace
} // namespace referee

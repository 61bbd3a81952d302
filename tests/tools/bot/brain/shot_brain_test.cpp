#include "tools/bot/brain/ShotBrain.h"

#include "Positions.h"
#include "desk/model/StandardRack.h"
#include "tools/bot/brain/Placement.h"
#include "tools/bot/brain/ShotPlans.h"
#include "tools/referee/ReportCheck.h"

#include <cmath>
#include <gtest/gtest.h>

namespace bot {
namespace {

using desk::kBlackBall;
using desk::kCueBall;
using desk::kOpenTable;
using desk::kSolids;
using desk::kStripes;
using test::fouled;
using test::Position;
using test::replay;

constexpr int kBudget = 80;

CShotBrain strongBrain() {
    return CShotBrain({kStrongestLevel, 1, kBudget});
}

Vec2 pocketPoint(int pocket) {
    return pocketAims()[static_cast<std::size_t>(pocket)].point;
}

// ---- easy pots ----------------------------------------------------------------

struct EasyPot {
    const char* name;
    Vec2 target;
    int pocket;
    double cueDistance; // from the ghost ball
    double cut;         // radians off the straight line
};

class EasyPots : public ::testing::TestWithParam<EasyPot> {};

TEST_P(EasyPots, AreTakenAndGoIn) {
    const EasyPot c = GetParam();
    const Vec2 d = normalized(pocketPoint(c.pocket) - c.target);
    const Vec2 cue = c.target - d * 2.0 - rotated(d, c.cut) * c.cueDistance;
    const int ball = 2;
    // The other player's balls about, out of the way.
    const ShotRequest r = Position()
                              .on(ball, c.target.x, c.target.y)
                              .on(12, -20, 0)
                              .on(10, 5, 15)
                              .cue(cue.x, cue.y)
                              .request(kSolids);
    CShotBrain brain = strongBrain();
    const ShotChoice choice = brain.choose(r);
    EXPECT_EQ(choice.target, ball);
    EXPECT_FALSE(choice.placement);
    EXPECT_GE(choice.expected.ownPotted, 1);
    EXPECT_GT(choice.simulations, 0);
    EXPECT_LE(choice.simulations, kBudget);

    const desk::ShotOutcome out = replay(r, choice);
    EXPECT_EQ(out.judge.m_bGone[ball], 1);
    EXPECT_FALSE(fouled(r, choice, out));
}

INSTANTIATE_TEST_SUITE_P(Cases, EasyPots,
                         ::testing::Values(EasyPot{"StraightIntoACorner", {15, 8}, 2, 8, 0},
                                           EasyPot{"LongStraightShot", {18, 12}, 2, 25, 0},
                                           EasyPot{"StraightIntoTheMiddle", {-0.35, 10}, 4, 6, 0},
                                           EasyPot{"ModestCut", {-18, 10}, 0, 10, 0.4},
                                           EasyPot{"CutTheOtherWay", {20, -2}, 3, 12, -0.5}),
                         [](const auto& info) { return info.param.name; });

// ---- no foul when a clean shot exists ------------------------------------------

struct CleanCase {
    const char* name;
    int group;
    Position position;
};

class CleanShots : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanShots, AreChosenOverFouls) {
    const CleanCase& c = GetParam();
    const ShotRequest r = c.position.request(c.group);
    CShotBrain brain = strongBrain();
    const ShotChoice choice = brain.choose(r);
    EXPECT_FALSE(choice.expected.foul);
    const desk::ShotOutcome out = replay(r, choice);
    EXPECT_FALSE(fouled(r, choice, out)) << "first touch " << out.judge.m_nFirst_Touch;
    EXPECT_EQ(out.judge.m_bGone[kBlackBall], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanShots,
    ::testing::Values(
        // The straight pot at the solid is blocked by a stripe right in
        // front of the cue ball; another solid is open.
        CleanCase{"OpponentBallInTheWay", kSolids,
                  Position().cue(-15, 5).on(8, -10, 5).on(0, 5, 5).on(1, -8, 13).on(9, 0, 0)},
        // The black hangs over a pocket straight ahead; the own ball is far.
        CleanCase{"BlackHangingInTheJaws", kSolids,
                  Position().cue(-0.35, 8).on(kBlackBall, -0.35, 17.0).on(3, 15, -3).on(12, 5, 5)},
        // The cue ball sits on the lip of a corner; a stripe pins it.
        CleanCase{"CueBallOnThePocketLip", kStripes,
                  Position().cue(-24.5, -5).on(11, -15, 0).on(2, -22, -2).on(kBlackBall, 10, 10)},
        // Only opponent balls are near; the own ball is behind the black.
        CleanCase{"OwnBallHidden", kStripes,
                  Position()
                      .cue(-10, 5)
                      .on(0, -6, 5)
                      .on(1, -10, 9)
                      .on(2, -10, 1)
                      .on(kBlackBall, 10, 5)
                      .on(13, 16, 5)}),
    [](const auto& info) { return info.param.name; });

// ---- the black and the open table --------------------------------------------

TEST(ShotBrain, OnAnOpenTableNeverPlaysTheBlackFirst) {
    // The black stands straight in front of a middle pocket; a stripe is a
    // harder shot elsewhere.
    const ShotRequest r =
        Position().cue(-0.35, 6).on(kBlackBall, -0.35, 12).on(10, 12, 3).request(kOpenTable);
    CShotBrain brain = strongBrain();
    const ShotChoice choice = brain.choose(r);
    EXPECT_NE(choice.target, kBlackBall);
    const desk::ShotOutcome out = replay(r, choice);
    EXPECT_NE(out.judge.m_nFirst_Touch, kBlackBall);
    EXPECT_EQ(out.judge.m_bGone[kBlackBall], 0);
    EXPECT_FALSE(fouled(r, choice, out));
}

TEST(ShotBrain, PotsTheBlackOnceItsGroupIsCleared) {
    // Every solid is down (their tray slots); two stripes are left.
    const ShotRequest r =
        Position().cue(-10, 5).on(kBlackBall, 10, 10).on(9, -18, 14).on(13, 5, -3).request(kSolids);
    CShotBrain brain = strongBrain();
    const ShotChoice choice = brain.choose(r);
    EXPECT_EQ(choice.target, kBlackBall);
    EXPECT_TRUE(choice.expected.wins);
    const desk::ShotOutcome out = replay(r, choice);
    EXPECT_EQ(out.judge.m_bGone[kBlackBall], 1);
    EXPECT_EQ(out.judge.m_bWhiteGone, 0);
}

// ---- ball in hand -----------------------------------------------------------

// The desk's own rule, without the slack the table server allows, and the
// server's check.
bool deskAcceptsPlacement(const ShotRequest& r, const CueSpot& spot) {
    const desk::SphereRecords& balls = r.position.records();
    desk::BallCentres centres;
    for (int i = 0; i < desk::kObjectBallCount; ++i)
        centres[static_cast<std::size_t>(i)] = {
            desk::fromInterface(balls[static_cast<std::size_t>(i)].m_nX),
            desk::fromInterface(balls[static_cast<std::size_t>(i)].m_nY)};
    const desk::WorldPoint at{desk::fromInterface(spot.x), desk::fromInterface(spot.y)};
    return desk::cuePlacementArea().contains(at.x, at.y) && desk::clearOfBalls(centres, at) &&
           referee::CheckCuePlacement(balls, spot.x, spot.y).ok();
}

Position crowdedArea() {
    // Object balls on a lattice over the placement area.
    Position p;
    const desk::Rect a = desk::cuePlacementArea();
    int ball = 0;
    for (double x = a.left + 0.5; x < a.right && ball < 7; x += 3.0)
        for (double y = a.bottom + 0.5; y < a.top && ball < 7; y += 4.0, ++ball)
            p.on(ball, x, y);
    return p.on(9, 10, 10).on(kBlackBall, 15, 0).cuePocketed(26.9, 19.3);
}

struct InHandCase {
    const char* name;
    int group;
    Position position;
    bool expectPot;
};

class BallInHand : public ::testing::TestWithParam<InHandCase> {};

TEST_P(BallInHand, PlacesTheCueBallLegallyAndPlaysFromThere) {
    const InHandCase& c = GetParam();
    const ShotRequest r = c.position.request(c.group, true);
    CShotBrain brain = strongBrain();
    const ShotChoice choice = brain.choose(r);
    ASSERT_TRUE(choice.placement);
    EXPECT_TRUE(deskAcceptsPlacement(r, *choice.placement));
    const desk::ShotOutcome out = replay(r, choice);
    EXPECT_FALSE(fouled(r, choice, out));
    if (c.expectPot) {
        EXPECT_GE(choice.expected.ownPotted, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BallInHand,
    ::testing::Values(
        InHandCase{"CuePocketedOpenTable", kOpenTable,
                   Position().cuePocketed(-27.4, -8).on(3, -10, 12).on(12, 8, 2), true},
        InHandCase{"TargetInsideTheArea", kStripes,
                   Position().cuePocketed(-0.3, 20.7).on(9, -20, 6).on(1, -20, 2).on(4, 5, 5),
                   true},
        InHandCase{"CrowdedArea", kStripes, crowdedArea(), false},
        InHandCase{"CueBallLeftOnTheTable", kSolids,
                   Position().cue(10, 10).on(0, -5, 0).on(8, 0, 8), true}),
    [](const auto& info) { return info.param.name; });

TEST(ShotBrain, ACueBallOffTheTableIsPlayedFromTheHand) {
    const ShotRequest r = Position().cuePocketed(-27.4, -8).on(3, -10, 12).request(kSolids, false);
    CShotBrain brain = strongBrain();
    const ShotChoice choice = brain.choose(r);
    ASSERT_TRUE(choice.placement);
    EXPECT_TRUE(deskAcceptsPlacement(r, *choice.placement));
}

// ---- the break ----------------------------------------------------------------

class Breaks : public ::testing::TestWithParam<uint32_t> {};

TEST_P(Breaks, AreLegalAndKeepTheCueBall) {
    ShotRequest r;
    r.position = referee::CTablePosition::Rack(desk::standardRack(GetParam()));
    r.isBreak = true;
    CShotBrain brain = strongBrain();
    const ShotChoice choice = brain.choose(r);
    EXPECT_FALSE(choice.placement);
    EXPECT_EQ(choice.strike.speed, 2000);
    EXPECT_FALSE(choice.expected.foul);

    const desk::ShotOutcome out = replay(r, choice);
    int potted = 0;
    for (int i = 0; i < desk::kObjectBallCount; ++i)
        potted += out.judge.m_bGone[i];
    EXPECT_TRUE(potted > 0 || out.judge.m_nNum_TouchDesk >= 4);
    EXPECT_EQ(out.judge.m_bWhiteGone, 0);
    // The apex is the ball nearest the cue ball.
    const desk::BallPosition foot = desk::footSpot();
    const auto& apex = r.position.records()[static_cast<std::size_t>(choice.target)];
    EXPECT_NEAR(desk::fromInterface(apex.m_nX), foot.x, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Breaks, ::testing::Values(1u, 2u, 3u, 77u));

// ---- determinism and the budget ------------------------------------------------

std::vector<ShotRequest> someRequests() {
    ShotRequest brk;
    brk.position = referee::CTablePosition::Rack(desk::standardRack(5));
    brk.isBreak = true;
    return {
        brk, Position().cue(-15, 5).on(0, 5, 5).on(1, -8, 13).on(9, 0, 0).request(kSolids),
        Position().cuePocketed(-27.4, -8).on(3, -10, 12).on(12, 8, 2).request(kOpenTable, true)};
}

TEST(ShotBrain, SameSettingsSameChoices) {
    CShotBrain a({2, 99, 40});
    CShotBrain b({2, 99, 40});
    CShotBrain other({2, 100, 40});
    bool anyDifferent = false;
    for (const ShotRequest& r : someRequests()) {
        const ShotChoice ca = a.choose(r);
        const ShotChoice cb = b.choose(r);
        const ShotChoice co = other.choose(r);
        EXPECT_EQ(ca.strike.arc, cb.strike.arc);
        EXPECT_EQ(ca.strike.speed, cb.strike.speed);
        EXPECT_EQ(ca.strike.tip, cb.strike.tip);
        EXPECT_EQ(ca.placement.has_value(), cb.placement.has_value());
        if (ca.placement && cb.placement) {
            EXPECT_EQ(ca.placement->x, cb.placement->x);
            EXPECT_EQ(ca.placement->y, cb.placement->y);
        }
        // The plan does not depend on the seed, only the errors do.
        EXPECT_EQ(ca.planned.arc, co.planned.arc);
        anyDifferent = anyDifferent || ca.strike.arc != co.strike.arc;
    }
    EXPECT_TRUE(anyDifferent);
}

TEST(ShotBrain, ThinkingStaysWithinItsBudget) {
    for (int budget : {1, 5, 30}) {
        CShotBrain brain({kStrongestLevel, 1, budget});
        for (const ShotRequest& r : someRequests()) {
            const ShotChoice c = brain.choose(r);
            EXPECT_GE(c.simulations, 1);
            EXPECT_LE(c.simulations, budget + kSafetyReserve);
        }
    }
}

// Whichever way the desks took the position (a rebuilt table after a recovery
// message, or the records after a shot, with or without ball in hand), the
// strike the brain plans does on the table exactly what it did in its
// simulation.
TEST(ShotBrain, ThePlannedStrikeDoesOnTheTableWhatItForecast) {
    const Position mid = Position().cue(-15, 5).on(0, 5, 5).on(1, -8, 13).on(9, 0, 0).on(10, 12, 3);
    const Position inHand = Position().cuePocketed(-27.4, -8).on(3, -10, 12).on(12, 8, 2);
    struct Case {
        const char* name;
        ShotRequest request;
    };
    std::vector<Case> cases;
    cases.push_back({"after a shot", mid.request(kSolids)});
    ShotRequest rebuilt = mid.request(kSolids);
    rebuilt.position = referee::CTablePosition::Rack(mid.records);
    cases.push_back({"rebuilt by a recovery message", rebuilt});
    cases.push_back({"ball in hand", inHand.request(kOpenTable, true)});
    ShotRequest rebuiltInHand = inHand.request(kOpenTable, true);
    rebuiltInHand.position = referee::CTablePosition::Rack(inHand.records);
    cases.push_back({"ball in hand on a rebuilt table", rebuiltInHand});
    ShotRequest twoChances = mid.request(kSolids);
    twoChances.chances = 2;
    cases.push_back({"two chances", twoChances});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CShotBrain brain = strongBrain();
        const ShotChoice choice = brain.choose(c.request);
        ASSERT_EQ(choice.strike.arc, choice.planned.arc);
        const desk::ShotOutcome out = replay(c.request, choice);
        const Forecast f = forecastShot(positionOf(c.request, choice).Statuses(), c.request.myGroup,
                                        false, out, c.request.chances);
        EXPECT_EQ(f.foul, choice.expected.foul);
        EXPECT_EQ(f.ownPotted, choice.expected.ownPotted);
        EXPECT_EQ(f.keepsTurn, choice.expected.keepsTurn);
        EXPECT_EQ(f.chancesAfter, choice.expected.chancesAfter);
        EXPECT_EQ(f.groupAfter, choice.expected.groupAfter);
        EXPECT_EQ(f.wins, choice.expected.wins);
    }
}

} // namespace
} // namespace bot

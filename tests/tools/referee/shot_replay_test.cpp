#include "tools/referee/ShotReplay.h"

#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace referee {
namespace {

using desk::kCueBall;

bool sameBits(const desk::ShotOutcome& a, const desk::ShotOutcome& b) {
    return std::memcmp(&a.balls, &b.balls, sizeof a.balls) == 0 &&
           std::memcmp(&a.judge, &b.judge, sizeof a.judge) == 0 && a.steps == b.steps;
}

// A desk plays a game with one engine: racks, the records after each shot,
// ball in hand placed from interface integers. The referee replays every
// shot on a fresh engine from its position and must get the desk's bits.
TEST(ShotReplay, AFreshEngineGivesTheDesksBits) {
    std::mt19937 rng(99);
    desk::CShotEngine deskEngine;
    desk::SphereRecords state{};
    CTablePosition position;
    int inHand = 0;
    int racks = 0;
    for (int k = 0; k < 120; ++k) {
        if (k % 40 == 0) {
            state = desk::standardRack(rng());
            deskEngine.placeRack(state);
            position = CTablePosition::Rack(state);
            ++racks;
        } else {
            deskEngine.placeFromRecords(state);
            position = CTablePosition::AfterShot(state);
            if (state[kCueBall].m_nStatus == desk::kPocketedThisShot) {
                const desk::BallPosition spot = desk::breakSpot();
                const CuePlacement at{desk::toInterface(spot.x), desk::toInterface(spot.y - 1)};
                deskEngine.placeCueBall(desk::fromInterface(at.x), desk::fromInterface(at.y), true);
                position.PlaceCueBall(at);
                ++inHand;
            }
        }
        const int group = static_cast<int>(rng() % 3) - 1;
        deskEngine.setMyGroup(group);
        const desk::Strike strike{-static_cast<int32_t>(rng() % 6283185),
                                  static_cast<int32_t>(200 + rng() % 1800),
                                  static_cast<int32_t>(rng() % 1000000) - 500000};
        const desk::ShotOutcome atDesk = deskEngine.runShot(strike);

        desk::CShotEngine fresh;
        const desk::ShotOutcome replayed = ReplayShot(fresh, position, group, strike);
        ASSERT_TRUE(sameBits(atDesk, replayed)) << "shot " << k;
        state = atDesk.balls;
    }
    EXPECT_GT(inHand, 0);
    EXPECT_EQ(racks, 3);
}

// One engine replaying shots of unrelated positions in turn, as the server
// does for many tables, still gives each position's bits.
TEST(ShotReplay, OneEngineServesManyPositions) {
    const CTablePosition a = CTablePosition::Rack(desk::standardRack(1));
    const CTablePosition b = CTablePosition::Rack(desk::standardRack(2));
    const desk::Strike strike{-100000, 1500, 0};
    desk::CShotEngine shared;
    const desk::ShotOutcome a1 = ReplayShot(shared, a, -1, strike);
    const desk::ShotOutcome b1 = ReplayShot(shared, b, -1, strike);
    const CTablePosition afterA = CTablePosition::AfterShot(a1.balls);
    const desk::ShotOutcome a2 = ReplayShot(shared, afterA, 0, {-3000000, 900, 100000});
    desk::CShotEngine fresh1, fresh2;
    EXPECT_TRUE(sameBits(a1, ReplayShot(fresh1, a, -1, strike)));
    EXPECT_TRUE(sameBits(a2, ReplayShot(fresh2, afterA, 0, {-3000000, 900, 100000})));
    EXPECT_FALSE(sameBits(a1, b1));
}

TEST(ShotReplay, ARackTakesTheStartOrientation) {
    desk::SphereRecords r = desk::standardRack(4);
    r[3].rotation[0] = 12345;
    const CTablePosition p = CTablePosition::Rack(r);
    EXPECT_EQ(p.records()[3].rotation[0], desk::standardRack(4)[3].rotation[0]);
    EXPECT_EQ(p.kind(), CTablePosition::Kind::Rack);
}

TEST(ShotReplay, APlacedCueBallIsOnTheTable) {
    desk::SphereRecords r = desk::standardRack(4);
    r[kCueBall].m_nStatus = desk::kPocketedThisShot;
    CTablePosition p = CTablePosition::AfterShot(r);
    EXPECT_EQ(p.Statuses()[kCueBall], desk::kPocketedThisShot);
    p.PlaceCueBall({-20000000, 5000000});
    EXPECT_EQ(p.Statuses()[kCueBall], desk::kOnTable);
}

} // namespace
} // namespace referee

#include "desk/physics/ShotEngine.h"

#include "TableSetup.h"
#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace desk {
namespace {

using test::TableSetup;

constexpr int32_t kArcRight = 0;
constexpr int32_t kArcUp = 1570796;
constexpr int32_t kArcLeft = 3141592;
constexpr int32_t kArcDown = -1570796;

// Ball-centre range along the straight rails.
constexpr double kMinX = -25.85, kMaxX = 25.15, kMinY = -6.25, kMaxY = 17.95;

double planarSpeed(const CShotEngine& e, int ball) {
    const Vec3 v = e.world().linearVelocity(ball);
    return std::hypot(v.x, v.y);
}

bool sameResult(const ShotOutcome& a, const ShotOutcome& b) {
    return a.steps == b.steps && std::memcmp(a.balls.data(), b.balls.data(), sizeof a.balls) == 0 &&
           std::memcmp(&a.judge, &b.judge, sizeof a.judge) == 0;
}

std::vector<ShotEvent> eventsOf(const StepReport& r) {
    return r.events;
}

ShotEvent sound(Sound s) {
    return {ShotEvent::Kind::PlaySound, static_cast<int>(s)};
}
ShotEvent light(int pocket) {
    return {ShotEvent::Kind::PocketLight, pocket};
}

// Whether a point lies inside the table outline (pocket mouths included).
bool insideOutline(const CTableLayout& t, double x, double y) {
    bool inside = false;
    for (int a = 0, b = kOutlineVertexCount - 2; a < kOutlineVertexCount - 1; b = a++) {
        const double xa = t.vertexX(a), ya = t.vertexY(a), xb = t.vertexX(b), yb = t.vertexY(b);
        if ((ya > y) != (yb > y) && x < (xb - xa) * (y - ya) / (yb - ya) + xa)
            inside = !inside;
    }
    return inside;
}

// Distance from a point to an axis-parallel box in the plane.
double distanceToBox(double x, double y, const BoxSpec& b) {
    const double dx = std::max(std::fabs(x - b.cx) - b.sx / 2, 0.0);
    const double dy = std::max(std::fabs(y - b.cy) - b.sy / 2, 0.0);
    return std::hypot(dx, dy);
}

// ---- the strike and the cushions ------------------------------------------

struct RailCase {
    const char* name;
    double x, y;
    int32_t arc;
};

class FullPowerAtARail : public ::testing::TestWithParam<RailCase> {};

TEST_P(FullPowerAtARail, TheLayersCatchTheBallAndItStaysOnTheTable) {
    const RailCase c = GetParam();
    CShotEngine e;
    e.placeRack(TableSetup().on(kCueBall, c.x, c.y).records);
    e.strike({c.arc, 2000, 0});
    double maxStepLength = 0;
    Vec3 last = e.world().position(kCueBall);
    for (;;) {
        const StepReport& r = e.step();
        const Vec3 p = e.world().position(kCueBall);
        maxStepLength = std::max(maxStepLength, std::hypot(p.x - last.x, p.y - last.y));
        last = p;
        // Never past the first layer: its outer face is 1.5 outside the rail line.
        EXPECT_GT(p.x, -26.35 - 1.5) << c.name << " step " << r.step;
        EXPECT_LT(p.x, 25.65 + 1.5) << c.name << " step " << r.step;
        EXPECT_GT(p.y, -6.75 - 1.5) << c.name << " step " << r.step;
        EXPECT_LT(p.y, 18.45 + 1.5) << c.name << " step " << r.step;
        if (r.finished)
            break;
    }
    e.finishShot();
    EXPECT_GT(maxStepLength, 1.0) << "the ball should cross more than a layer per step";
    EXPECT_TRUE(e.ball(kCueBall).touchedCushion || e.judge().m_bWhiteGone == 0);
    EXPECT_EQ(e.judge().m_bWhiteGone, 0) << c.name;
    const Vec3 p = e.world().position(kCueBall);
    EXPECT_GE(p.x, kMinX - 0.01) << c.name;
    EXPECT_LE(p.x, kMaxX + 0.01) << c.name;
    EXPECT_GE(p.y, kMinY - 0.01) << c.name;
    EXPECT_LE(p.y, kMaxY + 0.01) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Rails, FullPowerAtARail,
                         ::testing::Values(RailCase{"right", 15, 5.65, kArcRight},
                                           RailCase{"left", -15, 5.65, kArcLeft},
                                           RailCase{"top_left", -14, 5, kArcUp},
                                           RailCase{"bottom_right", 13, 5, kArcDown}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ShotEngine, CueBallAloneKeepsItsSpeedUntilTheFirstCushionThenLosesAFixedAmountPerStep) {
    CShotEngine e;
    e.placeRack(TableSetup().on(kCueBall, -20, 5.65).records);
    e.strike({kArcRight, 2000, 0});

    // The impulse is 2000 × 0.05; rolling on the rough bed takes 2/7 of the
    // linear speed into spin in the first step.
    e.step();
    const double mass = e.world().ballMass(kCueBall);
    EXPECT_NEAR(planarSpeed(e, kCueBall), 2000 * 0.05 / mass * 5 / 7, 0.01);

    e.step();
    e.step(); // rolling has settled
    const double cruising = planarSpeed(e, kCueBall);
    int contactStep = 0;
    for (int n = 4; n < 200 && contactStep == 0; ++n) {
        e.step();
        if (e.ball(kCueBall).touchedCushion) {
            contactStep = n;
        } else {
            EXPECT_NEAR(planarSpeed(e, kCueBall), cruising, 1e-9) << "step " << n;
        }
    }
    ASSERT_GT(contactStep, 0);

    // After the cushion the loop takes 0.04 off the speed each step; the bed
    // hands 2/7 of that back from the spin, so the ball rolls on losing 0.04 × 5/7.
    e.step();
    e.step();
    e.step();
    double previous = planarSpeed(e, kCueBall);
    for (int n = 0; n < 20; ++n) {
        e.step();
        const double now = planarSpeed(e, kCueBall);
        EXPECT_NEAR(previous - now, 0.04 * 5 / 7, 1e-6) << "step " << n;
        previous = now;
    }
}

TEST(ShotEngine, PowerAbove2000IsClampedAndAbove500SoundsStrong) {
    const SphereRecords rack = standardRack(3);
    CShotEngine e;
    e.placeRack(rack);
    EXPECT_TRUE(e.strike({0, 2001, 0}));
    e.placeRack(rack);
    EXPECT_TRUE(e.strike({0, 501, 0}));
    e.placeRack(rack);
    EXPECT_FALSE(e.strike({0, 500, 0}));

    CShotEngine a, b, c;
    a.placeRack(rack);
    b.placeRack(rack);
    c.placeRack(rack);
    const ShotOutcome at2000 = a.runShot({0, 2000, 0});
    EXPECT_TRUE(sameResult(at2000, b.runShot({0, 2001, 0})));
    EXPECT_TRUE(sameResult(at2000, c.runShot({0, 1000000, 0})));
}

TEST(ShotEngine, NegativePowerStrikesNothing) {
    const SphereRecords rack = TableSetup().on(kCueBall, 0, 5.65).records;
    CShotEngine e;
    e.placeRack(rack);
    const ShotOutcome out = e.runShot({0, -2000, 0});
    EXPECT_EQ(out.balls[kCueBall].m_nX, rack[kCueBall].m_nX);
    EXPECT_EQ(out.balls[kCueBall].m_nY, rack[kCueBall].m_nY);
}

TEST(ShotEngine, StrikeResetsTheRecordAndCarriesStatusesOn) {
    CShotEngine e;
    SphereRecords rack = TableSetup().on(kCueBall, 0, 5.65).on(2, 5, 5.65).records;
    rack[4].m_nStatus = kPocketedThisShot;
    rack[kCueBall].m_nStatus = kPocketedThisShot;
    e.placeRack(rack);
    e.strike({0, 0, 0});
    EXPECT_EQ(e.statuses()[4], kPocketedEarlier);
    EXPECT_EQ(e.statuses()[kCueBall], kOnTable);
    EXPECT_EQ(e.judge().m_nFirst_Gone, -1);
    EXPECT_EQ(e.judge().m_bIsTouch_Nothing, 1);
    EXPECT_TRUE(e.running());
}

TEST(ShotEngine, AStrikeWithoutANewPlacementStillDrivesTheCueBall) {
    CShotEngine e;
    e.placeRack(TableSetup().on(kCueBall, -10, 5.65).records);
    e.runShot({0, 0, 0}); // the end of a shot switches every body off
    ASSERT_FALSE(e.world().isEnabled(kCueBall));
    const ShotOutcome out = e.runShot({0, 800, 0});
    EXPECT_GT(placementFrom(out.balls[kCueBall]).x, -8.0); // rolled a few units
}

TEST(ShotEngine, StepWithoutAShotDoesNothing) {
    CShotEngine e;
    e.placeRack(standardRack(1));
    const SphereRecords before = e.records();
    const StepReport& r = e.step();
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.step, 0);
    EXPECT_EQ(std::memcmp(before.data(), e.records().data(), sizeof before), 0);
}

// ---- pocketing -----------------------------------------------------------------

TEST(ShotEngine, TwoBallsPocketedInOneStepGiveTheLowerIndexAsFirstGone) {
    CShotEngine e;
    e.placeRack(TableSetup()
                    .on(kCueBall, 0, 5.65)
                    .on(12, -27.5, 19.2) // in zone 0
                    .on(4, 26.9, -8.0)   // in zone 3
                    .records);
    e.strike({0, 0, 0});
    const StepReport& first = e.step();
    EXPECT_EQ(eventsOf(first), (std::vector<ShotEvent>{sound(Sound::BallPocketed), light(3),
                                                       sound(Sound::BallPocketed), light(0)}));
    while (!e.step().finished) {
    }
    e.finishShot();
    const JudgeRecord& j = e.judge();
    EXPECT_EQ(j.m_nFirst_Gone, 4);
    EXPECT_EQ(j.m_bGone[4], 1);
    EXPECT_EQ(j.m_bGone[12], 1);
    EXPECT_EQ(j.m_bWhiteGone, 0);
    EXPECT_EQ(e.statuses()[4], kPocketedThisShot);
    EXPECT_EQ(e.statuses()[12], kPocketedThisShot);
    // Both wait in their tray slots, in the start orientation.
    const SphereRecords out = e.records();
    for (int b : {4, 12}) {
        const WorldPoint slot = e.view().traySlot(b);
        EXPECT_EQ(out[static_cast<std::size_t>(b)].m_nX, toInterface(slot.x));
        EXPECT_EQ(out[static_cast<std::size_t>(b)].m_nY, toInterface(slot.y));
        EXPECT_EQ(out[static_cast<std::size_t>(b)].m_nStatus, kPocketedThisShot);
        for (std::size_t k = 0; k < 12; ++k)
            EXPECT_NEAR(e.ball(b).rotation[k], startOrientation()[k], 1e-9);
    }
}

TEST(ShotEngine, CueBallAndBallFourPocketed) {
    CShotEngine e;
    e.placeRack(TableSetup().on(kCueBall, 26.9, 19.35).on(4, 26.9, -8.0).records);
    e.strike({0, 0, 0});
    const StepReport& first = e.step();
    EXPECT_EQ(eventsOf(first), (std::vector<ShotEvent>{sound(Sound::BallPocketed),
                                                       light(3),
                                                       {ShotEvent::Kind::CueBallGone, 0},
                                                       sound(Sound::CuePocketed),
                                                       light(2)}));
    EXPECT_FALSE(e.ball(kCueBall).inPlay);
    while (!e.step().finished) {
    }
    e.finishShot();
    EXPECT_EQ(e.judge().m_bWhiteGone, 1);
    EXPECT_EQ(e.judge().m_bGone[4], 1);
    EXPECT_EQ(e.judge().m_nFirst_Gone, 4);
    EXPECT_EQ(e.statuses()[kCueBall], kPocketedThisShot);
    EXPECT_EQ(e.statuses()[4], kPocketedThisShot);
    // The cue ball stays where it went down; it is simply out of play.
    EXPECT_EQ(CTableLayout().pocketAt(e.ball(kCueBall).position.x, e.ball(kCueBall).position.y), 2);
}

TEST(ShotEngine, ABallDrivenIntoACornerPocketGoesDownThroughTheJaws) {
    // The black on the diagonal into the top-right corner, the cue ball behind it.
    CShotEngine e;
    e.placeRack(TableSetup().on(kCueBall, 17.9, 10.35).on(kBlackBall, 22.2, 14.65).records);
    const ShotOutcome out = e.runShot({785398, 900, 0}); // 45°
    EXPECT_EQ(out.judge.m_nFirst_Touch, kBlackBall);
    EXPECT_EQ(out.judge.m_bGone[kBlackBall], 1);
    EXPECT_EQ(out.judge.m_nFirst_Gone, kBlackBall);
    EXPECT_EQ(out.balls[kBlackBall].m_nStatus, kPocketedThisShot);
    EXPECT_EQ(out.judge.m_bWhiteGone, 0);
    EXPECT_EQ(out.balls[kCueBall].m_nStatus, kOnTable);
}

// ---- follow and draw -----------------------------------------------------------

struct FollowCase {
    const char* name;
    double offset; // of the object ball across the line of the shot
    int32_t tip;
    double share; // 0: no follow or draw
};

class FollowAndDraw : public ::testing::TestWithParam<FollowCase> {};

TEST_P(FollowAndDraw, AppliesRightAfterTheFirstContactWithin30Degrees) {
    const FollowCase c = GetParam();
    CShotEngine e;
    e.placeRack(TableSetup().on(kCueBall, -10, 5.65).on(2, -4, 5.65 + c.offset).records);
    e.strike({kArcRight, 600, c.tip});
    int guard = 0;
    while (e.judge().m_nFirst_Touch == -1 && ++guard < 100)
        e.step();
    ASSERT_EQ(e.judge().m_nFirst_Touch, 2);
    const Vec3 cue = e.world().linearVelocity(kCueBall);
    const Vec3 obj = e.world().linearVelocity(2);
    if (c.share != 0) {
        EXPECT_EQ(cue.x, c.share * obj.x);
        EXPECT_EQ(cue.y, c.share * obj.y);
        EXPECT_EQ(cue.z, 0.0);
    } else {
        EXPECT_GT(std::fabs(cue.x - 0.3 * obj.x) + std::fabs(cue.y - 0.3 * obj.y), 1e-3);
        EXPECT_GT(std::fabs(cue.x + 0.3 * obj.x) + std::fabs(cue.y + 0.3 * obj.y), 1e-3);
    }
}

INSTANTIATE_TEST_SUITE_P(Shots, FollowAndDraw,
                         ::testing::Values(FollowCase{"straight_follow", 0, 500000, 0.3},
                                           FollowCase{"straight_draw", 0, -500000, -0.3},
                                           FollowCase{"cut_17_degrees_follow", 0.6, 400000, 0.3},
                                           FollowCase{"cut_17_degrees_draw", -0.6, -750000, -0.3},
                                           FollowCase{"cut_37_degrees_follow", 1.2, 500000, 0},
                                           FollowCase{"cut_37_degrees_draw", -1.2, -500000, 0},
                                           FollowCase{"centre_tip", 0, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- step reports and the two loops ------------------------------------------

TEST(ShotEngine, DetectIsRequestedOnceAtThe250thStepByEitherLoop) {
    for (LoopKind kind : {LoopKind::Worker, LoopKind::Synchronous}) {
        CShotEngine e;
        e.placeRack(standardRack(1));
        e.strike({0, 2000, 0});
        std::vector<int> detectSteps;
        for (;;) {
            const StepReport& r = e.step(kind);
            for (std::size_t k = 0; k < r.events.size(); ++k) {
                if (r.events[k].kind == ShotEvent::Kind::DetectRequest) {
                    detectSteps.push_back(r.step);
                    // The synchronous run asks before it steps.
                    if (kind == LoopKind::Synchronous) {
                        EXPECT_EQ(k, 0u);
                    }
                }
            }
            if (r.finished) {
                EXPECT_GT(r.step, kDetectStep) << "the break should outlast the detect step";
                break;
            }
        }
        EXPECT_EQ(detectSteps, std::vector<int>{kDetectStep});
    }
}

TEST(ShotEngine, SynchronousRunAlsoProcessesBallsPocketedEarlier) {
    // Ball 3, pocketed earlier but still in play, lies in a pocket zone.
    SphereRecords rack = TableSetup().on(kCueBall, 0, 5.65).records;
    rack[3] = makeSphereRecord(3, -27.6, -8.05, kPocketedEarlier, startOrientation());

    CShotEngine worker;
    worker.placeRack(rack);
    worker.strike({0, 0, 0});
    while (!worker.step(LoopKind::Worker).finished) {
    }
    EXPECT_EQ(worker.judge().m_bGone[3], 0);

    CShotEngine sync;
    sync.placeRack(rack);
    sync.strike({0, 0, 0});
    while (!sync.step(LoopKind::Synchronous).finished) {
    }
    EXPECT_EQ(sync.judge().m_bGone[3], 1);
}

TEST(ShotEngine, ShotEndsAfter1001StepsAtTheLatest) {
    CShotEngine e;
    e.placeRack(standardRack(2));
    e.strike({0, 2000, 0});
    int steps = 0;
    for (;;) {
        const StepReport& r = e.step();
        ++steps;
        ASSERT_EQ(r.step, steps);
        if (r.finished)
            break;
        ASSERT_LT(steps, kMaxShotSteps);
    }
    EXPECT_FALSE(e.running());
    EXPECT_EQ(e.stepCount(), 0);
}

TEST(ShotEngine, ShotsThatNeverSettleStopAt1001Steps) {
    CShotEngine e;
    e.placeRack(TableSetup().on(kCueBall, 0, 5.65).on(0, 10, 5.65).records);
    e.strike({0, 0, 0});
    int steps = 0;
    for (;;) {
        // Keep ball 0 rolling, as a ball that never comes to rest would.
        e.world().setLinearVelocity(0, {0.5, 0, 0});
        const StepReport& r = e.step();
        steps = r.step;
        if (r.finished)
            break;
    }
    EXPECT_EQ(steps, kMaxShotSteps);
}

// ---- end of the shot -------------------------------------------------------------

TEST(ShotEngine, EndOfShotLeavesEveryBallAtRestOnTheBedAndClearsCushionMarks) {
    CShotEngine e;
    e.placeRack(standardRack(4));
    e.strike({0, 2000, 0});
    while (!e.step().finished) {
    }
    e.finishShot();
    for (int i = 0; i < kBallCount; ++i) {
        EXPECT_FALSE(e.world().isEnabled(i)) << i;
        EXPECT_FALSE(e.ball(i).touchedCushion) << i;
        EXPECT_EQ(e.ball(i).position.z, kBallRadius) << i;
        EXPECT_EQ(e.world().linearVelocity(i), Vec3{}) << i;
    }
    EXPECT_GT(e.judge().m_nNum_TouchDesk, 0);
}

// ---- a break from the standard rack -----------------------------------------------

TEST(ShotEngine, BreaksScatterThePackAndNoBallLeavesTheTableButIntoAPocket) {
    const CTableLayout layout;
    const auto boxes = cushionBoxes(layout);
    int pocketedOverall = 0;
    for (uint32_t seed = 0; seed < 6; ++seed) {
        const SphereRecords rack = standardRack(seed);
        CShotEngine e;
        e.placeRack(rack);
        const int32_t arc = static_cast<int32_t>(seed) * 3000 - 7500; // a little off straight
        const ShotOutcome out = e.runShot({arc, 2000, 0}, [&](const StepReport& r) {
            for (int i = 0; i < kBallCount; ++i) {
                const BallView b = e.ball(i);
                if (!b.inPlay)
                    continue;
                // Within the outermost cushion layers at every step.
                EXPECT_GT(b.position.x, -30.85)
                    << "seed " << seed << " ball " << i << " step " << r.step;
                EXPECT_LT(b.position.x, 30.15) << "seed " << seed << " ball " << i;
                EXPECT_GT(b.position.y, -21.5) << "seed " << seed << " ball " << i;
                EXPECT_LT(b.position.y, 22.95) << "seed " << seed << " ball " << i;
            }
        });
        EXPECT_EQ(out.judge.m_nFirst_Touch >= 0, true) << seed;
        int moved = 0;
        for (int i = 0; i < kBallCount; ++i) {
            const SphereRecord& r = out.balls[static_cast<std::size_t>(i)];
            const BallPlacement p = placementFrom(r);
            const BallPlacement before = placementFrom(rack[static_cast<std::size_t>(i)]);
            if (std::hypot(p.x - before.x, p.y - before.y) > 1.0)
                ++moved;
            if (r.m_nStatus == kOnTable) {
                // On the bed inside the outline (a ball may rest in a pocket
                // mouth, against the jaws), but neither in a zone nor in a cushion.
                EXPECT_TRUE(insideOutline(layout, p.x, p.y))
                    << "seed " << seed << " ball " << i << " at " << p.x << ", " << p.y;
                EXPECT_EQ(layout.pocketAt(p.x, p.y), -1);
                for (const BoxSpec& b : boxes)
                    EXPECT_GE(distanceToBox(p.x, p.y, b), 1.0 - 0.05)
                        << "seed " << seed << " ball " << i << " inside a cushion";
            } else if (i == kCueBall) {
                EXPECT_EQ(r.m_nStatus, kPocketedThisShot);
                EXPECT_GE(layout.pocketAt(p.x, p.y), 0);
            } else {
                ++pocketedOverall;
                EXPECT_EQ(r.m_nStatus, kPocketedThisShot);
                EXPECT_EQ(out.judge.m_bGone[i], 1);
                const WorldPoint slot = CViewGeometry().traySlot(i);
                EXPECT_EQ(r.m_nX, toInterface(slot.x));
                EXPECT_EQ(r.m_nY, toInterface(slot.y));
            }
        }
        EXPECT_GE(moved, 10) << "seed " << seed;
    }
    RecordProperty("pocketed_on_breaks", pocketedOverall);
}

// ---- placements --------------------------------------------------------------------

TEST(ShotEngine, RackPlacementTakesRecordKForBallKAndTheStartOrientation) {
    SphereRecords rack = standardRack(8);
    for (int k = 0; k < kBallCount; ++k) {
        rack[static_cast<std::size_t>(k)].index = static_cast<int16_t>(15 - k);
        rack[static_cast<std::size_t>(k)].rotation[0] = 0; // ignored by a rack placement
    }
    CShotEngine e;
    e.placeRack(rack);
    for (int k = 0; k < kBallCount; ++k) {
        const BallView b = e.ball(k);
        EXPECT_NEAR(b.position.x, fromInterface(rack[static_cast<std::size_t>(k)].m_nX), 1e-12);
        EXPECT_NEAR(b.position.y, fromInterface(rack[static_cast<std::size_t>(k)].m_nY), 1e-12);
        EXPECT_EQ(b.position.z, kBallRadius);
        EXPECT_TRUE(b.inPlay);
        EXPECT_TRUE(e.world().isEnabled(k));
        EXPECT_NEAR(b.rotation[0], startOrientation()[0], 1e-12);
    }
}

TEST(ShotEngine, AfterShotPlacementKeepsTransmittedOrientationsAndWakesOnlyTheCueBall) {
    CShotEngine e;
    e.placeRack(standardRack(9));
    e.runShot({0, 1500, 0});
    SphereRecords verdict = standardRack(10);
    // Ball 5 turned 90° about z.
    std::fill(std::begin(verdict[5].rotation), std::end(verdict[5].rotation), 0);
    verdict[5].rotation[1] = -1000000;
    verdict[5].rotation[4] = 1000000;
    verdict[5].rotation[10] = 1000000;
    e.placeFromRecords(verdict);
    EXPECT_NEAR(e.ball(5).rotation[1], -1.0, 1e-9);
    EXPECT_NEAR(e.ball(5).rotation[4], 1.0, 1e-9);
    EXPECT_TRUE(e.world().isEnabled(kCueBall));
    EXPECT_FALSE(e.world().isEnabled(5));

    verdict[kCueBall].m_nStatus = kPocketedThisShot;
    e.runShot({0, 0, 0});
    e.placeFromRecords(verdict);
    EXPECT_FALSE(e.world().isEnabled(kCueBall));
}

TEST(ShotEngine, AMeaninglessRotationStillLeavesAProperOne) {
    CShotEngine e;
    SphereRecords rack = standardRack(1);
    for (int32_t& v : rack[3].rotation)
        v = -2000000000;
    e.placeFromRecords(rack);
    const Rotation r = e.ball(3).rotation;
    double det = r[0] * (r[5] * r[10] - r[6] * r[9]) - r[1] * (r[4] * r[10] - r[6] * r[8]) +
                 r[2] * (r[4] * r[9] - r[5] * r[8]);
    EXPECT_NEAR(det, 1.0, 1e-9);
}

TEST(ShotEngine, CueBallInHand) {
    CShotEngine e;
    SphereRecords rack = standardRack(1);
    e.placeRack(rack);
    e.runShot({0, 0, 0}); // every body at rest and switched off
    rack[kCueBall].m_nStatus = kPocketedThisShot;
    e.placeFromRecords(rack);
    ASSERT_FALSE(e.world().isEnabled(kCueBall));
    e.placeCueBall(-12.5, 3.25, false);
    EXPECT_TRUE(e.world().isEnabled(kCueBall));
    EXPECT_EQ(e.statuses()[kCueBall], kPocketedThisShot);
    e.placeCueBall(-12.0, 3.0, true);
    EXPECT_EQ(e.statuses()[kCueBall], kOnTable);
    EXPECT_EQ(e.ball(kCueBall).position, (Vec3{-12.0, 3.0, 1.0}));
}

TEST(ShotEngine, StartOfGameAndEndOfGamePlacements) {
    CShotEngine e;
    e.placeRack(standardRack(1));
    e.removeAllFromPlay();
    for (int i = 0; i < kBallCount; ++i)
        EXPECT_FALSE(e.ball(i).inPlay);
    e.gatherAtCentre();
    for (int i = 0; i < kBallCount; ++i) {
        EXPECT_TRUE(e.ball(i).inPlay);
        EXPECT_EQ(e.ball(i).position, (Vec3{0, 0, 1}));
    }
}

TEST(ShotEngine, DensityChangesBallMassFromTheNextRebuildAndBadDensityIsIgnored) {
    CShotEngine e;
    const double normal = e.world().ballMass(0);
    e.params().setGravity(-5000, 1400);
    EXPECT_EQ(e.world().ballMass(0), normal);
    e.placeRack(standardRack(1));
    EXPECT_NEAR(e.world().ballMass(0), 2 * normal, 1e-12);
    e.params().setGravity(-9810, 0);
    e.params().setGravity(-9810, -700);
    e.rebuild();
    EXPECT_NEAR(e.world().ballMass(0), 2 * normal, 1e-12);
    EXPECT_EQ(e.params().gravity(), -9810);
}

TEST(ShotEngine, StoredParameterDefaults) {
    const CShotEngine e;
    EXPECT_EQ(e.params().ballBall(), (ParamPair{960, 1000}));
    EXPECT_EQ(e.params().ballDown(), (ParamPair{100, 100000000}));
    EXPECT_EQ(e.params().ballDesk(), (ParamPair{900, 2000}));
    EXPECT_EQ(e.params().gravity(), -9810);
    EXPECT_EQ(e.params().density(), 700);
}

TEST(ShotEngine, MyGroupDecidesIllegalFirstContactAndOpponentBalls) {
    // Stripes player: the cue ball runs straight into solid 2.
    const SphereRecords rack = TableSetup().on(kCueBall, -10, 5.65).on(2, -4, 5.65).records;
    CShotEngine e;
    e.setMyGroup(kStripes);
    e.placeRack(rack);
    ShotOutcome out = e.runShot({0, 600, 0});
    EXPECT_EQ(out.judge.m_nFirst_Touch, 2);
    EXPECT_EQ(out.judge.m_bIsTouch_Other, 1);
    e.setMyGroup(kSolids);
    e.placeRack(rack);
    out = e.runShot({0, 600, 0});
    EXPECT_EQ(out.judge.m_bIsTouch_Other, 0);
    e.setMyGroup(7);
    EXPECT_EQ(e.myGroup(), kOpenTable);
}

// ---- determinism within one process ------------------------------------------------

TEST(ShotEngine, SameRackAndStrikeGiveTheSameBitsWhateverCameBefore) {
    const SphereRecords rack = standardRack(11);
    const Strike s{-20000, 2000, 250000};

    CShotEngine fresh;
    fresh.placeRack(rack);
    const ShotOutcome reference = fresh.runShot(s);

    CShotEngine used;
    used.placeRack(standardRack(12));
    used.runShot({1000000, 1700, -300000});
    for (int n = 0; n < 37; ++n)
        dRand(); // the engine's generator has moved on
    used.placeRack(rack);
    EXPECT_TRUE(sameResult(reference, used.runShot(s)));
}

TEST(ShotEngine, AfterShotPlacementsAlsoGiveTheSameBitsWhateverCameBefore) {
    const SphereRecords verdict = standardRack(13);
    const Strike s{100000, 1800, -400000};
    ShotOutcome results[2];
    for (int k = 0; k < 2; ++k) {
        CShotEngine e;
        e.placeRack(standardRack(20 + static_cast<uint32_t>(k)));
        e.runShot({k * 700000, 900 + k * 800, 0});
        e.placeFromRecords(verdict);
        results[k] = e.runShot(s);
    }
    EXPECT_TRUE(sameResult(results[0], results[1]));
}

} // namespace
} // namespace desk

#include "desk/physics/PhysicsWorld.h"

#include "desk/physics/PhysicsParams.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace desk {
namespace {

constexpr double kDensity = 0.7;

TEST(PhysicsWorld, SpacesHoldTheirBoxesAndTheBallsSitInTheTopSpace) {
    const CPhysicsWorld w(CTableLayout(), kDensity);
    EXPECT_EQ(dSpaceGetNumGeoms(w.topSpace()), kSubSpaceCount + kBallCount);
    EXPECT_EQ(dSpaceGetNumGeoms(w.subSpace(SubSpace::Left)), 4);
    EXPECT_EQ(dSpaceGetNumGeoms(w.subSpace(SubSpace::Right)), 4);
    EXPECT_EQ(dSpaceGetNumGeoms(w.subSpace(SubSpace::Top)), 8);
    EXPECT_EQ(dSpaceGetNumGeoms(w.subSpace(SubSpace::Bottom)), 8);
    EXPECT_EQ(dSpaceGetNumGeoms(w.subSpace(SubSpace::Bed)), 1);
    for (int i = 0; i < kBallCount; ++i)
        EXPECT_EQ(dGeomGetSpace(w.sphere(i)), w.topSpace());
}

TEST(PhysicsWorld, WorldSettings) {
    const CPhysicsWorld w(CTableLayout(), kDensity);
    dVector3 g;
    dWorldGetGravity(w.world(), g);
    EXPECT_EQ(g[2], -9.81);
    EXPECT_EQ(dWorldGetERP(w.world()), 0.08);
    EXPECT_EQ(dWorldGetCFM(w.world()), 0.00001);
    EXPECT_EQ(dWorldGetContactMaxCorrectingVel(w.world()), 100);
    EXPECT_NE(dWorldGetAutoDisableFlag(w.world()), 0);
    EXPECT_EQ(dWorldGetQuickStepNumIterations(w.world()), 20);
}

TEST(PhysicsWorld, BallsStartAtRestPlacementWithMassFromDensity) {
    const CPhysicsWorld w(CTableLayout(), kDensity);
    for (int i = 0; i < kBallCount; ++i) {
        EXPECT_EQ(w.position(i), (Vec3{2.5 * i - 10, 0, 1}));
        EXPECT_NEAR(w.ballMass(i), 0.7 * 4.0 / 3.0 * std::numbers::pi, 1e-12);
        EXPECT_EQ(reinterpret_cast<intptr_t>(dBodyGetData(w.body(i))), i);
        EXPECT_EQ(dBodyGetFiniteRotationMode(w.body(i)), 1);
        for (std::size_t k = 0; k < 12; ++k)
            EXPECT_NEAR(w.rotation(i)[k], startOrientation()[k], 1e-12);
    }
    EXPECT_NEAR(w.ballMass(0), 2.932, 1e-3);
}

TEST(PhysicsWorld, RebuildKeepsPosesAndGivesFreshEnabledBodiesAtRest) {
    CPhysicsWorld w(CTableLayout(), kDensity);
    Rotation turned{};
    turned[1] = -1; // 90° about z
    turned[4] = 1;
    turned[10] = 1;
    w.setPosition(3, 4.5, -2.25, 1.0);
    w.setRotation(3, turned);
    w.setLinearVelocity(3, {5, 0, 0});
    w.disable(5);
    w.rebuild(kDensity);
    EXPECT_EQ(w.position(3), (Vec3{4.5, -2.25, 1.0}));
    for (std::size_t k = 0; k < 12; ++k)
        EXPECT_NEAR(w.rotation(3)[k], turned[k], 1e-12);
    EXPECT_EQ(w.linearVelocity(3), Vec3{});
    EXPECT_TRUE(w.isEnabled(5));
    EXPECT_TRUE(dGeomIsEnabled(w.sphere(5)));
    EXPECT_EQ(dSpaceGetNumGeoms(w.topSpace()), kSubSpaceCount + kBallCount);
}

TEST(PhysicsWorld, DensityTakesEffectAtTheNextRebuild) {
    CPhysicsParams params;
    CPhysicsWorld w(CTableLayout(), params.ballDensity());
    const double before = w.ballMass(0);
    params.setGravity(-5000, 1400);
    EXPECT_EQ(w.ballMass(0), before);
    w.rebuild(params.ballDensity());
    EXPECT_NEAR(w.ballMass(0), 2 * before, 1e-12);
    // The fall of the balls does not change with the stored gravity.
    dVector3 g;
    dWorldGetGravity(w.world(), g);
    EXPECT_EQ(g[2], -9.81);
}

struct Recorder : IContactListener {
    std::vector<int> cushions;
    std::vector<std::pair<int, int>> balls;
    void onCushionContact(int ball) override { cushions.push_back(ball); }
    void onBallContact(int a, int b) override { balls.emplace_back(a, b); }
};

TEST(PhysicsWorld, CollisionPassReportsCushionAndBallContactsButNotTheBed) {
    CPhysicsWorld w(CTableLayout(), kDensity);
    w.setPosition(kCueBall, 0, -20, 1); // its rest spot lies inside the right rail
    // Ball 0 pressed into the right rail's first layer, balls 1 and 2 touching.
    w.setPosition(0, 25.4, 5.65, 1);
    w.setPosition(1, 0, 5.65, 1);
    w.setPosition(2, 1.95, 5.65, 1);
    Recorder r;
    w.collide(r);
    ASSERT_FALSE(r.cushions.empty());
    for (int b : r.cushions)
        EXPECT_EQ(b, 0);
    ASSERT_EQ(r.balls.size(), 1u);
    EXPECT_EQ(std::min(r.balls[0].first, r.balls[0].second), 1);
    EXPECT_EQ(std::max(r.balls[0].first, r.balls[0].second), 2);
    w.step(); // the contact joints are dropped after the step
}

TEST(PhysicsWorld, ABallBehindTheSubSpacesInThePairWalkStillMeetsTheBoxes) {
    CPhysicsWorld w(CTableLayout(), kDensity);
    w.setPosition(kCueBall, 0, -20, 1);
    w.setPosition(0, 25.4, 5.65, 1);
    // Move the right sub-space to the head of the top space, ahead of ball 0,
    // so the engine hands the pair over as (space, ball).
    dSpaceRemove(w.topSpace(), reinterpret_cast<dGeomID>(w.subSpace(SubSpace::Right)));
    dSpaceAdd(w.topSpace(), reinterpret_cast<dGeomID>(w.subSpace(SubSpace::Right)));
    Recorder r;
    w.collide(r);
    EXPECT_FALSE(r.cushions.empty());
}

// Worlds made after others were destroyed (the engine's global state is set
// up and torn down with them) still collide like the first one.
TEST(PhysicsWorld, ManyWorldsComeAndGoAndEachCollidesLikeTheFirst) {
    std::vector<int> firstCushions;
    for (int n = 0; n < 20; ++n) {
        CPhysicsWorld w(CTableLayout(), kDensity);
        w.rebuild(kDensity);
        Recorder r;
        w.collide(r); // the cue ball's rest spot lies inside the right rail
        w.step();
        if (n == 0) {
            firstCushions = r.cushions;
            ASSERT_FALSE(firstCushions.empty());
        }
        EXPECT_EQ(r.cushions, firstCushions) << "world " << n;
        EXPECT_TRUE(r.balls.empty()) << "world " << n;
    }
}

} // namespace
} // namespace desk

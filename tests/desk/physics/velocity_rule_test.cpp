#include "desk/physics/VelocityRule.h"

#include <cmath>
#include <gtest/gtest.h>

namespace desk {
namespace {

double planar(const Vec3& v) {
    return std::hypot(v.x, v.y);
}

TEST(VelocityRule, RollingBallLosesExactlyPointZeroFourOfPlanarSpeed) {
    const double speeds[] = {0.05, 0.5, 3.0, 9.99, 10.0, 34.0};
    for (double s : speeds) {
        const BallMotion now{{s * 0.6, -s * 0.8, 0}, {1, 2, 4}};
        const BallMotion next = nextMotion(now, {});
        EXPECT_NEAR(planar(next.linear), s - 0.04, 1e-12) << s;
        // Direction kept, spin kept, the spin about z halved.
        EXPECT_NEAR(next.linear.x / next.linear.y, now.linear.x / now.linear.y, 1e-12);
        EXPECT_EQ(next.angular, (Vec3{1, 2, 2}));
    }
}

TEST(VelocityRule, SlowBallsStop) {
    struct Case {
        Vec3 v;
    };
    // At most 0.04: clamped to 0 in this step; at most 0.01: set to rest.
    for (const Vec3 v : {Vec3{0.04, 0, 0}, Vec3{0.03, -0.02, 0.3}, Vec3{0.006, 0.008, 0}}) {
        const BallMotion next = nextMotion({v, {3, 3, 3}}, {});
        EXPECT_EQ(next.linear.x, 0);
        EXPECT_EQ(next.linear.y, 0);
        EXPECT_EQ(next.angular, Vec3{}) << v.x << "," << v.y;
    }
}

TEST(VelocityRule, VerticalSpeedSettles) {
    struct Case {
        double vz, expected;
    };
    const Case cases[] = {{2.0, 1.5}, {-2.0, -1.5}, {0.5, 0}, {-0.3, 0}, {0.75, 0.25}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(nextMotion({{1, 0, c.vz}, {}}, {}).linear.z, c.expected) << c.vz;
}

TEST(VelocityRule, FastCueBallRunsFreeUntilItsFirstContact) {
    VelocityContext cue;
    cue.cueBall = true;
    cue.cueBallFree = true;
    const BallMotion fast{{8, 6, 0.25}, {1, 1, 1}};
    EXPECT_EQ(nextMotion(fast, cue).linear, fast.linear);

    VelocityContext afterCushion = cue;
    afterCushion.touchedCushion = true;
    EXPECT_NEAR(planar(nextMotion(fast, afterCushion).linear), 10 - 0.04, 1e-12);

    VelocityContext afterBall = cue;
    afterBall.cueBallFree = false;
    EXPECT_NEAR(planar(nextMotion(fast, afterBall).linear), 10 - 0.04, 1e-12);

    const BallMotion slower{{5.9, 8, 0}, {}}; // just under 10
    EXPECT_LT(planar(nextMotion(slower, cue).linear), planar(slower.linear));

    VelocityContext object = cue;
    object.cueBall = false;
    EXPECT_NEAR(planar(nextMotion(fast, object).linear), 10 - 0.04, 1e-12);
}

TEST(VelocityRule, FollowAndDrawTakeAShareOfTheFirstBallsVelocity) {
    VelocityContext ctx;
    ctx.cueBall = true;
    ctx.followDraw = true;
    ctx.firstBallVelocity = {10, -4, 0.7};
    const BallMotion now{{1, 1, 1}, {2, 2, 2}};
    ctx.tipOffset = 0.5;
    EXPECT_EQ(nextMotion(now, ctx).linear, (Vec3{0.3 * 10, 0.3 * -4, 0}));
    ctx.tipOffset = -0.75;
    EXPECT_EQ(nextMotion(now, ctx).linear, (Vec3{-0.3 * 10, -0.3 * -4, 0}));
    EXPECT_EQ(nextMotion(now, ctx).angular, (Vec3{2, 2, 1}));
    // Only the cue ball is ever given follow or draw.
    ctx.cueBall = false;
    EXPECT_NEAR(planar(nextMotion(now, ctx).linear), std::sqrt(2.0) - 0.04, 1e-12);
}

} // namespace
} // namespace desk

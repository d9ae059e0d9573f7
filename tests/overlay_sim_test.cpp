// The simulated world the overlays stand on: line-of-sight probes and the
// projection of world points to the screen.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/natives.h"
#include "sim/sim.h"
#include "sim/world/player.h"
#include "sim/world/projection.h"
#include "sim/world/shapetests.h"
#include "sim/world/vehicles.h"
#include "tests/play.h"

namespace {

struct ProbeResult {
    int status;
    int32_t hit;
    Vec3 point, normal;
    int32_t entity;
};

ProbeResult probe(Vec3 a, Vec3 b, int flags, int32_t ignored) {
    int h = game::startExpensiveSynchronousShapeTestLosProbe(a.x, a.y, a.z, b.x, b.y, b.z, flags, ignored, 7);
    ProbeResult r{};
    NativeVector3 p{}, n{};
    r.status = game::getShapeTestResult(h, &r.hit, &p, &n, &r.entity);
    r.point = {p.x, p.y, p.z};
    r.normal = {n.x, n.y, n.z};
    return r;
}

TEST(SimProbes, NearestOfGroundBoxesAndBodiesIgnoringOneEntity) {
    play::bootAsLoaded();
    sim::addSolidBox({0.0f, 10.5f, 1.0f}, {4.0f, 1.0f, 2.0f});  // near face at y = 10
    ProbeResult r = probe({0, -5, 1}, {0, 50, 1}, 31, 0);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.hit, 1);
    EXPECT_EQ(r.entity, sim::player.ped) << "the player's body is nearest";
    EXPECT_NEAR(r.point.y, -0.3f, 1e-4f);
    r = probe({0, -5, 1}, {0, 50, 1}, 31, sim::player.ped);
    EXPECT_NEAR(r.point.y, 10.0f, 1e-4f);
    EXPECT_EQ(r.entity, 0);
    EXPECT_EQ(r.normal.y, -1.0f);
    r = probe({0, 10.5f, 50}, {0, 10.5f, -50}, 1, 0);  // down onto the box
    EXPECT_NEAR(r.point.z, 2.0f, 1e-4f);
    EXPECT_EQ(r.normal.z, 1.0f);
    r = probe({30, 0, 5}, {30, 50, 5}, 31, 0);  // past everything
    EXPECT_EQ(r.hit, 0);
    // A vehicle stops a probe that asks for vehicles only.
    sim::spawnVehicle(0, {30.0f, 20.0f, 1.0f});
    EXPECT_EQ(probe({30, 0, 1}, {30, 50, 1}, 2, 0).hit, 1);
    EXPECT_EQ(probe({30, 0, 1}, {30, 50, 1}, 1, 0).hit, 0);
}

TEST(SimProbes, AResultIsReadOnceInItsFrame) {
    play::bootAsLoaded();
    int h = game::startExpensiveSynchronousShapeTestLosProbe(0, 0, 5, 0, 0, -5, 1, 0, 7);
    int32_t hit = 0;
    NativeVector3 p{}, n{};
    Entity e = 0;
    EXPECT_EQ(game::getShapeTestResult(h, &hit, &p, &n, &e), 2);
    EXPECT_EQ(hit, 1);
    hit = 0;
    EXPECT_EQ(game::getShapeTestResult(h, &hit, &p, &n, &e), 0);
    EXPECT_EQ(hit, 0);
    EXPECT_EQ(sim::probesInFrame(sim::frameIndex()), 1);
}

TEST(SimProjection, SixteenByNineThroughThePoseAndNothingBehind) {
    sim::ViewPose view{{10.0f, 0.0f, 2.0f}, {0.0f, 0.0f, 90.0f}, 60.0f};  // looking west
    float x = 0, y = 0;
    ASSERT_TRUE(sim::projectToScreen(view, {0.0f, 0.0f, 2.0f}, x, y));
    EXPECT_NEAR(x, 0.5f, 1e-5f);
    EXPECT_NEAR(y, 0.5f, 1e-5f);
    float halfV = std::tan(30.0f * 0.0174532925f);
    ASSERT_TRUE(sim::projectToScreen(view, {0.0f, 0.0f, 2.0f + 10.0f * halfV}, x, y));
    EXPECT_NEAR(y, 0.0f, 1e-5f) << "the top edge at half the vertical field of view";
    ASSERT_TRUE(sim::projectToScreen(view, {0.0f, -10.0f * halfV * 16.0f / 9.0f, 2.0f}, x, y));
    EXPECT_NEAR(x, 0.0f, 1e-5f) << "south is to the left when looking west";
    ASSERT_TRUE(sim::projectToScreen(view, {9.0f, 50.0f, 2.0f}, x, y));
    EXPECT_GT(x, 1.0f) << "in front but outside the view still projects";
    EXPECT_FALSE(sim::projectToScreen(view, {20.0f, 0.0f, 2.0f}, x, y));
}

}  // namespace

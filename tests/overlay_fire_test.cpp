// The aim point and the redirected trigger: in bodycam mode shots leave along
// the camera's aim ray, full-auto, only through the order to shoot at its hit.
#include <gtest/gtest.h>

#include <cmath>

#include "overlay/tracers.h"
#include "overlay_scene.h"
#include "sim/world/vehicles.h"

namespace {

std::vector<sim::Shot> shotsSince(uint32_t tick) {
    std::vector<sim::Shot> out;
    for (const sim::Shot& s : sim::weapons.shots)
        if (static_cast<int32_t>(s.tick - tick) >= 0) out.push_back(s);
    return out;
}

bool aimForcedInFrame(uint32_t frame) {
    for (const sim::ForcedControl& f : sim::controls.forced)
        if (f.frame == frame && f.group == 0 && f.control == kControlAim && f.value == 1.0f) return true;
    return false;
}

TEST(AimPoint, OneProbePerFrameAlongTheGameplayAimFromTheCamera) {
    scene::bodycamWith("WEAPON_PISTOL");
    sim::setGameplayRotation(10.0f, 0.0f, 30.0f);  // up 10 degrees, turned 30 degrees left
    sim::frames(5);
    EXPECT_EQ(sim::frameCalls(native::kStartExpensiveSynchronousShapeTestLosProbe).size(), 1u);
    const sim::Probe& p = scene::lastProbe();
    // From the camera, 2000 m along (-cos p sin y, cos p cos y, sin p).
    const sim::ScriptCam* cam = sim::liveScriptCam();
    ASSERT_NE(cam, nullptr);
    EXPECT_NEAR(p.from.x, cam->position.x, 0.05f);
    EXPECT_NEAR(p.from.y, cam->position.y, 0.05f);
    EXPECT_NEAR(p.from.z, cam->position.z, 0.15f);
    float cp = std::cos(10.0f * 0.01745329f), sp = std::sin(10.0f * 0.01745329f);
    float sy = std::sin(30.0f * 0.01745329f), cy = std::cos(30.0f * 0.01745329f);
    EXPECT_NEAR(p.to.x - p.from.x, -2000.0f * cp * sy, 0.5f);
    EXPECT_NEAR(p.to.y - p.from.y, 2000.0f * cp * cy, 0.5f);
    EXPECT_NEAR(p.to.z - p.from.z, 2000.0f * sp, 0.5f);
    EXPECT_EQ(p.ignored, sim::player.ped);
    // It hits the wall, and the aim point is where.
    EXPECT_TRUE(p.hit);
    EXPECT_EQ(aimPointValid, 1);
    EXPECT_NEAR(aimPoint.y, scene::kWallY, 1e-3f);
    EXPECT_NEAR(aimPoint.x, p.point.x, 1e-4f);

    // Looking at the open sky the aim point is the far end.
    sim::setGameplayRotation(20.0f, 0.0f, 180.0f);
    sim::frame();
    EXPECT_NEAR(aimPoint.y, scene::lastProbe().to.y, 1e-2f);
    EXPECT_NEAR(aimPoint.z, scene::lastProbe().to.z, 1e-2f);
}

TEST(AimPoint, NoRayWithoutAFirearmOrWithTheBodycamOff) {
    scene::bodycamWith("WEAPON_KNIFE");
    sim::frames(3);
    EXPECT_TRUE(sim::collision.probes.empty());
    EXPECT_EQ(aimPointValid, 0);
    sim::equipWeapon("WEAPON_PISTOL");
    sim::frame();
    EXPECT_EQ(aimPointValid, 1);
    BodycamMaster = 0;
    sim::frame();
    EXPECT_EQ(aimPointValid, 0) << "a stale aim point must not survive into a frame without a ray";
    EXPECT_TRUE(sim::frameCalls(native::kStartExpensiveSynchronousShapeTestLosProbe).empty());
}

// Played far from the 32-bit tick wrap and with the wrap inside the first 150 ms
// of the press.
class UnaimedPress : public testing::TestWithParam<uint32_t> {};

TEST_P(UnaimedPress, UnaimedPressForcesAimFor150msThenFiresFullAutoAtTheAimPoint) {
    scene::bodycamWith("WEAPON_CARBINERIFLE", {.startTick = GetParam()});
    sim::holdControl(kControlAttack);
    sim::frame();
    uint32_t press = sim::now();
    uint32_t pressFrame = sim::frameIndex() - 1;
    if (GetParam() != play::kFarFromTheWrap) {
        ASSERT_GT(press, 0u - 150u);
    }
    sim::runFor(600);

    std::vector<sim::Shot> shots = shotsSince(press);
    ASSERT_GE(shots.size(), 3u);
    uint32_t firstDelay = shots[0].tick - press;
    EXPECT_GE(firstDelay, 150u) << "nothing leaves in the first 150 ms of an unaimed press";
    EXPECT_LE(firstDelay, 150u + 2 * 16u);
    for (const sim::Shot& s : shots) EXPECT_TRUE(s.ordered) << "the player's own firing stays disabled";
    EXPECT_EQ(sim::weapons.firingPattern, sim::hashKey("FIRING_PATTERN_FULL_AUTO"));
    EXPECT_TRUE(sim::weapons.shootOrder);
    EXPECT_NEAR(sim::weapons.shootTarget.y, scene::kWallY, 1e-3f);
    // Aim is forced for the next frame in every frame of the press.
    for (uint32_t f = pressFrame; f < sim::frameIndex(); ++f) EXPECT_TRUE(aimForcedInFrame(f)) << "frame " << f;

    // Release: one stop order at the aim point and one task clear, then nothing.
    sim::releaseControl(kControlAttack);
    sim::frame();
    auto stops = sim::frameCalls(native::kSetPedShootsAtCoord);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0]->i(4), 0);
    EXPECT_EQ(sim::frameCalls(native::kClearPedSecondaryTask).size(), 1u);
    EXPECT_FALSE(sim::weapons.shootOrder);
    size_t shotCount = sim::weapons.shots.size();
    sim::frames(10);
    EXPECT_EQ(sim::weapons.shots.size(), shotCount);
    EXPECT_TRUE(sim::calls(native::kSetPedShootsAtCoord).back()->i(4) == 0);
    EXPECT_FALSE(aimForcedInFrame(sim::frameIndex() - 1));
}
INSTANTIATE_TEST_SUITE_P(Clock, UnaimedPress, testing::Values(play::kFarFromTheWrap, 0u - 180u));

TEST(Trigger, AimHeldFirstFiresAtOnce) {
    scene::bodycamWith("WEAPON_CARBINERIFLE");
    sim::holdControl(kControlAim);
    sim::frame();
    sim::holdControl(kControlAttack);
    sim::frame();
    uint32_t press = sim::now();
    sim::frames(2);
    std::vector<sim::Shot> shots = shotsSince(press);
    ASSERT_FALSE(shots.empty());
    EXPECT_LE(shots[0].tick - press, 16u);
    EXPECT_TRUE(shots[0].ordered);
}

TEST(Trigger, ReloadEndsThePressAndTheNextPressWaitsAgain) {
    scene::bodycamWith("WEAPON_CARBINERIFLE");
    sim::holdControl(kControlAttack);
    sim::runFor(400);
    ASSERT_FALSE(sim::weapons.shots.empty());

    sim::startReload();
    sim::frame();
    auto orders = sim::frameCalls(native::kSetPedShootsAtCoord);
    ASSERT_EQ(orders.size(), 1u) << "a reload ends the press with one stop order";
    EXPECT_EQ(orders[0]->i(4), 0);
    EXPECT_EQ(sim::frameCalls(native::kClearPedSecondaryTask).size(), 1u);

    // Still held through the reload: a new press begins when it ends, unaimed,
    // so it waits 150 ms again.
    while (sim::weapons.reloading) sim::frame();
    uint32_t reloaded = sim::now();
    sim::runFor(400);
    std::vector<sim::Shot> after = shotsSince(reloaded);
    ASSERT_FALSE(after.empty());
    EXPECT_GE(after[0].tick - reloaded, 150u);
    EXPECT_LE(after[0].tick - reloaded, 150u + 3 * 16u);
}

TEST(Trigger, BodycamOffClearsTheTaskOnceAndHandsTheTriggerBack) {
    scene::bodycamWith("WEAPON_CARBINERIFLE");
    sim::holdControl(kControlAim);
    sim::holdControl(kControlAttack);
    sim::runFor(200);
    sim::releaseControl(kControlAttack);
    sim::frame();
    size_t clears = sim::calls(native::kClearPedSecondaryTask).size();

    BodycamMaster = 0;
    sim::frames(5);
    EXPECT_EQ(sim::calls(native::kClearPedSecondaryTask).size(), clears + 1);
    // The player's own firing works again.
    size_t before = sim::weapons.shots.size();
    sim::holdBurst(300);
    ASSERT_GT(sim::weapons.shots.size(), before);
    EXPECT_FALSE(sim::weapons.shots.back().ordered);
    EXPECT_EQ(sim::calls(native::kClearPedSecondaryTask).size(), clears + 1);
}

TEST(Trigger, APressNeverOutlivesTheStepThatOrderedIt) {
    // Into a car, into the sniper scope, or onto a weapon that does not fire:
    // the step stops running, and the order to shoot must not stay behind.
    scene::bodycamWith("WEAPON_CARBINERIFLE");
    sim::holdControl(kControlAim);
    auto firingThen = [](auto change) {
        sim::holdControl(kControlAttack);
        sim::runFor(300);
        ASSERT_TRUE(sim::weapons.shootOrder);
        change();
        sim::frame();
        EXPECT_FALSE(sim::weapons.shootOrder);
        size_t shots = sim::weapons.shots.size();
        sim::runFor(500);
        for (size_t k = shots; k < sim::weapons.shots.size(); ++k) EXPECT_FALSE(sim::weapons.shots[k].ordered);
        sim::releaseControl(kControlAttack);
    };

    int32_t car = sim::spawnVehicle(0, {3.0f, 0.0f, 1.0f});
    firingThen([car] { sim::enterVehicle(car); });
    sim::leaveVehicle();
    sim::runFor(500);

    firingThen([] { sim::equipWeapon("WEAPON_GRENADE"); });
    sim::equipWeapon("WEAPON_CARBINERIFLE");
    sim::runFor(500);

    SniperGameView = 1;  // aiming a sniper rifle hands the view to the game's scope
    sim::equipWeapon("WEAPON_SNIPERRIFLE");
    sim::releaseControl(kControlAim);
    sim::frame();
    sim::holdControl(kControlAim);
    firingThen([] { sim::holdKey(kVkRightMouse); sim::runFor(200); });
    EXPECT_EQ(cameraRendering, 0);
}

}  // namespace

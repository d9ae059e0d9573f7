// Aiming views: the aim-down-sights latch and its zoom, and the sniper scope
// detection that hands the view back to the game.
#include <gtest/gtest.h>

#include "camera/aiming.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/weapons.h"
#include "tests/play.h"

namespace {

FrameContext onFoot() {
    FrameContext ctx{};
    ctx.ped = sim::player.ped;
    ctx.alive = true;
    ctx.controlOn = true;
    return ctx;
}

// One frame with the aiming steps run as the camera pipeline runs them.
void aimingFrame(bool inVehicle = false) {
    sim::frame();
    FrameContext ctx = onFoot();
    ctx.inVehicle = inVehicle;
    updateAdsLatch(ctx);
    updateSniperDetection(ctx);
    if (!inVehicle) updateAdsZoom();
}

void bootAiming() {
    play::boot();
    ADSGameView = 1;
    CrosshairOnlyADS = 0;
    SniperGameView = 1;
    sim::equipWeapon("WEAPON_PISTOL");
}

void wheel(int control) {
    sim::setControlNormal(control, 1.0f);
    aimingFrame();
    sim::setControlNormal(control, 0.0f);
}

TEST(AdsLatch, WheelSetsAndClearsBackWinsAndTheLatchOutlivesTheAim) {
    bootAiming();
    sim::holdControl(kControlAim);
    aimingFrame();
    EXPECT_EQ(adsActive, 0);
    wheel(kControlWheelForward);
    EXPECT_EQ(adsActive, 1);
    // The zoom eases in at 5 per second and never jumps.
    float first = adsBlend;
    EXPECT_GT(first, 0.0f);
    EXPECT_LT(first, 0.1f);
    for (int k = 0; k < 100; ++k) aimingFrame();
    EXPECT_NEAR(adsBlend, 1.0f, 1e-3f);

    wheel(kControlWheelBack);
    EXPECT_EQ(adsActive, 0);
    wheel(kControlWheelForward);
    sim::setControlNormal(kControlWheelForward, 1.0f);  // both in one frame: back wins
    wheel(kControlWheelBack);
    sim::setControlNormal(kControlWheelForward, 0.0f);
    EXPECT_EQ(adsActive, 0);

    // Released aim: not active, the zoom drops, but the choice stays.
    wheel(kControlWheelForward);
    sim::releaseControl(kControlAim);
    for (int k = 0; k < 100; ++k) aimingFrame();
    EXPECT_EQ(adsActive, 0);
    EXPECT_EQ(adsBlend, 0.0f);
    sim::holdControl(kControlAim);
    aimingFrame();
    EXPECT_EQ(adsActive, 1);

    // The wheel while not aiming changes nothing.
    sim::releaseControl(kControlAim);
    wheel(kControlWheelBack);
    sim::holdControl(kControlAim);
    aimingFrame();
    EXPECT_EQ(adsActive, 1);
}

TEST(AdsLatch, LookBehindFlipsOncePerPress) {
    bootAiming();
    sim::holdControl(kControlAim);
    sim::holdControl(kControlLookBehind);
    for (int k = 0; k < 10; ++k) aimingFrame();
    EXPECT_EQ(adsActive, 1);
    sim::releaseControl(kControlLookBehind);
    aimingFrame();
    sim::holdControl(kControlLookBehind);
    aimingFrame();
    EXPECT_EQ(adsActive, 0);
    // Still held when the aim ends and starts again: a new press for the next aim.
    sim::releaseControl(kControlAim);
    aimingFrame();
    sim::holdControl(kControlAim);
    aimingFrame();
    EXPECT_EQ(adsActive, 1);
}

TEST(AdsLatch, CrosshairOnlyModeLatchesWithoutZoomAndBothOffDoNothing) {
    bootAiming();
    ADSGameView = 0;
    CrosshairOnlyADS = 1;
    sim::holdControl(kControlAim);
    wheel(kControlWheelForward);
    for (int k = 0; k < 30; ++k) aimingFrame();
    EXPECT_EQ(adsActive, 1);
    EXPECT_EQ(adsBlend, 0.0f);

    CrosshairOnlyADS = 0;
    aimingFrame();
    EXPECT_EQ(adsActive, 0);
    wheel(kControlWheelBack);  // ignored while both are off
    CrosshairOnlyADS = 1;
    aimingFrame();
    EXPECT_EQ(adsActive, 1);
}

void setTrigger(uint32_t slot, uint8_t value) {
    sim::os.padConnected[slot] = true;
    sim::os.pads[slot].leftTrigger = value;
}

TEST(SniperScope, HandsOverAfterA150MsAimWithASniperRifleOnFootOnly) {
    bootAiming();
    sim::equipWeapon("WEAPON_SNIPERRIFLE");
    sim::holdKey(kVkRightMouse);
    aimingFrame();
    uint32_t start = sim::now();
    while (sim::now() - start < 144) {
        aimingFrame();
        EXPECT_EQ(sniperView, 0) << sim::now() - start;
    }
    aimingFrame();  // 160 ms
    EXPECT_EQ(sniperView, 1);
    sim::releaseKey(kVkRightMouse);
    aimingFrame();
    EXPECT_EQ(sniperView, 0);

    // A short aim does not switch, and the next aim starts its own 150 ms.
    sim::holdKey(kVkRightMouse);
    aimingFrame();
    sim::releaseKey(kVkRightMouse);
    aimingFrame();
    sim::holdKey(kVkRightMouse);
    for (int k = 0; k < 9; ++k) aimingFrame();
    EXPECT_EQ(sniperView, 0);

    // Never in a vehicle; never with a pistol; never with the setting off.
    for (int k = 0; k < 30; ++k) aimingFrame(true);
    EXPECT_EQ(sniperView, 0);
    sim::equipWeapon("WEAPON_PISTOL");
    for (int k = 0; k < 30; ++k) aimingFrame();
    EXPECT_EQ(sniperView, 0);
    sim::equipWeapon("WEAPON_SNIPERRIFLE");
    SniperGameView = 0;
    for (int k = 0; k < 30; ++k) aimingFrame();
    EXPECT_EQ(sniperView, 0);
}

TEST(SniperScope, LeftTriggerCountsAbove60OnAnySlot) {
    bootAiming();
    sim::equipWeapon("WEAPON_SNIPERRIFLE");
    setTrigger(3, 0);  // plugged in from the start: read every frame
    setTrigger(2, 60);
    for (int k = 0; k < 20; ++k) aimingFrame();
    EXPECT_EQ(sniperView, 0);
    setTrigger(2, 61);
    for (int k = 0; k < 20; ++k) aimingFrame();
    EXPECT_EQ(sniperView, 1);
    setTrigger(2, 0);
    setTrigger(3, 200);
    aimingFrame();
    EXPECT_EQ(sniperView, 1);  // slot 3 keeps the same aim going
    sim::os.padConnected[3] = false;  // a pad that leaves counts for nothing
    aimingFrame();
    EXPECT_EQ(sniperView, 0);
}

}  // namespace

// The bodycam aim: how the view lags, where the deadzone box stops it, how the
// hand follows the aim and how the sway starts and stops.
#include <gtest/gtest.h>

#include <cmath>

#include "camera_session.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/controls.h"
#include "sim/world/player.h"
#include "sim/world/weapons.h"
#include "weapon/bodycam_aim.h"

namespace {

// One frame with the bodycam aim run on this gameplay rotation; the view it gives.
Rotation aimFrame(float pitch, float yaw) {
    sim::frame();
    updateBodycamAim(sim::player.ped, {pitch, 0.0f, yaw});
    return smoothedRotation;
}

// All bodycam aim features off, the bodycam master on.
void bootPlain(const char* weapon = "WEAPON_PISTOL") {
    play::boot();
    BodycamMaster = 1;
    camtest::bodycamAimOff();
    sim::equipWeapon(weapon);
}

TEST(BodycamAim, WithEverythingOffTheViewIsTheGameplayRotation) {
    bootPlain();
    for (float yaw : {10.0f, 179.5f, -179.5f, -20.0f}) {
        sim::frame();
        updateBodycamAim(sim::player.ped, {-12.5f, 3.0f, yaw});  // with a roll, which aimFrame leaves at 0
        EXPECT_EQ(smoothedRotation.pitch, -12.5f);
        EXPECT_EQ(smoothedRotation.roll, 3.0f);
        EXPECT_EQ(smoothedRotation.yaw, yaw);
    }
}

TEST(BodycamAim, DeadzoneIsABoxTheAimWandersInBeforeTheViewFollows) {
    bootPlain();
    Deadzone = 1;
    DeadzoneAngle = 10.0f;
    aimFrame(0.0f, 0.0f);
    EXPECT_EQ(aimFrame(0.0f, 6.0f).yaw, 0.0f);
    EXPECT_FLOAT_EQ(aimFrame(0.0f, 15.0f).yaw, 5.0f);  // the aim rests on the box edge
    const Rotation pitchedInside = aimFrame(-8.0f, 15.0f);  // pitch inside, yaw unchanged: a box, not a circle
    EXPECT_EQ(pitchedInside.pitch, 0.0f);
    EXPECT_FLOAT_EQ(pitchedInside.yaw, 5.0f);
    EXPECT_FLOAT_EQ(aimFrame(-25.0f, 15.0f).pitch, -15.0f);

    // Across the seam: 179 against -179 is 2 degrees, inside the box.
    followInitialised = 0;
    aimFrame(0.0f, -179.0f);
    EXPECT_EQ(aimFrame(0.0f, 179.0f).yaw, -179.0f);
    EXPECT_NEAR(aimFrame(0.0f, 165.0f).yaw, 175.0f, 1e-4f);  // 16 degrees the short way: follows 6, across the seam
}

TEST(BodycamAim, FollowClosesItsShareOfTheGapPerFrameTheShortWayRound) {
    bootPlain();
    SmoothFollow = 1;
    FollowAmount = 0.85f;
    aimFrame(0.0f, 0.0f);
    const Rotation first = aimFrame(10.0f, 20.0f);
    EXPECT_NEAR(first.yaw, 3.0f, 1e-5f);
    EXPECT_NEAR(first.pitch, 1.5f, 1e-5f);
    EXPECT_NEAR(aimFrame(10.0f, 20.0f).yaw, 3.0f + 0.15f * 17.0f, 1e-4f);

    followInitialised = 0;
    aimFrame(0.0f, -179.0f);
    EXPECT_NEAR(aimFrame(0.0f, 179.0f).yaw, -179.3f, 1e-4f);  // a 2-degree gap: 0.3 degrees toward it, through -180
    for (int k = 0; k < 200; ++k) aimFrame(0.0f, 179.0f);
    EXPECT_NEAR(smoothedRotation.yaw, 179.0f, 1e-3f);
    EXPECT_LE(std::fabs(smoothedRotation.yaw), 180.0f);
}

TEST(BodycamAim, LeadNeedsAWeaponFollowDoesNot) {
    bootPlain("WEAPON_UNARMED");
    WeaponLead = 1;
    WeaponLeadLag = 0.9f;
    aimFrame(0.0f, 0.0f);
    EXPECT_EQ(aimFrame(0.0f, 20.0f).yaw, 20.0f);  // d = 0

    sim::equipWeapon("WEAPON_PETROLCAN");  // armed, though no firearm
    EXPECT_NEAR(aimFrame(0.0f, 40.0f).yaw, 22.0f, 1e-4f);  // d = 0.9

    // Smooth follow applies with empty hands; the larger factor wins.
    sim::unequipWeapon();
    SmoothFollow = 1;
    FollowAmount = 0.5f;
    EXPECT_NEAR(aimFrame(0.0f, 40.0f).yaw, 31.0f, 1e-4f);
}

TEST(BodycamAim, HandLeansTowardTheAimAndDecaysToExactlyZero) {
    bootPlain();
    Hand3D = 1;
    Hand3DAmount = 1.0f;
    Deadzone = 1;
    DeadzoneAngle = 30.0f;  // keeps the view still while the aim moves
    aimFrame(0.0f, 0.0f);
    for (int k = 0; k < 120; ++k) aimFrame(25.0f, 25.0f);
    EXPECT_EQ(smoothedRotation.yaw, 0.0f);
    EXPECT_NEAR(handSide, -0.08f, 1e-5f);  // 20 degrees or more: the hand's reach
    EXPECT_NEAR(handUp, 0.06f, 1e-5f);
    EXPECT_NEAR(handForward, -0.024f, 1e-5f);
    EXPECT_NEAR(handRoll, 3.6f, 1e-4f);

    // The first active frame eases with 16 ms.
    Hand3D = 0;
    for (int k = 0; k < 200; ++k) aimFrame(0.0f, 0.0f);
    Hand3D = 1;
    aimFrame(0.0f, 25.0f);
    EXPECT_NEAR(handRoll, 3.6f * (1.0f - std::exp(-0.16f)), 1e-4f);

    // Empty hands: 0.9 per frame, then exactly 0 within about 90 frames.
    Hand3DAmount = 2.0f;
    for (int k = 0; k < 120; ++k) aimFrame(0.0f, 25.0f);
    sim::unequipWeapon();
    float roll = handRoll;
    aimFrame(0.0f, 25.0f);
    EXPECT_NEAR(handRoll, roll * 0.9f, 1e-5f);
    int frames = 1;
    while (handRoll != 0.0f || handSide != 0.0f || handUp != 0.0f || handForward != 0.0f) {
        aimFrame(0.0f, 25.0f);
        ASSERT_LT(++frames, 100);
    }
    EXPECT_GE(frames, 80);
}

TEST(BodycamAim, ANonFiniteGameplayRotationLeavesTheViewWhereItWas) {
    bootPlain();
    SmoothFollow = 1;
    FollowAmount = 0.5f;
    Hand3D = 1;
    aimFrame(0.0f, 0.0f);
    const Rotation before = aimFrame(4.0f, 40.0f);
    const float roll = handRoll;
    aimFrame(NAN, 40.0f);
    const Rotation held = aimFrame(4.0f, INFINITY);
    EXPECT_EQ(held.pitch, before.pitch);
    EXPECT_EQ(held.yaw, before.yaw);
    EXPECT_EQ(handRoll, roll);
    EXPECT_NEAR(aimFrame(4.0f, 40.0f).yaw, 30.0f, 1e-4f);
}

Rotation swayNow() { return aimSway(aimWeapon); }

TEST(BodycamAim, SwayWhileAimingStopsAbruptlyOnRelease) {
    bootPlain();
    AimSway = 1;
    AimSwayAmount = 2.0f;
    aimFrame(0.0f, 0.0f);
    Rotation still = swayNow();
    EXPECT_EQ(still.pitch, 0.0f);
    EXPECT_EQ(still.yaw, 0.0f);
    sim::holdControl(kControlAim);
    aimFrame(0.0f, 0.0f);
    Rotation s = swayNow();
    double t = frameTick * 0.001;
    EXPECT_NEAR(s.pitch, 2.0 * (0.4 * std::sin(2.9 * t + 0.6) + 0.38 * std::sin(6.4 * t) +
                                0.22 * std::sin(12.5 * t + 1.7)), 1e-4);
    EXPECT_NEAR(s.yaw, 2.0 * (0.45 * std::sin(2.3 * t) + 0.35 * std::sin(5.7 * t + 1.1) +
                              0.2 * std::sin(11.0 * t + 0.4)), 1e-4);
    EXPECT_EQ(s.roll, 0.0f);
    sim::releaseControl(kControlAim);
    aimFrame(0.0f, 0.0f);
    EXPECT_EQ(swayNow().pitch, 0.0f);
    EXPECT_EQ(swayNow().yaw, 0.0f);

    sim::holdControl(kControlAim);
    sim::unequipWeapon();
    aimFrame(0.0f, 0.0f);
    EXPECT_EQ(swayNow().pitch, 0.0f);  // sway needs a weapon
}

TEST(BodycamAim, SwayStaysSmoothAfterWeeksOfSystemUptime) {
    play::boot({.startTick = 3'000'000'000u});  // 35 days since the system started
    AimSway = 1;
    AimSwayAmount = 1.0f;
    sim::equipWeapon("WEAPON_PISTOL");
    sim::holdControl(kControlAim);
    aimFrame(0.0f, 0.0f);
    Rotation last = swayNow();
    float largestStep = 0.0f, range = 0.0f;
    for (int k = 0; k < 300; ++k) {
        aimFrame(0.0f, 0.0f);
        Rotation s = swayNow();
        largestStep = std::fmax(largestStep, std::fabs(s.pitch - last.pitch));
        range = std::fmax(range, std::fabs(s.pitch));
        last = s;
    }
    // The fastest the pitch sway can move in 16 ms: (0.4*2.9 + 0.38*6.4 + 0.22*12.5) * 0.016.
    EXPECT_LE(largestStep, 0.102f);
    EXPECT_GT(range, 0.3f);
}

}  // namespace

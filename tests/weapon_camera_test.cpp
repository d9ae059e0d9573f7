// Weapon feel through the whole camera: the plug-in's view switched on with V,
// the player shooting and aiming, and what the scripted camera shows.
#include <gtest/gtest.h>

#include "camera/aiming.h"
#include "camera/camera.h"
#include "camera/rig.h"
#include "camera_session.h"
#include "sim/world/weapons.h"
#include "weapon/bodycam_aim.h"
#include "weapon/recoil.h"

namespace {

using camtest::cam;

// On foot with a weapon in hand, the plug-in's view on, every motion effect off
// but the bodycam master switch.
void engageOnFoot(const char* weapon) {
    camtest::startSession();
    BodycamMaster = 1;
    ADSGameView = 0;
    CrosshairOnlyADS = 0;
    sim::equipWeapon(weapon);
    sim::setGameplayRotation(0.0f, 0.0f, 0.0f);
    play::engageAndSettle();
    ASSERT_EQ(engaged, 1);
}

// One frame with the gameplay camera turned to this yaw; the view's yaw after it.
float viewYawAfterTurningTo(float yaw) {
    sim::setGameplayRotation(0.0f, 0.0f, yaw);
    sim::frame();
    return cam().rotation.z;
}

TEST(WeaponCamera, PistolShotKicksTheViewAndTheViewSettles) {
    engageOnFoot("WEAPON_PISTOL");
    BodycamRecoil = 1;
    BodycamRecoilAmount = 1.0f;
    RecPistol = 5.0f;
    sim::frames(2);
    EXPECT_EQ(cam().rotation.x, 0.0f);
    // In bodycam mode a press made while aiming fires at once, through the
    // order to shoot at the aim point: the shot lands in the next frame, the
    // last of the tap, so one frame of settling is behind us.
    sim::holdControl(kControlAim);
    sim::fireOnce();
    float pitch = cam().rotation.x;
    EXPECT_GE(pitch, 2.75f * 0.856f - 1e-3f);
    EXPECT_LE(pitch, 4.235f * 0.856f + 1e-3f);
    EXPECT_EQ(pitch, recoilPitch);
    EXPECT_EQ(cam().rotation.z, recoilYaw);
    sim::runFor(1000);
    EXPECT_EQ(cam().rotation.x, 0.0f);
    EXPECT_EQ(cam().rotation.z, 0.0f);
}

TEST(WeaponCamera, DeadzoneFollowAndSwayShapeTheView) {
    engageOnFoot("WEAPON_CARBINERIFLE");
    Deadzone = 1;
    DeadzoneAngle = 10.0f;
    EXPECT_EQ(viewYawAfterTurningTo(6.0f), 0.0f);
    EXPECT_FLOAT_EQ(viewYawAfterTurningTo(15.0f), 5.0f);

    // Sway rides on top while aiming and is gone the frame the aim ends.
    AimSway = 1;
    sim::holdControl(kControlAim);
    sim::frame();
    Rotation sway = aimSway(aimWeapon);
    EXPECT_NE(sway.yaw, 0.0f);
    EXPECT_FLOAT_EQ(cam().rotation.z, 5.0f + sway.yaw);
    EXPECT_FLOAT_EQ(cam().rotation.x, sway.pitch);
    sim::releaseControl(kControlAim);
    sim::frame();
    EXPECT_FLOAT_EQ(cam().rotation.z, 5.0f);
    EXPECT_EQ(cam().rotation.x, 0.0f);
}

TEST(WeaponCamera, AdsZoomNarrowsTheFieldOfViewToItsFloor) {
    engageOnFoot("WEAPON_PISTOL");
    FOV = 35.0f;
    ADSZoomAmount = 25.0f;
    ADSGameView = 1;
    sim::holdControl(kControlAim);
    play::wheelNotch(kControlWheelForward);
    sim::runFor(1500);
    EXPECT_FLOAT_EQ(cam().fov, 30.0f);

    // Crosshair-only ADS: the latch holds but the view does not zoom.
    ADSGameView = 0;
    CrosshairOnlyADS = 1;
    sim::runFor(1500);
    EXPECT_EQ(adsActive, 1);
    EXPECT_FLOAT_EQ(cam().fov, 35.0f);
}

TEST(WeaponCamera, SniperScopeHandsTheViewToTheGameAndTakesItBackWithCuts) {
    engageOnFoot("WEAPON_SNIPERRIFLE");
    SniperGameView = 1;
    size_t created = sim::calls(native::kCreateCam).size();
    sim::holdKey(kVkRightMouse);
    sim::runFor(140);
    EXPECT_TRUE(sim::scriptCamRendering());
    sim::runFor(20);
    ASSERT_EQ(sniperView, 1);
    const sim::RenderCall* stop = sim::lastRenderCall();
    EXPECT_FALSE(stop->render);
    EXPECT_FALSE(stop->ease);  // a cut to the game's scope
    sim::frames(2);
    EXPECT_EQ(sim::liveCameraCount(), 0u);  // destroyed one frame after the cut
    EXPECT_EQ(sim::gameCameras.pedViewMode, sim::kFirstPersonView);
    sim::runFor(500);
    EXPECT_FALSE(sim::scriptCamRendering());

    sim::releaseKey(kVkRightMouse);
    sim::frame();
    EXPECT_EQ(engaged, 1);  // no key press needed to come back
    EXPECT_EQ(sim::calls(native::kCreateCam).size(), created + 1);
    const sim::RenderCall* back = sim::lastRenderCall();
    EXPECT_TRUE(back->render);
    EXPECT_FALSE(back->ease);
    EXPECT_TRUE(sim::scriptCamRendering());
}

}  // namespace

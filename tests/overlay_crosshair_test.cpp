// The crosshair dot: when it shows on foot and in vehicles, and where.
#include <gtest/gtest.h>

#include "overlay_scene.h"
#include "sim/world/draw.h"
#include "sim/world/vehicles.h"

namespace {

// The dot of the last frame, or nullptr when none was drawn.
const sim::DrawItem* dot() {
    const sim::DrawItem* found = nullptr;
    for (const sim::DrawItem* d : sim::lastFrameRects()) {
        if (d->width == 0.0012f && d->height == 0.0021f) {
            EXPECT_EQ(found, nullptr) << "one dot per frame";
            found = d;
        }
    }
    return found;
}

TEST(Crosshair, DotAtTheAimPointWithAnyWeaponButNoneWithEmptyHands) {
    scene::bodycamWith("WEAPON_PISTOL");
    sim::frame();
    const sim::DrawItem* d = dot();
    ASSERT_NE(d, nullptr);
    EXPECT_NEAR(d->x, 0.5f, 0.02f);  // looking straight at the wall
    EXPECT_NEAR(d->y, 0.5f, 0.02f);

    sim::equipWeapon("WEAPON_KNIFE");  // armed, though not a firearm: centred
    sim::frame();
    ASSERT_NE(dot(), nullptr);
    EXPECT_EQ(dot()->x, 0.5f);

    sim::unequipWeapon();
    CrosshairOnlyAimed = 0;
    sim::holdControl(kControlAim);
    sim::frames(2);
    EXPECT_EQ(dot(), nullptr);
    Crosshair = 0;
    sim::equipWeapon("WEAPON_PISTOL");
    sim::frame();
    EXPECT_EQ(dot(), nullptr);
}

TEST(Crosshair, OnlyAdsOutranksOnlyAimed) {
    scene::bodycamWith("WEAPON_PISTOL");
    CrosshairOnlyAimed = 1;
    sim::frame();
    EXPECT_EQ(dot(), nullptr) << "not aiming";
    sim::holdControl(kControlAim);
    sim::frame();
    EXPECT_NE(dot(), nullptr) << "aiming";

    CrosshairOnlyADS = 1;
    sim::frame();
    EXPECT_EQ(dot(), nullptr) << "aiming without sights is not enough under the ADS rule";
    play::wheelNotch(kControlWheelForward);  // the wheel latches aiming down sights
    sim::frame();
    EXPECT_NE(dot(), nullptr) << "aiming down sights";
}

TEST(Crosshair, InACarCentredAndOnlyWhileAiming) {
    scene::bodycamWith("WEAPON_PISTOL");
    int32_t car = sim::spawnVehicle(0, {3.0f, 0.0f, 1.0f});
    sim::enterVehicle(car);
    sim::frames(3);
    ASSERT_EQ(cameraRendering, 1);
    EXPECT_EQ(dot(), nullptr);
    sim::holdControl(kControlAim);
    sim::frame();
    const sim::DrawItem* d = dot();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->x, 0.5f);
    EXPECT_EQ(d->y, 0.5f);
    // The on-foot rules do not apply in a vehicle.
    CrosshairOnlyADS = 1;
    sim::frame();
    EXPECT_NE(dot(), nullptr);
}

TEST(Crosshair, AimPointOffToTheSideIsClampedAndBehindGoesToTheCentre) {
    // The screen query uses the view of the frame last shown, so a sudden
    // turn puts this frame's aim point away from the screen centre. The view
    // follows the aim without lag here, so it settles within a frame.
    scene::bodycamWith("WEAPON_PISTOL");
    SmoothFollow = 0;
    Deadzone = 0;
    sim::frame();
    sim::setGameplayRotation(0.0f, 0.0f, 80.0f);  // the aim swings far left
    sim::frame();
    const sim::DrawItem* d = dot();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->x, 0.02f);
    EXPECT_GE(d->y, 0.02f);
    EXPECT_LE(d->y, 0.98f);

    sim::setGameplayRotation(0.0f, 0.0f, 0.0f);
    sim::frames(2);
    sim::setGameplayRotation(0.0f, 0.0f, -80.0f);
    sim::frame();
    EXPECT_EQ(dot()->x, 0.98f);

    sim::setGameplayRotation(0.0f, 0.0f, 0.0f);
    sim::frames(2);
    sim::setGameplayRotation(0.0f, 0.0f, 180.0f);  // half a turn: the aim point is behind the view
    sim::frame();
    EXPECT_EQ(dot()->x, 0.5f);
    EXPECT_EQ(dot()->y, 0.5f);
}

TEST(Crosshair, BodycamOffKeepsTheDotCentred) {
    scene::bodycamWith("WEAPON_PISTOL");
    sim::frame();
    sim::setGameplayRotation(0.0f, 0.0f, 20.0f);
    sim::frame();
    EXPECT_LT(dot()->x, 0.45f) << "with the bodycam on the dot follows the aim point";

    BodycamMaster = 0;
    sim::setGameplayRotation(0.0f, 0.0f, 0.0f);
    sim::frame();
    sim::setGameplayRotation(0.0f, 0.0f, 20.0f);
    sim::frame();
    EXPECT_EQ(dot()->x, 0.5f);
    EXPECT_EQ(dot()->y, 0.5f);
}

}  // namespace

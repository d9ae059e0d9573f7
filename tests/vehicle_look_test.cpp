// Looking around from a vehicle: limited look, free look, the aiming look, the
// NUMPAD0 reset and the final rotation handed to the camera.
#include <cmath>

#include "vehicle_scenario.h"

namespace {
using namespace vehicle_test;

float yawDifference(float a, float b) { return std::remainder(a - b, 360.0f); }

TEST(VehicleLook, LimitedLookTurnsWithinItsBoundsAndFiringFreezesIt) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::findEntity(car)->rotation = {0.0f, 0.0f, 30.0f};
    sim::setControlNormal(kControlLookLeftRight, 0.5f);  // right: yaw -= 6 x 0.5 per frame
    sim::setControlNormal(kControlLookUpDown, -1.0f);    // up: pitch += 0.75 x 6 per frame
    sim::frame();
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, -3.0f);
    EXPECT_FLOAT_EQ(vehicleCam.lookPitch, 4.5f);
    EXPECT_TRUE(sim::wasDisabledThisFrame(0, kControlLookLeftRight));  // the game's camera does not turn too
    EXPECT_NEAR(yawDifference(cam().rotation.z, 30.0f - 3.0f), 0.0f, 1e-4f);

    sim::frames(60);
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, -Veh_YawLimit);
    EXPECT_FLOAT_EQ(vehicleCam.lookPitch, 40.0f);

    // Firing from the vehicle, by mouse or by the attack control, freezes it.
    sim::setControlNormal(kControlLookLeftRight, -1.0f);
    sim::holdKey(kVkLeftMouse);
    sim::frames(5);
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, -Veh_YawLimit);
    sim::releaseKey(kVkLeftMouse);
    sim::holdControl(kControlVehicleAttack);
    sim::frames(5);
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, -Veh_YawLimit);
    sim::releaseControl(kControlVehicleAttack);
    sim::frame();
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, -Veh_YawLimit + 6.0f);
}

TEST(VehicleLook, FreeLookWrapsWithinAFullTurnAndIgnoresFiring) {
    play::boot();
    FreeLook = 1;
    int32_t car = engageIn(sim::kSedanClass);
    sim::findEntity(car)->rotation = {0.0f, 0.0f, 100.0f};
    sim::setControlNormal(kControlLookLeftRight, -1.0f);  // left: +6 per frame
    sim::holdKey(kVkLeftMouse);
    for (int k = 1; k <= 70; ++k) {
        sim::frame();
        ASSERT_LT(std::fabs(motorcycleCam.freeLookYaw), 360.0f);
        ASSERT_LT(std::fabs(vehicleCam.freeLookYaw), 360.0f);
        ASSERT_GE(cam().rotation.z, -180.0f);
        ASSERT_LE(cam().rotation.z, 180.0f);
    }
    EXPECT_NEAR(vehicleCam.freeLookYaw, 420.0f - 360.0f, 1e-3f);
    EXPECT_NEAR(yawDifference(cam().rotation.z, 100.0f + 420.0f), 0.0f, 1e-3f);
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, 0.0f);  // the limited pair is left alone
}

TEST(VehicleLook, AimingLooksFurtherAndTheLimitsComeBackWithoutAim) {
    bootAndEngageIn(sim::kSedanClass);
    sim::holdControl(kControlAim);
    sim::setControlNormal(kControlLookLeftRight, -1.0f);
    sim::setControlNormal(kControlLookUpDown, 1.0f);
    sim::frame();
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, 1.33f * 6.0f);
    EXPECT_FLOAT_EQ(vehicleCam.lookPitch, -6.0f);
    EXPECT_FALSE(sim::wasDisabledThisFrame(0, kControlLookLeftRight));  // the game's aim turns with it
    sim::frames(40);
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, 180.0f);
    EXPECT_FLOAT_EQ(vehicleCam.lookPitch, -89.0f);

    sim::releaseControl(kControlAim);
    sim::setControlNormal(kControlLookLeftRight, 0.0f);
    sim::setControlNormal(kControlLookUpDown, 0.0f);
    sim::frame();
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, Veh_YawLimit);
    EXPECT_FLOAT_EQ(vehicleCam.lookPitch, -60.0f);
}

// Played far from the 32-bit tick wrap and with the wrap inside the held second.
class Numpad0Reset : public testing::TestWithParam<uint32_t> {};

TEST_P(Numpad0Reset, Numpad0ResetsAboutFourTimesASecondButNeverWhileAiming) {
    bootAndEngageIn(sim::kSedanClass, {.startTick = GetParam()});
    sim::setControlNormal(kControlLookLeftRight, 0.1f);
    sim::frames(10);
    sim::holdKey(kVkNumpad0);
    const uint32_t heldFrom = sim::now();
    int resets = 0;
    for (int k = 0; k < 62; ++k) {  // 992 ms
        sim::frame();
        if (vehicleCam.lookYaw == 0.0f) ++resets;
    }
    EXPECT_EQ(resets, 4);  // at 0, 256, 512 and 768 ms: more than 250 ms apart
    if (GetParam() != play::kFarFromTheWrap) {
        EXPECT_LT(sim::now(), heldFrom);
    }

    sim::holdControl(kControlAim);
    sim::setControlNormal(kControlLookLeftRight, -1.0f);
    sim::runFor(1000);
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, 180.0f);

    // Free look has its own pair and its own debounce.
    sim::releaseControl(kControlAim);
    FreeLook = 1;
    sim::frame();
    EXPECT_FLOAT_EQ(vehicleCam.freeLookYaw, 0.0f);
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, 180.0f);  // untouched until the next limited frame
}
INSTANTIATE_TEST_SUITE_P(Clock, Numpad0Reset, testing::Values(play::kFarFromTheWrap, 0u - 600u));

TEST(VehicleLook, FinalPitchIsClampedAfterTheVehiclesOwnPitchAndRollIsKept) {
    play::boot();
    Veh_FOV = 72.0f;
    int32_t car = engageIn(sim::kSedanClass);
    sim::findEntity(car)->rotation = {70.0f, 12.0f, -45.0f};  // a steep climb, banking
    sim::setControlNormal(kControlLookUpDown, -1.0f);
    sim::frames(20);
    EXPECT_FLOAT_EQ(vehicleCam.lookPitch, 40.0f);
    EXPECT_FLOAT_EQ(cam().rotation.x, 89.0f);
    EXPECT_FLOAT_EQ(cam().rotation.y, 12.0f);
    EXPECT_NEAR(yawDifference(cam().rotation.z, -45.0f), 0.0f, 1e-4f);
    EXPECT_FLOAT_EQ(cam().fov, 72.0f);
}

TEST(VehicleLook, MotorcycleReadsItsOwnSettings) {
    play::boot();
    MC_Sensitivity = 10.0f;
    MC_YawLimit = 20.0f;
    MC_FOV = 110.0f;
    MC_CamInertiaAmount = 3.0f;
    Veh_CamInertia = 0;
    int32_t bike = engageIn(sim::kMotorcycleClass);
    sim::setControlNormal(kControlLookLeftRight, 0.5f);
    sim::frame();
    EXPECT_FLOAT_EQ(motorcycleCam.lookYaw, -5.0f);
    sim::frames(10);
    EXPECT_FLOAT_EQ(motorcycleCam.lookYaw, -20.0f);
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, 0.0f);
    EXPECT_FLOAT_EQ(cam().fov, 110.0f);

    MC_FreeLook = 1;
    FreeLook = 0;
    sim::frames(10);
    EXPECT_FLOAT_EQ(motorcycleCam.freeLookYaw, -10.0f * MC_FreeLookSensitivity * 0.5f);

    sim::driveSteady(bike, -5.0f);
    sim::runFor(1500);
    EXPECT_NEAR(cam().attachOffset.y - motorcycleCam.seatAnchor.y - MC_Forward, 0.12f * 3.0f, 1e-3f);
}

}  // namespace

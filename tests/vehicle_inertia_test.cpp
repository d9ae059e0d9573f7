// Vehicle inertia: the camera slides forward while reversing, on hard braking and
// after a crash, eased at its rates, from the vehicle's own forward speed.
#include <algorithm>
#include <cmath>

#include "vehicle_scenario.h"

namespace {
using namespace vehicle_test;

constexpr float kFrameS = 0.016f;

// At a steady speed the peak alternates between the speed and the speed less one
// frame's decay; this ends on a frame where it equals the speed.
void settlePeakAt(float speed) {
    sim::frame();
    if (vehicleCam.peakSpeed != speed) sim::frame();
    ASSERT_FLOAT_EQ(vehicleCam.peakSpeed, speed);
}

TEST(VehicleInertia, SteadyReverseShiftsByTheCappedReverseTermAtRate12) {
    play::boot();
    Veh_CamInertiaAmount = 2.0f;
    int32_t car = sim::spawnVehicle(sim::kSedanClass, kParkedAt);
    sim::driveSteady(car, -5.0f);  // 0.028 x 5 = 0.14, capped at 0.12
    engageInVehicle(car);
    EXPECT_FLOAT_EQ(carShift(), 0.0f);  // the set-up frame attaches without a shift

    const float target = 0.12f * 2.0f;
    float expected = 0.0f;
    for (int k = 0; k < 3; ++k) {
        sim::frame();
        expected += (target - expected) * 12.0f * kFrameS;
        EXPECT_NEAR(carShift(), expected, 1e-5f) << "frame " << k;
    }
    sim::runFor(1000);
    EXPECT_NEAR(carShift(), target, 1e-4f);
    EXPECT_NEAR(vehicleCam.filteredAccel, 0.0f, 1e-4f);  // steady: no braking term
}

TEST(VehicleInertia, HardBrakingAddsItsTermAndTheSumWithReverseIsCapped) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::brakeHard(car, 30.0f, 20.0f);  // forward, 20 m/s^2
    // Braking is no crash, in any frame of it (an impulse would be gone in 0.25 s).
    float impulse = 0.0f;
    const uint32_t start = sim::now();
    while (sim::now() - start < 1200u) {  // still moving at about 6 m/s
        sim::frame();
        impulse = std::max(impulse, vehicleCam.crashImpulse);
    }
    ASSERT_GT(sim::forwardSpeedOf(car), 2.0f);
    EXPECT_NEAR(vehicleCam.filteredAccel, -20.0f, 0.01f);
    EXPECT_NEAR(carShift(), (20.0f - 8.0f) * 0.012f, 1e-3f);  // 0.144
    EXPECT_EQ(impulse, 0.0f);

    // Gaining speed backwards at 20 m/s^2: 0.12 + 0.144, clamped to 0.2.
    sim::driveProfile(car, [](float t) { return -5.0f - 20.0f * t; });
    sim::runFor(1000);
    EXPECT_NEAR(carShift(), 0.2f, 1e-3f);
}

TEST(VehicleInertia, CrashFrom30To5InOneFrameGivesTheFullImpulseAndTheFastRate) {
    play::boot();
    Veh_CamInertiaAmount = 1.5f;
    int32_t car = engageIn(sim::kSedanClass);
    sim::driveSteady(car, 30.0f);
    sim::runFor(500);
    settlePeakAt(30.0f);
    EXPECT_NEAR(carShift(), 0.0f, 1e-6f);

    sim::crash(car, 5.0f);
    sim::frame();
    // Peak 30 - 40 x 0.016 = 29.36; impulse min(0.3, (29.36 - 5 - 10) x 0.03) = 0.3,
    // already decayed by 1.2 x dt; the peak restarts from the new speed.
    EXPECT_NEAR(vehicleCam.crashImpulse, 0.3f - 1.2f * kFrameS, 1e-6f);
    EXPECT_FLOAT_EQ(vehicleCam.peakSpeed, 5.0f);
    // Braking at its 0.2 cap plus the impulse: 0.5 x strength, approached at rate 20.
    const float target = 0.5f * 1.5f;
    EXPECT_NEAR(carShift(), target * 20.0f * kFrameS, 1e-5f);
    // The next frame: braking still at its cap, the impulse as stored, still rate 20.
    float previous = carShift();
    float nextTarget = (0.2f + vehicleCam.crashImpulse) * 1.5f;
    sim::frame();
    EXPECT_NEAR(carShift(), previous + (nextTarget - previous) * 20.0f * kFrameS, 1e-5f);

    // Once the impulse has run out the shift eases back at rate 5.
    sim::runFor(2000);
    EXPECT_FLOAT_EQ(vehicleCam.crashImpulse, 0.0f);
    previous = carShift();
    sim::frame();
    EXPECT_NEAR(carShift(), previous * (1.0f - 5.0f * kFrameS), 1e-5f);
}

TEST(VehicleInertia, PeakSpeedDecaysAndASmallDropIsNoCrash) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::driveSteady(car, 30.0f);
    sim::runFor(500);
    settlePeakAt(30.0f);
    sim::driveSteady(car, 25.0f);  // 4.36 below the decayed peak: under the 10 m/s needed
    sim::frame();
    EXPECT_NEAR(vehicleCam.peakSpeed, 30.0f - 40.0f * kFrameS, 1e-4f);
    EXPECT_FLOAT_EQ(vehicleCam.crashImpulse, 0.0f);
}

TEST(VehicleInertia, SwitchedOffTheShiftReturnsAtRate5AndPeakAndImpulseStayZero) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::driveSteady(car, 30.0f);
    sim::runFor(500);
    sim::crash(car, 5.0f);
    sim::frames(3);
    float previous = carShift();
    ASSERT_GT(previous, 0.2f);

    Veh_CamInertia = 0;
    sim::driveSteady(car, -8.0f);  // reversing would shift it with inertia on
    for (int k = 0; k < 5; ++k) {
        sim::frame();
        EXPECT_NEAR(carShift(), previous * (1.0f - 5.0f * kFrameS), 1e-5f);
        EXPECT_FLOAT_EQ(vehicleCam.peakSpeed, 0.0f);
        EXPECT_FLOAT_EQ(vehicleCam.crashImpulse, 0.0f);
        previous = carShift();
    }
    EXPECT_NE(vehicleCam.filteredAccel, 0.0f);  // the filter keeps running
}

TEST(VehicleInertia, TimeStepIsClampedForSameMillisecondFramesAndLongPauses) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::driveSteady(car, 10.0f);
    sim::runFor(1500);

    // Two frames in one millisecond: dt = 0.001, gain 0.01, a = 1 / 0.001.
    sim::setFrameMs(0);
    sim::driveSteady(car, 11.0f);
    sim::frame();
    EXPECT_NEAR(vehicleCam.filteredAccel, 0.01f * 1000.0f, 1e-3f);

    // A five-second hitch: dt = 0.1, gain 1, a = -2 / 0.1.
    sim::setFrameMs(5000);
    sim::driveSteady(car, 9.0f);
    sim::frame();
    EXPECT_NEAR(vehicleCam.filteredAccel, -20.0f, 1e-3f);
}

TEST(VehicleInertia, TimeStepStaysRightAcrossTheTickCounterWrap) {
    int32_t car = bootAndEngageIn(sim::kSedanClass, {.startTick = 0xFFFFFFFFu - 2000u});
    sim::driveProfile(car, [](float t) { return 5.0f + 6.0f * t; });  // 6 m/s^2, steady
    sim::runFor(1000);
    for (int k = 0; k < 100; ++k) {  // through the wrap
        sim::frame();
        ASSERT_NEAR(vehicleCam.filteredAccel, 6.0f, 0.05f) << "at tick " << sim::now();
    }
    EXPECT_LT(sim::now(), 1000u);
}

TEST(VehicleInertia, SpeedsTheGameCannotGiveKeepTheCameraFinite) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::driveSteady(car, 12.0f);
    sim::runFor(1500);
    sim::EntityState& e = *sim::findEntity(car);
    e.velocity = {NAN, NAN, NAN};  // the cameras model fails the run on a non-finite pose
    sim::driveProfile(car, {});
    sim::frames(3);
    EXPECT_TRUE(std::isfinite(vehicleCam.forwardShift));
    EXPECT_NEAR(vehicleCam.lastForwardSpeed, 12.0f, 1e-3f);
    e.position = kParkedAt;
    e.velocity = {0.0f, 12.0f, 0.0f};
    sim::frames(3);
    EXPECT_NEAR(vehicleCam.filteredAccel, 0.0f, 1e-3f);
}

// A car drifting 8 m/s forward and 25 m/s sideways: its speed is far above its
// forward speed. One frame in which the game reports a speed no vehicle reaches
// (the forward speed a reading within reason) is no crash.
TEST(VehicleInertia, OneAbsurdSpeedReadingWhileDriftingIsNoCrash) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::EntityState& e = *sim::findEntity(car);
    sim::driveProfile(car, {});
    const Vec3 drift{25.0f, 8.0f, 0.0f};  // the car faces north: y is forward
    e.velocity = drift;
    sim::runFor(1000);
    const float speed = std::hypot(drift.x, drift.y);
    ASSERT_NEAR(vehicleCam.peakSpeed, speed, 40.0f * kFrameS);
    ASSERT_NEAR(vehicleCam.lastForwardSpeed, drift.y, 1e-3f);

    const Vec3 position = e.position;
    e.velocity = {5.0e4f, drift.y, drift.z};
    sim::frame();
    EXPECT_EQ(vehicleCam.crashImpulse, 0.0f);
    e.position = position;
    e.velocity = drift;
    sim::frames(3);
    EXPECT_EQ(vehicleCam.crashImpulse, 0.0f);
    EXPECT_LE(vehicleCam.peakSpeed, speed + 1e-3f);
    EXPECT_NEAR(carShift(), 0.0f, 1e-4f);
}

}  // namespace

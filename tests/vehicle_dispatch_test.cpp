// Which in-vehicle camera runs: by vehicle class and its switch, across getting
// in and out and changing vehicles, and the game-side effects of each.
#include <cmath>

#include "camera/camera.h"
#include "camera/rig.h"
#include "vehicle_scenario.h"

namespace {
using namespace vehicle_test;

// Engaged on foot, in the game's first-person view (past the V debounce).
void engageOnFoot() {
    sim::runFor(400);
    sim::putGameInFirstPerson();
    sim::frame();
    play::tapV();
    ASSERT_EQ(engaged, 1);
}

void expectSwitchedOffToThirdPerson() {
    EXPECT_EQ(engaged, 0);
    EXPECT_EQ(sim::liveCameraCount(), 0u);
    EXPECT_EQ(sim::gameCameras.vehicleViewMode, 0);
    ASSERT_NE(sim::lastRenderCall(), nullptr);
    EXPECT_FALSE(sim::lastRenderCall()->render);
    EXPECT_FALSE(sim::lastRenderCall()->ease);  // a cut
}

TEST(VehicleDispatch, VehicleWhoseCameraIsOffSwitchesThePlugInOff) {
    play::boot();
    VehCam = 0;
    engageOnFoot();
    int32_t car = sim::spawnVehicle(sim::kSedanClass, kParkedAt);
    sim::enterVehicle(car);
    sim::frame();
    expectSwitchedOffToThirdPerson();
    sim::frames(10);  // stays off: V in first person is needed again
    EXPECT_EQ(sim::liveCameraCount(), 0u);
}

TEST(VehicleDispatch, CarToBikeAndBackSetsUpEachTimeAndGettingOutFreesTheCamera) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    EXPECT_EQ(sim::calls(native::kGetVehicleBodyHealth).size(), 1u);  // once per car set-up
    sim::setControlNormal(kControlLookLeftRight, 1.0f);
    sim::frames(4);
    sim::setControlNormal(kControlLookLeftRight, 0.0f);
    ASSERT_LT(vehicleCam.lookYaw, 0.0f);
    Cam camera = cam().handle;

    int32_t bike = sim::spawnVehicle(sim::kMotorcycleClass, kParkedAt);
    sim::enterVehicle(bike);
    sim::frame();
    EXPECT_EQ(cam().handle, camera);  // still in a vehicle: the same camera, re-attached
    EXPECT_EQ(cam().attachedTo, bike);
    EXPECT_EQ(attachedVehicle, bike);
    sim::frames(3);
    EXPECT_EQ(sim::calls(native::kGetVehicleBodyHealth).size(), 1u);  // never for a two-wheeler

    sim::enterVehicle(car);
    sim::frame();
    EXPECT_EQ(cam().attachedTo, car);
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, 0.0f);  // set up afresh
    EXPECT_EQ(sim::calls(native::kGetVehicleBodyHealth).size(), 2u);

    // Out: the vehicle camera goes and a free on-foot one renders in the same frame.
    sim::leaveVehicle();
    sim::frame();
    EXPECT_EQ(sim::frameCalls(native::kDestroyCam).size(), 1u);
    EXPECT_EQ(sim::frameCalls(native::kCreateCam).size(), 1u);
    EXPECT_EQ(cam().attachedTo, 0);
    EXPECT_EQ(attachedVehicle, 0);
    EXPECT_EQ(vehicleAttached, 0);
    EXPECT_EQ(cameraRendering, 1);
}

// With no vehicle to sit the camera on, the new vehicle camera is made but never
// shown: the screen keeps the game's own view rather than a camera at the origin.
TEST(VehicleDispatch, InAVehicleWithoutAVehicleHandle) {
    play::boot();
    engageOnFoot();
    sim::enterVehicleUnreturned();
    sim::frames(5);
    EXPECT_EQ(engaged, 1);
    EXPECT_EQ(sim::liveCameraCount(), 1u);
    EXPECT_EQ(cameraRendering, 0);
    EXPECT_FALSE(sim::lastRendered().scripted);
    EXPECT_EQ(cam().attachedTo, 0);
    EXPECT_EQ(vehicleAttached, 0);

    VehCam = 0;
    sim::frame();
    expectSwitchedOffToThirdPerson();
}

TEST(VehicleDispatch, BrakingForwardInACarSetsTheResetFlags) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::holdControl(kControlVehicleBrake);
    struct Case {
        float speed;
        bool flags;
    };
    for (Case c : {Case{10.0f, true}, Case{0.5f, false}, Case{-6.0f, false}}) {
        sim::driveSteady(car, c.speed);
        sim::frame();
        EXPECT_EQ(sim::resetFlagSetLastFrame(236), c.flags) << c.speed;
        EXPECT_EQ(sim::resetFlagSetLastFrame(287), c.flags) << c.speed;
    }
    int32_t bike = sim::spawnVehicle(sim::kMotorcycleClass, kParkedAt);
    sim::enterVehicle(bike);
    sim::driveSteady(bike, 10.0f);
    sim::frames(2);
    EXPECT_FALSE(sim::resetFlagSetLastFrame(236));
}

// A vehicle whose rotation reads nothing usable when V is pressed: the camera
// is attached at the seat but not turned, so it is not shown until the
// rotation reads well, and then in that frame.
TEST(VehicleDispatch, ACarCameraIsShownOnlyOnceItIsTurnedWithTheCar) {
    play::boot();
    int32_t car = sim::spawnVehicle(sim::kSedanClass, kParkedAt, 90.0f);
    sim::enterVehicle(car);
    sim::putGameInFirstPerson();
    sim::frame();
    sim::EntityState& e = *sim::findEntity(car);
    e.rotation = {NAN, NAN, NAN};
    const size_t renders = sim::rendering.calls.size();
    play::press(sim::kViewKey, 1);
    sim::frames(3);
    EXPECT_EQ(vehicleAttached, 1);
    EXPECT_EQ(sim::rendering.calls.size(), renders);
    EXPECT_FALSE(sim::lastRendered().scripted);

    e.rotation = {0.0f, 0.0f, 90.0f};
    sim::frame();
    EXPECT_EQ(cam().rotation.z, 90.0f);
    ASSERT_EQ(sim::rendering.calls.size(), renders + 1);
    EXPECT_TRUE(sim::lastRenderCall()->render);
    EXPECT_EQ(sim::lastRenderCall()->frame, sim::frameCalls(native::kSetCamRot).at(0)->frame);
    EXPECT_TRUE(sim::lastRendered().scripted);
}

}  // namespace

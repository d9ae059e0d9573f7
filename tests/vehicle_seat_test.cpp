// Where the in-vehicle camera sits: at the player's own seat bone, raised by the
// variant's height plus the offset settings, following the vehicle as it moves.
#include <cmath>
#include <ostream>
#include <string>

#include "vehicle_scenario.h"

namespace {
using namespace vehicle_test;

constexpr float kCarBoneHeight = 0.6f;

void expectNear(Vec3 got, Vec3 want, float tolerance = 1e-4f) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

Vec3 carSeatAttach(int32_t car, int32_t seat) {
    Vec3 bone = sim::seatBoneLocal(car, seat);
    return {bone.x + Veh_Side, bone.y + Veh_Forward, bone.z + kCarBoneHeight + Veh_Height};
}

struct SeatCase {
    bool npcDriver;
    int32_t playerSeat;
    int32_t anchorSeat;  // whose bone the camera uses
    const char* bone;
};

void PrintTo(const SeatCase& c, std::ostream* os) { *os << c.bone; }

class CarSeats : public ::testing::TestWithParam<SeatCase> {};

TEST_P(CarSeats, CameraSitsAtTheSeatBone) {
    const SeatCase& c = GetParam();
    play::boot();
    Veh_Side = 0.1f;
    Veh_Forward = -0.2f;
    Veh_Height = 0.05f;
    int32_t car = sim::spawnVehicle(sim::kSedanClass, kParkedAt);
    if (c.npcDriver) sim::seatNewPed(car, sim::kDriverSeat);
    engageInVehicle(car, c.playerSeat);
    EXPECT_EQ(cam().attachedTo, car);
    EXPECT_TRUE(cam().attachRelative);
    expectNear(cam().attachOffset, carSeatAttach(car, c.anchorSeat));
    ASSERT_NE(seatBoneName, nullptr);
    EXPECT_EQ(std::string(seatBoneName), c.bone);
}

INSTANTIATE_TEST_SUITE_P(
    Seats, CarSeats,
    ::testing::Values(SeatCase{false, -1, -1, "seat_dside_f"},   // driving
                      SeatCase{true, 0, 0, "seat_pside_f"},      // front passenger
                      SeatCase{true, 2, 2, "seat_pside_r"},      // rear passenger
                      SeatCase{true, 3, -1, "seat_dside_f"},     // no bone for seat 3: the driver's
                      SeatCase{false, 1, 1, "seat_dside_r"}),   // a passenger with nobody driving keeps their own seat
    [](const ::testing::TestParamInfo<SeatCase>& info) {
        int seat = info.param.playerSeat;
        return std::string(info.param.npcDriver ? "Driven" : "Driverless") +
               (seat < 0 ? std::string("Driver") : "Seat" + std::to_string(seat));
    });

TEST(VehicleSeats, CameraFollowsTheVehicleAndTurnsWithIt) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::findEntity(car)->rotation = {0.0f, 0.0f, 90.0f};  // facing west
    sim::driveSteady(car, 10.0f);
    sim::runFor(1000);
    const sim::EntityState& e = *sim::findEntity(car);
    EXPECT_LT(e.position.x, kParkedAt.x - 9.5f);
    ASSERT_FLOAT_EQ(sim::lastRendered().blend, 1.0f);
    expectNear(sim::lastRendered().position, sim::localToWorld(e, carSeatAttach(car, sim::kDriverSeat)));
    EXPECT_NEAR(sim::lastRendered().rotation.z, 90.0f, 1e-3f);
}

TEST(VehicleSeats, CarReanchorsOnASeatChangeKeepingTheLook) {
    int32_t car = bootAndEngageIn(sim::kSedanClass);
    sim::setControlNormal(kControlLookLeftRight, 1.0f);
    sim::frames(5);
    sim::setControlNormal(kControlLookLeftRight, 0.0f);
    float yaw = vehicleCam.lookYaw;
    ASSERT_LT(yaw, -20.0f);
    uint32_t detachesBefore = static_cast<uint32_t>(sim::calls(native::kDetachCam).size());

    sim::switchSeat(0);
    sim::frame();
    expectNear(cam().attachOffset, carSeatAttach(car, 0));
    EXPECT_EQ(std::string(seatBoneName), "seat_pside_f");
    EXPECT_FLOAT_EQ(vehicleCam.lookYaw, yaw);
    EXPECT_EQ(sim::calls(native::kDetachCam).size(), detachesBefore);  // re-attached, never detached
}

TEST(VehicleSeats, MotorcycleKeepsItsAnchorUntilSetUpAgain) {
    play::boot();
    int32_t bike = engageIn(sim::kMotorcycleClass, 1);  // riding pillion
    const Vec3 pillion = motorcycleCam.seatAnchor;
    EXPECT_NEAR(pillion.y, sim::seatBoneLocal(bike, 1).y, 1e-4f);
    EXPECT_NEAR(pillion.z, sim::seatBoneLocal(bike, 1).z + 0.55f, 1e-4f);

    sim::switchSeat(sim::kDriverSeat);
    sim::frames(3);
    expectNear(motorcycleCam.seatAnchor, pillion);

    // Off (to the game's third-person view) and on again: set up afresh at the rider's seat.
    sim::runFor(400);
    play::press(sim::kViewKey, 1);
    sim::runFor(400);
    sim::putGameInFirstPerson();
    play::press(sim::kViewKey, 1);
    Vec3 rider = sim::seatBoneLocal(bike, sim::kDriverSeat);
    expectNear(motorcycleCam.seatAnchor, {rider.x, rider.y, rider.z + 0.55f});
    expectNear(cam().attachOffset, {rider.x + MC_Side, rider.y + MC_Forward, rider.z + 0.55f + MC_Height});
}

TEST(VehicleSeats, VehicleWithoutSeatBonesGetsTheDefaultAnchor) {
    play::boot();
    int32_t car = sim::spawnVehicle(sim::kSedanClass, kParkedAt);
    int32_t bike = sim::spawnVehicle(sim::kCycleClass, kParkedAt);
    sim::removeBones(car);
    sim::removeBones(bike);
    engageInVehicle(car);
    expectNear(cam().attachOffset, {Veh_Side, Veh_Forward, 0.8f + Veh_Height});
    sim::enterVehicle(bike);
    sim::frame();
    expectNear(cam().attachOffset, {MC_Side, MC_Forward, 0.7f + MC_Height});
}

}  // namespace

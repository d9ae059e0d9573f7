#include "sim/world/vehicles.h"

#include <algorithm>
#include <cmath>

#include "sim/sim.h"
#include "sim/world/os.h"
#include "sim/world/player.h"

namespace sim {

std::map<int32_t, VehicleInfo> vehicles;

namespace {

struct SeatBone {
    int32_t seat;
    const char* name;
    Vec3 local;  // metres in the vehicle's frame: x right, y forward, z up
};
// A saloon's seats (left-hand drive: the driver sits on the left).
const SeatBone kCarSeats[] = {
    {-1, "seat_dside_f", {-0.45f, 0.05f, 0.25f}},
    {0, "seat_pside_f", {0.45f, 0.05f, 0.25f}},
    {1, "seat_dside_r", {-0.45f, -0.85f, 0.25f}},
    {2, "seat_pside_r", {0.45f, -0.85f, 0.25f}},
};
// A two-wheeler's saddle: rider and pillion on the centre line.
const SeatBone kTwoWheelerSeats[] = {
    {-1, "seat_dside_f", {0.0f, -0.05f, 0.55f}},
    {1, "seat_dside_r", {0.0f, -0.5f, 0.65f}},
};
constexpr int32_t kFirstSeatBoneId = 100;  // bone indices: 100 + seat + 1
constexpr Vec3 kBesideDriverDoor{-1.6f, 0.0f, 0.0f};
constexpr float kCrashBodyDamage = 250.0f;

bool isTwoWheeler(int32_t vehicleClass) { return vehicleClass == kMotorcycleClass || vehicleClass == kCycleClass; }

const char* boneNameOfSeat(int32_t seat) {
    for (const SeatBone& s : kCarSeats)
        if (s.seat == seat) return s.name;
    return nullptr;
}

VehicleInfo& info(int32_t vehicle) {
    auto it = vehicles.find(vehicle);
    if (it == vehicles.end()) fail("no such vehicle: " + std::to_string(vehicle));
    return it->second;
}

void seatPlayerPed() {
    EntityState* ped = findEntity(player.ped);
    const EntityState* vehicle = findEntity(player.vehicle);
    if (!ped || !vehicle) return;
    ped->position = localToWorld(*vehicle, seatBoneLocal(player.vehicle, player.seat));
    ped->rotation = vehicle->rotation;
    ped->velocity = vehicle->velocity;
}

// Driving, before the scripts: this frame's speed along the heading, then the move.
const FrameStep drive(Phase::BeforeScripts, 20, [] {
    float dt = frameMilliseconds() * 0.001f;
    for (auto& [handle, v] : vehicles) {
        EntityState* e = findEntity(handle);
        if (!e) continue;
        if (v.speed) {
            if (v.speedStartPending) v.speedStart = now();
            v.speedStartPending = false;
            float t = static_cast<float>(now() - v.speedStart) * 0.001f;
            e->velocity = rotateDegrees(e->rotation, {0.0f, v.speed(t), 0.0f});
        }
        e->position = {e->position.x + e->velocity.x * dt, e->position.y + e->velocity.y * dt,
                       e->position.z + e->velocity.z * dt};
    }
    seatPlayerPed();
});

void startProfile(int32_t vehicle, SpeedProfile profile) {
    VehicleInfo& v = info(vehicle);
    v.speed = std::move(profile);
    v.speedStartPending = true;
}

}  // namespace

int32_t spawnVehicle(int32_t vehicleClass, Vec3 position, float heading) {
    EntityState& e = spawnEntity(EntityKind::Vehicle, position, heading);
    vehicles[e.handle].vehicleClass = vehicleClass;
    if (isTwoWheeler(vehicleClass)) {
        for (const SeatBone& s : kTwoWheelerSeats) e.bones.push_back({s.name, kFirstSeatBoneId + s.seat + 1, s.local});
    } else {
        for (const SeatBone& s : kCarSeats) e.bones.push_back({s.name, kFirstSeatBoneId + s.seat + 1, s.local});
    }
    return e.handle;
}

void removeBones(int32_t vehicle) {
    if (EntityState* e = findEntity(vehicle)) e->bones.clear();
}

Vec3 seatBoneLocal(int32_t vehicle, int32_t seat) {
    const EntityState* e = findEntity(vehicle);
    const char* name = boneNameOfSeat(seat);
    const Bone* b = e && name ? findBone(*e, name) : nullptr;
    return b ? b->local : Vec3{};
}

void enterVehicle(int32_t vehicle, int32_t seat) {
    leaveVehicle();
    auto& seats = info(vehicle).seats;
    if (seats.count(seat) != 0) fail("seat " + std::to_string(seat) + " is taken");
    seats[seat] = player.ped;
    player.vehicle = vehicle;
    player.seat = seat;
    seatPlayerPed();
}

void switchSeat(int32_t seat) {
    if (player.vehicle == 0) fail("switchSeat outside a vehicle");
    auto& seats = info(player.vehicle).seats;
    if (seats.count(seat) != 0 && seats[seat] != player.ped) fail("seat " + std::to_string(seat) + " is taken");
    seats.erase(player.seat);
    seats[seat] = player.ped;
    player.seat = seat;
    seatPlayerPed();
}

void leaveVehicle() {
    if (player.vehicle != 0) {
        info(player.vehicle).seats.erase(player.seat);
        const EntityState* vehicle = findEntity(player.vehicle);
        EntityState* ped = findEntity(player.ped);
        if (vehicle && ped) {
            ped->position = localToWorld(*vehicle, kBesideDriverDoor);
            ped->rotation = {0.0f, 0.0f, vehicle->rotation.z};
            ped->velocity = {};
        }
    }
    player.vehicle = 0;
    player.seat = kDriverSeat;
    player.inVehicleWithoutVehicle = false;
}

void enterVehicleUnreturned() {
    leaveVehicle();
    player.inVehicleWithoutVehicle = true;
}

int32_t seatNewPed(int32_t vehicle, int32_t seat) {
    const EntityState* v = findEntity(vehicle);
    EntityState& ped = spawnEntity(EntityKind::Ped, v ? localToWorld(*v, seatBoneLocal(vehicle, seat)) : Vec3{});
    info(vehicle).seats[seat] = ped.handle;
    return ped.handle;
}

void driveProfile(int32_t vehicle, SpeedProfile profile) { startProfile(vehicle, std::move(profile)); }

void driveSteady(int32_t vehicle, float forwardSpeed) {
    startProfile(vehicle, [forwardSpeed](float) { return forwardSpeed; });
}

void brakeHard(int32_t vehicle, float fromSpeed, float deceleration) {
    startProfile(vehicle, [fromSpeed, deceleration](float t) { return std::max(0.0f, fromSpeed - deceleration * t); });
}

void driveThrough(int32_t vehicle, std::vector<std::pair<float, float>> points) {
    if (points.empty()) fail("driveThrough without points");
    startProfile(vehicle, [points = std::move(points)](float t) {
        if (t <= points.front().first) return points.front().second;
        for (size_t k = 1; k < points.size(); ++k) {
            auto [t1, v1] = points[k];
            if (t < t1) {
                auto [t0, v0] = points[k - 1];
                return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
            }
        }
        return points.back().second;
    });
}

void crash(int32_t vehicle, float toSpeed) {
    driveSteady(vehicle, toSpeed);
    VehicleInfo& v = info(vehicle);
    v.bodyHealth = std::max(0.0f, v.bodyHealth - kCrashBodyDamage);
}

float forwardSpeedOf(int32_t vehicle) {
    const EntityState* e = findEntity(vehicle);
    if (!e) return 0.0f;
    EntityState still = *e;
    still.position = {};
    return worldToLocal(still, e->velocity).y;
}

namespace {
bool pedInVehicle(int32_t ped) {
    return ped == player.ped && (player.vehicle != 0 || player.inVehicleWithoutVehicle);
}
}  // namespace

SIM_NATIVE(native::kIsPedInAnyVehicle) {
    call.ret(pedInVehicle(call.i(0)));
}
SIM_NATIVE(native::kGetVehiclePedIsIn) {
    call.ret(call.i(0) == player.ped ? player.vehicle : 0);
}
SIM_NATIVE(native::kGetVehicleClass) {
    auto it = vehicles.find(call.i(0));
    call.ret(it == vehicles.end() ? 0 : it->second.vehicleClass);
}
SIM_NATIVE(native::kGetPedInVehicleSeat) {
    auto it = vehicles.find(call.i(0));
    int32_t ped = 0;
    if (it != vehicles.end()) {
        auto seat = it->second.seats.find(call.i(1));
        if (seat != it->second.seats.end()) ped = seat->second;
    }
    call.ret(ped);
}
SIM_NATIVE(native::kGetVehicleBodyHealth) {
    auto it = vehicles.find(call.i(0));
    call.ret(it == vehicles.end() ? 0.0f : it->second.bodyHealth);
}

}  // namespace sim

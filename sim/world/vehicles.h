// Vehicles: entities of kind Vehicle with a class, seats with occupants, named
// seat bones, body health and a forward speed in their own frame that driving
// scripts set over time. Before the scripts of each frame the model takes the
// speed its script gives for the time since it started, turns it into a world
// velocity along the vehicle's heading, moves the vehicle by it, and seats the
// player's ped at its seat bone.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sim/world/entities.h"

namespace sim {

constexpr int32_t kDriverSeat = -1;
constexpr int32_t kMotorcycleClass = 8;
constexpr int32_t kCycleClass = 13;
constexpr int32_t kSedanClass = 1;

// A driving script: forward speed in m/s (negative reversing) at t seconds
// after it started.
using SpeedProfile = std::function<float(float t)>;

struct VehicleInfo {
    int32_t vehicleClass = 0;            // 8 motorcycles, 13 cycles
    std::map<int32_t, int32_t> seats;    // seat index (-1 driver) -> ped handle
    float bodyHealth = 1000.0f;          // GET_VEHICLE_BODY_HEALTH
    SpeedProfile speed;                  // empty: the velocity stays as it is
    uint32_t speedStart = 0;             // tick the profile started at
    bool speedStartPending = false;      // the profile starts with the next frame
};
extern std::map<int32_t, VehicleInfo> vehicles;

// Spawns a vehicle with the seat bones of its class: cars have the four seat
// bones, two-wheelers the driver's and the rear one ("seat_dside_f", "seat_dside_r").
int32_t spawnVehicle(int32_t vehicleClass, Vec3 position, float heading = 0.0f);
void removeBones(int32_t vehicle);                   // a model without any seat bone
Vec3 seatBoneLocal(int32_t vehicle, int32_t seat);   // the seat's bone in the vehicle's frame; (0,0,0) if none

// The player.
void enterVehicle(int32_t vehicle, int32_t seat = kDriverSeat);  // the player sits in the seat
void switchSeat(int32_t seat);                       // moves within the same vehicle
void leaveVehicle();                                 // the player stands beside it
void enterVehicleUnreturned();  // the game says "in a vehicle" but returns no vehicle handle

// Other occupants: a new ped sitting in the seat.
int32_t seatNewPed(int32_t vehicle, int32_t seat);

// Driving. Each takes effect from the next frame; the profile's clock starts then.
void driveProfile(int32_t vehicle, SpeedProfile profile);
void driveSteady(int32_t vehicle, float forwardSpeed);              // constant m/s; negative reverses
void brakeHard(int32_t vehicle, float fromSpeed, float deceleration);  // m/s down to 0 at m/s^2
// Piecewise-linear speeds through (seconds, m/s) points; two points at one time make a step.
void driveThrough(int32_t vehicle, std::vector<std::pair<float, float>> points);
// The vehicle hits something: from the next frame its speed is toSpeed, and its body takes damage.
void crash(int32_t vehicle, float toSpeed = 5.0f);
float forwardSpeedOf(int32_t vehicle);               // m/s in the vehicle's frame, this frame

}  // namespace sim

// Vehicles: entities of kind Vehicle with a class and seats.
#pragma once
#include <cstdint>
#include <map>

#include "sim/world/entities.h"

namespace sim {

struct VehicleInfo {
    int32_t vehicleClass = 0;            // 8 motorcycles, 13 cycles
    std::map<int32_t, int32_t> seats;    // seat index (-1 driver) -> ped handle
};
extern std::map<int32_t, VehicleInfo> vehicles;

int32_t spawnVehicle(int32_t vehicleClass, Vec3 position, float heading = 0.0f);
void enterVehicle(int32_t vehicle, int32_t seat = -1);  // the player sits in the seat
void leaveVehicle();                                    // the player stands beside it

}  // namespace sim

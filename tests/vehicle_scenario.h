// Shared set-up for the in-vehicle camera tests: a player seated in a vehicle
// with the plug-in's view engaged, and readers for what the camera does.
#pragma once
#include <gtest/gtest.h>

#include "camera/vehicle.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/vehicles.h"
#include "tests/play.h"

namespace vehicle_test {

using play::cam;

constexpr Vec3 kParkedAt{120.0f, -40.0f, 30.0f};

// The player seated in this vehicle in the game's first-person view, then V
// down for one frame: from that view it engages the plug-in, and the
// in-vehicle camera sets itself up in that same frame.
inline void engageInVehicle(int32_t vehicle, int32_t seat = sim::kDriverSeat) {
    sim::enterVehicle(vehicle, seat);
    sim::putGameInFirstPerson();
    sim::frame();
    play::press(sim::kViewKey, 1);
}

// The same in a new vehicle of this class: after this the camera has had its
// set-up frame only.
inline int32_t engageIn(int32_t vehicleClass, int32_t seat = sim::kDriverSeat) {
    int32_t vehicle = sim::spawnVehicle(vehicleClass, kParkedAt);
    engageInVehicle(vehicle, seat);
    return vehicle;
}

// Booted with every setting at its reset value, then engaged in a new vehicle.
inline int32_t bootAndEngageIn(int32_t vehicleClass, const sim::Options& options = {}) {
    play::boot(options);
    return engageIn(vehicleClass);
}

// The attach offset's forward part beyond the seat anchor and Veh_Forward.
inline float carShift() { return cam().attachOffset.y - vehicleCam.seatAnchor.y - Veh_Forward; }

}  // namespace vehicle_test

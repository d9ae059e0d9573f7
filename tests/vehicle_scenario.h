// Shared set-up for the in-vehicle camera tests: a player seated in a vehicle
// with the plug-in's view engaged, and readers for what the camera does.
#pragma once
#include <gtest/gtest.h>

#include "camera/vehicle.h"
#include "runtime/virtual_keys.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/vehicles.h"

namespace vehicle_test {

constexpr Vec3 kParkedAt{120.0f, -40.0f, 30.0f};

// Boots the plug-in with the settings at their reset values (start-up ran).
inline void bootWithDefaults(const sim::Options& options = {}) {
    sim::boot(options);
    sim::frame();
    resetAllSettings();
}

// One frame with V held: from the game's first-person view this engages the
// plug-in, and the in-vehicle camera sets itself up in that same frame.
inline void pressV() {
    sim::holdKey(kVkV);
    sim::frame();
    sim::releaseKey(kVkV);
}

// The player seated in a new vehicle of this class in the game's first-person
// view, then V: after this the camera has had its set-up frame only.
inline int32_t engageIn(int32_t vehicleClass, int32_t seat = sim::kDriverSeat) {
    int32_t vehicle = sim::spawnVehicle(vehicleClass, kParkedAt);
    sim::enterVehicle(vehicle, seat);
    sim::putGameInFirstPerson();
    sim::frame();
    pressV();
    return vehicle;
}

inline const sim::ScriptCam& cam() {
    const sim::ScriptCam* c = sim::liveScriptCam();
    if (!c) sim::fail("no scripted camera");
    return *c;
}

// The attach offset's forward part beyond the seat anchor and Veh_Forward.
inline float carShift() { return cam().attachOffset.y - vehicleCam.seatAnchor.y - Veh_Forward; }

}  // namespace vehicle_test

// The in-vehicle cameras: one for cars, boats and aircraft, one for motorcycles
// and bicycles (vehicle classes 8 and 13). Both attach the scripted camera at the
// player's seat, turn it with the vehicle plus a look offset, and slide it
// forward on hard braking, while reversing and after a crash.
#pragma once
#include <cstdint>

#include "runtime/native_call.h"

// Shared by the two variants; the rig clears them when the camera must be set up
// again (player change, switch-off, on foot <-> in a vehicle, disengaging).
extern Vehicle attachedVehicle;    // the vehicle the camera was last set up for, 0 = none
extern uint8_t vehicleAttached;    // 1 once the camera is attached to attachedVehicle
extern const char* seatBoneName;   // seat bone behind the car camera's anchor, nullptr = none

// One variant's state, zero at load. Set up again (offsets and inertia zeroed,
// reset ticks kept) whenever the attached vehicle changes or the attach flag is
// cleared.
struct InVehicleCamState {
    float lookYaw, lookPitch;          // degrees: limited look, and the look while aiming
    uint32_t lookResetTick;            // last NUMPAD0 reset of the look pair
    float freeLookYaw, freeLookPitch;  // degrees: free look while not aiming
    uint32_t freeLookResetTick;        // last NUMPAD0 reset of the free-look pair
    Vec3 seatAnchor;                   // metres in the vehicle's frame (x right, y forward, z up)
    uint32_t lastTick;                 // tick of the previous tracking frame
    float lastForwardSpeed;            // m/s, negative when reversing
    float filteredAccel;               // m/s^2, low-pass filtered forward acceleration
    float peakSpeed;                   // m/s, running maximum that decays
    float crashImpulse;                // 0..0.5, raised by a sudden loss of speed
    float forwardShift;                // metres, smoothed forward camera offset from inertia
};
extern InVehicleCamState vehicleCam;     // the car camera's state
extern InVehicleCamState motorcycleCam;  // the two-wheeler camera's state

// One frame of the car or two-wheeler camera; true when the camera is placed in
// this frame (attached at the seat and turned with the vehicle).
bool updateVehicleCamera(Ped ped, Vehicle vehicle);
bool updateMotorcycleCamera(Ped ped, Vehicle vehicle);
void clearVehicleAttachment();         // forget the attached vehicle, the attach flag and the seat bone
bool isTwoWheeler(int vehicleClass);   // motorcycles and bicycles

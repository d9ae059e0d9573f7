// The in-vehicle cameras: one for cars, boats and aircraft, one for motorcycles
// and bicycles (vehicle classes 8 and 13).
#pragma once
#include <cstdint>

#include "runtime/native_call.h"

extern Vehicle attachedVehicle;  // the vehicle the camera is attached to
extern uint8_t vehicleAttached;

void updateVehicleCamera(Ped ped);     // one frame of the car camera
void updateMotorcycleCamera(Ped ped);  // one frame of the two-wheeler camera
void clearVehicleAttachment();         // forget the attached vehicle, the attach flag and the seat bone

// The bodycam aim: a view that lags behind the aim, a deadzone box, the weapon
// lead, 3D hand motion and aim sway.
#pragma once
#include <cstdint>

#include "runtime/native_call.h"

struct Rotation {
    float pitch, roll, yaw;  // degrees, rotation order 2
};

extern Rotation smoothedRotation;                      // the rotation the camera shows
extern float handSide, handUp, handForward, handRoll;  // metres, metres, metres, degrees
extern uint8_t followInitialised;                      // 0 after a stop or destroy: reseed from the gameplay rotation

void updateBodycamAim(Ped ped, Rotation gameplay);  // pipeline steps 18 and 19
Rotation aimSway(Hash weapon);                      // pitch and yaw additions; zero when sway does not apply

// The bodycam aim: a view that lags behind the aim (weapon lead, smooth
// follow), a deadzone box the aim wanders in before the view follows, 3D hand
// motion that slides and rolls the camera with the aim, and aim sway.
#pragma once
#include <cstdint>

#include "runtime/native_call.h"

struct Rotation {
    float pitch, roll, yaw;  // degrees, rotation order 2
};

extern Rotation smoothedRotation;                      // the rotation the camera shows; yaw in -180..180
extern float handSide, handUp, handForward, handRoll;  // metres, metres, metres, degrees
extern uint8_t followInitialised;                      // 0 after a stop or destroy: reseed from the gameplay rotation
extern Hash aimWeapon;                                 // the weapon the last aim update saw

void updateBodycamAim(Ped ped, Rotation gameplay);  // each on-foot frame with a usable head reading
Rotation aimSway(Hash weapon);                      // pitch and yaw additions (roll 0); zero when sway does not apply

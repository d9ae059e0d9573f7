#include "weapon/bodycam_aim.h"

Rotation smoothedRotation;
float handSide, handUp, handForward, handRoll;
uint8_t followInitialised;

// Not built yet: until weapon feel lands the camera shows the gameplay rotation.
void updateBodycamAim(Ped, Rotation gameplay) {
    smoothedRotation = gameplay;
    followInitialised = 1;
}
Rotation aimSway(Hash) { return {0.0f, 0.0f, 0.0f}; }  // not built yet: sway comes with weapon feel

// The head bob: the player's gait turned into camera motion. A stride phase
// advances with the movement pace; from it the view sways, bounces, rolls, dips
// and swings, leans forward at speed and carries a layer of smooth noise. Standing
// still, an idle breathing sway takes over. Damped while aiming and while a
// selection wheel is held.
#pragma once
#include "runtime/native_call.h"

struct HeadBobOffsets {
    float lateral;   // metres, along the view's right direction
    float vertical;  // metres
    float pitch;     // degrees
    float yaw;       // degrees
    float roll;      // degrees
};

extern HeadBobOffsets headBob;  // this frame's contribution; all zero while HeadBob is off

void updateHeadBob(Ped ped);  // one on-foot frame of the gait model
void resetHeadBob();          // the gait state back to rest, any wheel hold ended (camera destroy, bob off); the aim and wheel damping persist

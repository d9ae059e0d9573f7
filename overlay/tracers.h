// The aim point, shot redirection and bullet tracers.
//
// In bodycam mode the camera's aim ray decides where shots go: the step casts it
// once per on-foot frame, takes the trigger over so that the character fires at
// the point it hit, and spawns a tracer from the muzzle for each shot event. The
// overlay flies those tracers as short streaks after the camera update.
#pragma once
#include <cstdint>

#include "runtime/native_call.h"

// Where this frame's aim ray hit (its far end when it hit nothing); valid only
// while aimPointValid is 1. The rig clears the flag at the start of every
// on-foot frame, so a frame that casts no ray leaves it clear.
extern uint8_t aimPointValid;
extern Vec3 aimPoint;

void updateAimPointAndFire(Ped ped);  // camera pipeline: aim ray, trigger, tracer spawn

// Ends a redirected trigger press at once (stop order, task clear). The rig
// calls it when its camera stops or is torn down: the step no longer runs
// then, and an order left standing would keep the character shooting at a
// stale point (through a sniper scope, from a vehicle seat).
void endRedirectedPress();

// Puts one tracer from start to end into the fixed pool, replacing the oldest
// when all slots fly; drawTracers (overlay.h) animates it.
void spawnTracer(float sx, float sy, float sz, float ex, float ey, float ez);

// The aim point, shot redirection and bullet tracers.
#pragma once
#include <cstdint>

#include "runtime/native_call.h"

extern uint8_t aimPointValid;  // 1 when this frame's aim ray hit something
extern Vec3 aimPoint;

void updateAimPointAndFire(Ped ped);  // pipeline step 26
void spawnTracer(float sx, float sy, float sz, float ex, float ey, float ez);

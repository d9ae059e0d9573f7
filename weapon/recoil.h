// Recoil: each shot kicks the on-foot view up with a small random sideways and
// rolling jolt that springs back; quick shots add up to a cap. Two modes: the
// recoil shake (fire input or shooting, at most one kick per 46 ms) and the
// bodycam recoil (one kick per detected shot, scaled per weapon group), which
// takes precedence. With neither on, the state is cleared.
#pragma once
#include "runtime/native_call.h"

extern float recoilPitch, recoilYaw, recoilRoll;  // degrees, added to the camera rotation

void updateRecoil(Ped ped);  // each on-foot frame, after the head bob and before the crouch drop
void resetRecoil();          // on destroy: offsets, frame time, shot detection and last ammo

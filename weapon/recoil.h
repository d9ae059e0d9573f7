// Recoil: the recoil shake and the bodycam kick, as camera rotation offsets.
#pragma once
#include "runtime/native_call.h"

extern float recoilPitch, recoilYaw, recoilRoll;  // degrees, added to the camera rotation

void updateRecoil(Ped ped);  // pipeline step 22
void resetRecoil();          // on destroy: offsets, shot detection and last ammo

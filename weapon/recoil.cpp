#include "weapon/recoil.h"

float recoilPitch, recoilYaw, recoilRoll;

void updateRecoil(Ped) {}  // not built yet: recoil comes with weapon feel
void resetRecoil() {
    recoilPitch = recoilYaw = recoilRoll = 0.0f;
}

// The weapon audio mode: game audio flags applied while the camera renders.
#pragma once

void updateWeaponAudio();  // the flags for this frame, on foot and in a vehicle alike
void clearWeaponAudio();   // both flags off (destroy, disengage)

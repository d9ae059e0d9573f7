// The weapon audio mode: game audio flags applied while the camera renders.
#pragma once

void updateWeaponAudio(bool inVehicle);  // pipeline steps 12 and 27; the mode is the same in both
void clearWeaponAudio();                 // both flags off (destroy, disengage)

#include "audio/weapon_audio.h"

void updateWeaponAudio(bool) {}  // not built yet: the audio mode comes with the overlays
void clearWeaponAudio() {}       // not built yet: the audio mode comes with the overlays

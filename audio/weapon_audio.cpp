// The weapon audio mode: while the plug-in's camera is on screen, weapon shots
// sound dry and close (no listener reverb, the game's sniper audio forced), as
// from a camera on the shooter's body. CinematicAudio keeps the game's own mix.
#include "audio/weapon_audio.h"

#include "runtime/natives.h"
#include "settings/settings.h"

namespace {
constexpr const char* kReverbFlag = "ListenerReverbDisabled";
constexpr const char* kSniperAudioFlag = "ForceSniperAudio";
}  // namespace

void updateWeaponAudio() {
    bool bodycamAudio = CinematicAudio != 1;
    game::setAudioFlag(kReverbFlag, bodycamAudio);
    game::setAudioFlag(kSniperAudioFlag, bodycamAudio);
}

void clearWeaponAudio() {
    game::setAudioFlag(kReverbFlag, false);
    game::setAudioFlag(kSniperAudioFlag, false);
}

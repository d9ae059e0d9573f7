#include "sim/world/audio_flags.h"

#include "sim/sim.h"

namespace sim {

std::map<std::string, bool> audioFlags;

bool audioFlag(const std::string& name) {
    auto it = audioFlags.find(name);
    return it != audioFlags.end() && it->second;
}

SIM_NATIVE(native::kSetAudioFlag) {
    audioFlags[call.s(0) ? call.s(0) : ""] = call.b(1);
}

}  // namespace sim

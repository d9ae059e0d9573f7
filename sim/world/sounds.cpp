#include "sim/world/sounds.h"

#include "sim/sim.h"

namespace sim {

SoundModel sounds;

std::vector<std::string> soundNamesSince(size_t index) {
    std::vector<std::string> out;
    for (size_t k = index; k < sounds.played.size(); ++k) out.push_back(sounds.played[k].name);
    return out;
}

SIM_NATIVE(native::kPlaySoundFrontend) {
    sounds.played.push_back({frameIndex(), call.i(0), call.s(1) ? call.s(1) : "", call.s(2) ? call.s(2) : ""});
}

}  // namespace sim

// Front-end sounds played by scripts, in order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct SoundPlay {
    uint32_t frame;
    int32_t soundId;
    std::string name;
    std::string soundSet;
};

struct SoundModel {
    std::vector<SoundPlay> played;
};
extern SoundModel sounds;

std::vector<std::string> soundNamesSince(size_t index);  // names of the sounds from played[index] on

}  // namespace sim

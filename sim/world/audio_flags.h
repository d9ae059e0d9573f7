// The game's named audio flags (SET_AUDIO_FLAG): each holds the value last set.
#pragma once
#include <map>
#include <string>

namespace sim {

extern std::map<std::string, bool> audioFlags;

bool audioFlag(const std::string& name);  // false when never set

}  // namespace sim

// The game's full-screen post-effects (ANIMPOSTFX_PLAY / ANIMPOSTFX_STOP): which
// effects are running, and every start and stop in order.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace sim {

struct PostFxEvent {
    uint32_t frame;
    std::string name;
    bool start;    // false = stop
    int32_t duration;
    bool looped;
};

struct PostFxModel {
    std::set<std::string> running;
    std::vector<PostFxEvent> events;
};
extern PostFxModel postFx;

bool postFxRunning(const std::string& name);
int postFxStarts(const std::string& name);
int postFxStops(const std::string& name);

}  // namespace sim

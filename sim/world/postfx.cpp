#include "sim/world/postfx.h"

#include "sim/sim.h"

namespace sim {

PostFxModel postFx;

namespace {
int countEvents(const std::string& name, bool start) {
    int n = 0;
    for (const PostFxEvent& e : postFx.events) n += e.name == name && e.start == start;
    return n;
}
}  // namespace

bool postFxRunning(const std::string& name) { return postFx.running.count(name) != 0; }
int postFxStarts(const std::string& name) { return countEvents(name, true); }
int postFxStops(const std::string& name) { return countEvents(name, false); }

// A looped effect runs until stopped; a timed one is not simulated past its start.
SIM_NATIVE(native::kAnimpostfxPlay) {
    std::string name = call.s(0) ? call.s(0) : "";
    postFx.events.push_back({frameIndex(), name, true, call.i(1), call.b(2)});
    postFx.running.insert(name);
}
SIM_NATIVE(native::kAnimpostfxStop) {
    std::string name = call.s(0) ? call.s(0) : "";
    postFx.events.push_back({frameIndex(), name, false, 0, false});
    postFx.running.erase(name);
}

}  // namespace sim

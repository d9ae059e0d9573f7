// The simulator's side of the plug-in's platform layer: every call lands on the
// simulated operating system, or, while a trace is replayed, on the trace.
#include <cstdlib>
#include <cstring>

#include "runtime/platform.h"
#include "sim/alloc_watch.h"
#include "sim/replay.h"
#include "sim/sim.h"
#include "sim/world/os.h"

using sim::os;

// Each call from the trace while one is replayed, else from the model; the
// system's side runs outside the plug-in's code (its allocations and profile).
#define ZV_PLATFORM_CALL(result, name, simulatorName, parameters, arguments) \
    result name parameters {                                                \
        const sim::OutsidePlugin system;                                    \
        if (sim::replay::active()) return sim::replay::simulatorName arguments; \
        return sim::simulatorName arguments;                                \
    }
#include "runtime/platform_calls.inc"
#undef ZV_PLATFORM_CALL

uint32_t osExecutablePath(char* buffer, uint32_t size) {
    if (size == 0) return 0;
    size_t n = std::min<size_t>(os.exePath.size(), size - 1);
    std::memcpy(buffer, os.exePath.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

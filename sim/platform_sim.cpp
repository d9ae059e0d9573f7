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

uint32_t systemTickCount() {
    if (sim::replay::active()) return sim::replay::tick();
    return sim::tickCount();
}
int64_t systemPerformanceCounter() {
    if (sim::replay::active()) return sim::replay::counter();
    return sim::performanceCounter();
}
int64_t systemPerformanceFrequency() {
    if (sim::replay::active()) return sim::replay::counterFrequency();
    return sim::performanceFrequency();
}
uint32_t systemForegroundProcessId() {
    if (sim::replay::active()) return sim::replay::foregroundProcess();
    return sim::foregroundProcessId();
}
uint32_t systemCurrentProcessId() {
    if (sim::replay::active()) return sim::replay::processId();
    return sim::currentProcessId();
}
int16_t systemAsyncKeyState(int virtualKey) {
    if (sim::replay::active()) return sim::replay::keyState(virtualKey);
    return sim::asyncKeyState(virtualKey);
}
void systemKeyEvent(uint8_t virtualKey, uint32_t flags) {
    const sim::OutsidePlugin system;
    if (sim::replay::active()) sim::replay::keyEvent(virtualKey, flags);
    else sim::keyEvent(virtualKey, flags);
}
int32_t systemRandom() {
    if (sim::replay::active()) return sim::replay::random();
    return std::rand();
}
uint32_t systemPadState(uint32_t slot, void* state16) {
    if (sim::replay::active()) return sim::replay::padState(slot, state16);
    return sim::padState(slot, static_cast<PadState*>(state16));
}

uint32_t osExecutablePath(char* buffer, uint32_t size) {
    if (size == 0) return 0;
    size_t n = std::min<size_t>(os.exePath.size(), size - 1);
    std::memcpy(buffer, os.exePath.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

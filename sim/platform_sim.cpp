// The simulator's side of the plug-in's platform layer: every call lands on the
// simulated operating system.
#include <cstring>

#include "runtime/platform.h"
#include "sim/sim.h"
#include "sim/world/os.h"

using sim::os;

uint32_t osTickCount() { return sim::tickCount(); }
int16_t osAsyncKeyState(int virtualKey) { return sim::asyncKeyState(virtualKey); }
void osKeyEvent(uint8_t virtualKey, uint32_t flags) { sim::keyEvent(virtualKey, flags); }
uint32_t osPadState(uint32_t slot, PadState* state) { return sim::padState(slot, state); }

uint32_t osExecutablePath(char* buffer, uint32_t size) {
    if (size == 0) return 0;
    size_t n = std::min<size_t>(os.exePath.size(), size - 1);
    std::memcpy(buffer, os.exePath.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

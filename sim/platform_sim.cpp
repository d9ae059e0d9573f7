// The simulator's side of the plug-in's platform layer: every call lands on the
// simulated operating system.
#include <cstring>

#include "runtime/platform.h"
#include "sim/sim.h"
#include "sim/world/os.h"

using sim::os;

uint32_t osTickCount() { return os.now; }

int16_t osAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    return os.keyDown[virtualKey] ? static_cast<int16_t>(0x8000) : 0;
}

void osKeyEvent(uint8_t virtualKey, uint32_t flags) {
    os.sentKeys.push_back({sim::frameIndex(), virtualKey, (flags & kKeyEventKeyUp) != 0});
}

uint32_t osPadState(uint32_t slot, PadState* state) {
    constexpr uint32_t kNotConnected = 1167;  // ERROR_DEVICE_NOT_CONNECTED
    if (slot > 3 || !os.padConnected[slot]) return kNotConnected;
    *state = os.pads[slot];
    return 0;
}

uint32_t osExecutablePath(char* buffer, uint32_t size) {
    if (size == 0) return 0;
    size_t n = std::min<size_t>(os.exePath.size(), size - 1);
    std::memcpy(buffer, os.exePath.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

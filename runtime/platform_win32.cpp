// Win32 side of the platform layer: each call is the Windows function itself.
#include <windows.h>
#include <xinput.h>

#include <cstdlib>

#include "runtime/platform.h"

uint32_t systemTickCount() { return GetTickCount(); }

int16_t systemAsyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }

void systemKeyEvent(uint8_t virtualKey, uint32_t flags) { keybd_event(virtualKey, 0, flags, 0); }

int32_t systemRandom() { return std::rand(); }

uint32_t systemPadState(uint32_t slot, void* state16) {
    static_assert(sizeof(XINPUT_STATE) == sizeof(PadState), "same layout as XINPUT_STATE");
    return XInputGetState(slot, static_cast<XINPUT_STATE*>(state16));
}

uint32_t osExecutablePath(char* buffer, uint32_t size) {
    uint32_t n = GetModuleFileNameA(nullptr, buffer, size);
    if (size > 0) buffer[size - 1] = '\0';  // Windows XP-era truncation leaves no NUL
    return n;
}

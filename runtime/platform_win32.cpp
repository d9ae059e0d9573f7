// Win32 side of the platform layer: each call is the Windows function itself.
#include <windows.h>
#include <xinput.h>

#include "runtime/platform.h"

uint32_t osTickCount() { return GetTickCount(); }

int16_t osAsyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }

void osKeyEvent(uint8_t virtualKey, uint32_t flags) { keybd_event(virtualKey, 0, flags, 0); }

uint32_t osPadState(uint32_t slot, PadState* state) {
    static_assert(sizeof(XINPUT_STATE) == sizeof(PadState), "same layout as XINPUT_STATE");
    return XInputGetState(slot, reinterpret_cast<XINPUT_STATE*>(state));
}

uint32_t osExecutablePath(char* buffer, uint32_t size) {
    uint32_t n = GetModuleFileNameA(nullptr, buffer, size);
    if (size > 0) buffer[size - 1] = '\0';  // Windows XP-era truncation leaves no NUL
    return n;
}

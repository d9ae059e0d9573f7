// Win32 side of the platform layer: each call is the Windows function itself.
#include <windows.h>
#include <xinput.h>

#include <cstdlib>

#include "runtime/platform.h"
#include "runtime/utf16_win32.h"

uint32_t systemTickCount() { return GetTickCount(); }

int64_t systemPerformanceCounter() {
    LARGE_INTEGER counter;
    return QueryPerformanceCounter(&counter) ? counter.QuadPart : 0;
}

int64_t systemPerformanceFrequency() {
    LARGE_INTEGER frequency;
    return QueryPerformanceFrequency(&frequency) ? frequency.QuadPart : 0;
}

uint32_t systemForegroundProcessId() {
    HWND front = GetForegroundWindow();
    DWORD process = 0;
    if (front) GetWindowThreadProcessId(front, &process);
    return process;
}

uint32_t systemCurrentProcessId() { return GetCurrentProcessId(); }

int16_t systemAsyncKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }

void systemKeyEvent(uint8_t virtualKey, uint32_t flags) { keybd_event(virtualKey, 0, flags, 0); }

int32_t systemRandom() { return std::rand(); }

uint32_t systemPadState(uint32_t slot, void* state16) {
    static_assert(sizeof(XINPUT_STATE) == sizeof(PadState), "same layout as XINPUT_STATE");
    return XInputGetState(slot, static_cast<XINPUT_STATE*>(state16));
}

namespace {
wchar_t executablePath[kMaxPathUnits];  // far too large for the script's stack
}

uint32_t osExecutablePath(char* buffer, uint32_t size) {
    const DWORD units = GetModuleFileNameW(nullptr, executablePath, kMaxPathUnits);
    executablePath[units < kMaxPathUnits ? units : kMaxPathUnits - 1] = L'\0';
    return narrowText(executablePath, buffer, size);
}

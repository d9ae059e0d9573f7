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

uint32_t osFileAttributes(const char* path) { return GetFileAttributesA(path); }

void osCreateNewFile(const char* path, const void* bytes, uint32_t size) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
}

uint32_t osReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                             uint32_t size, const char* path) {
    return GetPrivateProfileStringA(section, key, defaultText, buffer, size, path);
}

void osWriteProfileString(const char* section, const char* key, const char* value, const char* path) {
    WritePrivateProfileStringA(section, key, value, path);
}

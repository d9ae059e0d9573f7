// The operating-system calls the plug-in makes, in one place. The release build
// implements them with Win32 (platform_win32.cpp); the simulator build with its
// virtual clock, keyboard, pads and file system. The clock, keyboard and pad
// calls and the random draws pass through the trace build's recorder (recorder/recorder.h), which is
// empty in every other build.
#pragma once
#include <cstdint>

#include "recorder/recorder.h"

// The system's own clock, keyboard, key-press and pad functions, below the recorder.
uint32_t systemTickCount();
int16_t systemAsyncKeyState(int virtualKey);
void systemKeyEvent(uint8_t virtualKey, uint32_t flags);
uint32_t systemPadState(uint32_t slot, void* state16);
int32_t systemRandom();

// Milliseconds since boot, 32-bit: wraps every 49.7 days.
inline uint32_t osTickCount() { return recordTick(systemTickCount()); }

// GetAsyncKeyState: negative (high bit set) while the key or mouse button is held.
inline int16_t osAsyncKeyState(int virtualKey) { return recordKeyState(virtualKey, systemAsyncKeyState(virtualKey)); }

// keybd_event: one synthetic key transition into the system input stream.
constexpr uint32_t kKeyEventKeyUp = 2;
inline void osKeyEvent(uint8_t virtualKey, uint32_t flags) {
    recordKeyEvent(virtualKey, flags);
    systemKeyEvent(virtualKey, flags);
}

// XInputGetState on one controller slot (0..3). Returns 0 when a controller is
// connected and fills the 16-byte state; the left trigger is byte 10 (0..255).
struct PadState {
    uint32_t packetNumber;
    uint16_t buttons;
    uint8_t leftTrigger;
    uint8_t rightTrigger;
    int16_t thumbLX, thumbLY, thumbRX, thumbRY;
};
static_assert(sizeof(PadState) == 16, "XINPUT_STATE is 16 bytes");
inline uint32_t osPadState(uint32_t slot, PadState* state) {
    return recordPadState(slot, systemPadState(slot, state), state);
}

// rand(): the C runtime's generator, never seeded (0..RAND_MAX). Its sequence
// differs between C runtimes, so the trace build records every draw.
inline int32_t osRandom() { return recordRandom(systemRandom()); }

// GetModuleFileNameA(no module): the host executable's full path, NUL-terminated
// and cut to size. Returns the length written.
uint32_t osExecutablePath(char* buffer, uint32_t size);

// GetFileAttributesA: kNoFileAttributes when nothing exists at the path.
constexpr uint32_t kNoFileAttributes = 0xFFFFFFFFu;
uint32_t osFileAttributes(const char* path);

// CreateFileA(write, no sharing, CREATE_NEW) + WriteFile + CloseHandle: writes a
// new file only when none exists. Results of the write and close are ignored.
void osCreateNewFile(const char* path, const void* bytes, uint32_t size);

// GetPrivateProfileStringA / WritePrivateProfileStringA.
uint32_t osReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                             uint32_t size, const char* path);
void osWriteProfileString(const char* section, const char* key, const char* value, const char* path);

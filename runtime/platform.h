// The operating-system calls the plug-in makes, in one place. The release build
// implements them with Win32 (platform_win32.cpp, files_win32.cpp); the
// simulator build with its virtual clocks, keyboard, windows, pads and file
// system. The clock, focus, keyboard and pad calls and the random draws pass
// through the trace build's recorder (recorder/recorder.h), which is empty in
// every other build. Paths are UTF-8 here; the Win32 side speaks UTF-16 to
// Windows, so a game folder named in any script works.
#pragma once
#include <cstdint>

#include "recorder/recorder.h"

// The system's own clock, window, keyboard, key-press, pad and random
// functions, below the recorder.
#define ZV_PLATFORM_CALL(result, name, simulatorName, parameters, arguments) result name parameters;
#include "runtime/platform_calls.inc"
#undef ZV_PLATFORM_CALL

// GetTickCount: milliseconds since boot, 32-bit, wrapping every 49.7 days. It
// moves only at the system timer's interrupt, in steps of 15.625 ms, so frame
// times are never taken from it (runtime/clock.h).
inline uint32_t osTickCount() { return recordTick(systemTickCount()); }

// QueryPerformanceCounter and QueryPerformanceFrequency: the high-resolution
// counter (typically 10 MHz), and its counts per second.
inline int64_t osPerformanceCounter() { return recordCounter(systemPerformanceCounter()); }
inline int64_t osPerformanceFrequency() { return recordCounterFrequency(systemPerformanceFrequency()); }

// GetForegroundWindow + GetWindowThreadProcessId: the process that owns the
// window in front, 0 when no window is in front. GetCurrentProcessId: ours.
inline uint32_t osForegroundProcessId() { return recordForegroundProcess(systemForegroundProcessId()); }
inline uint32_t osCurrentProcessId() { return recordProcessId(systemCurrentProcessId()); }

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

// The longest path Windows takes, in UTF-16 units, and the bytes its UTF-8
// form can need (three per unit; a surrogate pair's four bytes cover two).
constexpr uint32_t kMaxPathUnits = 32768;
constexpr uint32_t kMaxPathBytes = 3 * kMaxPathUnits;

// GetModuleFileNameW(no module): the host executable's full path as UTF-8,
// NUL-terminated and cut to size. Returns the length written. (The ANSI
// variant turns every character outside the system's code page into "?".)
uint32_t osExecutablePath(char* buffer, uint32_t size);

// GetFileAttributesW: kNoFileAttributes when nothing exists at the path.
constexpr uint32_t kNoFileAttributes = 0xFFFFFFFFu;
uint32_t osFileAttributes(const char* path);

// CreateFileW(write, no sharing, CREATE_NEW) + WriteFile + CloseHandle: writes a
// new file only when none exists. True when the file was made and every byte
// written; false in a folder the player may not write to.
bool osCreateNewFile(const char* path, const void* bytes, uint32_t size);

// GetPrivateProfileStringW / WritePrivateProfileStringW, with the section, key
// and texts as UTF-8. Windows keeps a file's own encoding: the settings file,
// being ASCII, keeps exactly the bytes the ANSI functions would give it. The
// write is false when the file could not be written.
uint32_t osReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                             uint32_t size, const char* path);
bool osWriteProfileString(const char* section, const char* key, const char* value, const char* path);

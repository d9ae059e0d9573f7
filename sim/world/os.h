// The operating system as the plug-in sees it, modelled on a player's real
// Windows rather than an ideal one: the clocks, the keyboard and mouse buttons,
// the windows and which one is in front, XInput pads, the key presses the
// plug-in sends, the executable path and the disk that holds the game folder.
//
// The clocks. The run's time advances by each frame's length, set in
// microseconds (with an optional jitter, as a real game's frame times have).
// QueryPerformanceCounter counts it at 10 MHz. GetTickCount, on Windows, moves
// only at the system timer's interrupt: in whole steps of 15.625 ms, so its
// value goes up by 15 or 16 ms at a time, whatever the frame length. The ideal
// machine, for tests of exact tick arithmetic, counts every millisecond.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/platform.h"

namespace sim {

struct SentKey {
    uint32_t frame;
    uint8_t virtualKey;
    bool up;
    bool toGame;  // the game's window was in front and got the key's message
};

enum class Clock : uint8_t {
    Windows,  // GetTickCount in 15.625 ms steps
    Ideal,    // GetTickCount exact to the millisecond
};

// Which window is in front: the game's, another program's (a chat, a browser),
// or none at all (the desktop being switched, a lock screen).
enum class Front : uint8_t { Game, Other, None };

constexpr uint64_t kCounterHz = 10'000'000;           // QueryPerformanceFrequency on current Windows
constexpr uint64_t kTimerInterrupt = 156'250;         // the system timer's period, counter units (15.625 ms)
constexpr uint32_t kGameProcessId = 0x1F40;           // GetCurrentProcessId in the game
constexpr uint32_t kOtherProcessId = 0x2A3C;          // the process of the other window

struct Os {
    // Time, in counter units (100 ns) since the first frame.
    uint64_t elapsed = 0;
    uint32_t startTick = 0;     // GetTickCount at the first frame
    uint64_t frameUs = 16'000;      // the next frames' nominal length, microseconds (a test may jump hours)
    uint64_t lastFrameUs = 16'000;  // the length of the frame being played, jitter included
    uint32_t jitterPercent = 0;     // each frame's length varies by up to this share, either way
    uint64_t jitterState = 0x9E3779B97F4A7C15ull;
    Clock clock = Clock::Windows;
    int64_t counterSkew = 0;                 // added to the counter: a counter that jumps or steps back
    int64_t counterFrequency = kCounterHz;   // QueryPerformanceFrequency's answer

    std::string exePath;   // GetModuleFileNameW(no module), as UTF-8
    std::string diskRoot;  // host folder that stands in for the game folder
    bool folderReadOnly = false;  // the game folder refuses every write (Program Files, not elevated)

    Front front = Front::Game;
    std::array<bool, 256> keyDown{};      // keys and mouse buttons the player holds
    std::array<bool, 256> injectedDown{}; // keys down by keybd_event
    std::array<bool, 4> padConnected{};
    std::array<PadState, 4> pads{};       // XInputGetState per slot
    std::array<uint64_t, 4> emptySlotCalls{};  // XInputGetState on a slot with no controller
    std::vector<SentKey> sentKeys;        // keybd_event, in order

    uint64_t fileOperations = 0;       // every file call the plug-in made
    uint64_t clockReads = 0;           // GetTickCount and QueryPerformanceCounter calls
};
extern Os os;

// Keyboard helpers for scripts and tests.
void holdKey(int virtualKey);
void releaseKey(int virtualKey);
void tapKey(int virtualKey, int heldFrames = 1);  // down for some frames, then up for one

// The host path that a Windows path of the plug-in's lands on.
std::string hostPath(const std::string& windowsPath);

// The run's clocks.
uint32_t gameMilliseconds();   // the start tick plus every whole millisecond since the first frame
uint32_t windowsTickCount();   // GetTickCount as the configured clock answers it
void advanceFrame();           // the clocks move on by the next frame's length
float frameMilliseconds();     // the length of the frame being played

// The operating-system calls (runtime/platform_calls.inc) as the simulated
// system answers them. The Linux build's platform layer calls these; under Wine
// the host points the release binary's imports at them.
#define ZV_PLATFORM_CALL(result, name, simulatorName, parameters, arguments) result simulatorName parameters;
#include "runtime/platform_calls.inc"
#undef ZV_PLATFORM_CALL

}  // namespace sim

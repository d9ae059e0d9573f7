// The operating system as the plug-in sees it: the tick counter, the keyboard
// and mouse buttons, XInput pads, the key presses it sends, the executable path
// and the disk that holds the game folder.
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
};

struct Os {
    uint32_t now = 0;      // GetTickCount
    uint32_t frameMs = 16;
    std::string exePath;   // GetModuleFileNameA(no module)
    std::string diskRoot;  // host folder that stands in for the game folder

    std::array<bool, 256> keyDown{};   // GetAsyncKeyState: held keys and mouse buttons
    std::array<bool, 4> padConnected{};
    std::array<PadState, 4> pads{};    // XInputGetState per slot
    std::vector<SentKey> sentKeys;     // keybd_event, in order

    uint64_t fileOperations = 0;       // every file call the plug-in made
    uint64_t clockReads = 0;           // GetTickCount calls
};
extern Os os;

// Keyboard helpers for scripts and tests.
void holdKey(int virtualKey);
void releaseKey(int virtualKey);
void tapKey(int virtualKey, int heldFrames = 1);  // down for some frames, then up for one

// The host path that a Windows path of the plug-in's lands on.
std::string hostPath(const std::string& windowsPath);

// GetTickCount, GetAsyncKeyState, keybd_event and XInputGetState as the
// simulated system answers them. The Linux build's platform layer calls these;
// under Wine the host points the release binary's imports at them.
uint32_t tickCount();
int16_t asyncKeyState(int virtualKey);
void keyEvent(uint8_t virtualKey, uint32_t flags);
uint32_t padState(uint32_t slot, PadState* state);

}  // namespace sim

// The post-processing injector in the game's process, as it takes its keys:
// from the game's window messages, which the game pumps once a frame (at the
// start, before the scripts run) or, on a slow game, only every few frames. On
// a key-down message it sets the key's state to 0x88 (down, and changed since
// the last present), on a key-up to 0x08. At each present, after the frame, a
// shortcut counts as pressed where (state & 0x88) == 0x88 and the modifier keys
// are exactly the shortcut's own (none, for the lens effect on F10); then every
// 0x08 is cleared. A down and an up pumped together read as a bare release.
//
// Its lens effect on F10 starts on, as a player's preset keeps it.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace sim {

struct KeyMessage {
    uint8_t virtualKey;
    bool up;
};

struct Injector {
    uint32_t pumpEvery = 1;               // the game pumps its messages every this many frames
    std::vector<KeyMessage> queue;        // posted to the game's window, not yet pumped
    std::array<uint8_t, 256> keys{};      // 0x80 down, 0x08 changed since the last present
    bool lensOn = true;
    std::vector<uint32_t> lensPressFrames;  // the frames whose present toggled the lens
};
extern Injector injector;

void postKeyMessage(uint8_t virtualKey, bool up);  // a key message for the game's window

}  // namespace sim

#include "sim/world/injector.h"

#include "runtime/virtual_keys.h"
#include "sim/sim.h"
#include "sim/world/os.h"

namespace sim {

Injector injector;

namespace {

constexpr uint8_t kDown = 0x80;
constexpr uint8_t kChanged = 0x08;
constexpr int kLensKey = kVkF10;
// SHIFT, CTRL and ALT, then their left and right keys (VK_LSHIFT to VK_RMENU).
constexpr int kModifierKeys[] = {kVkShift, kVkControl, kVkAlt, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5};

void pumpMessages() {
    const uint32_t every = injector.pumpEvery > 0 ? injector.pumpEvery : 1;
    if (frameIndex() % every != 0) return;
    for (const KeyMessage& m : injector.queue) injector.keys[m.virtualKey] = m.up ? kChanged : kDown | kChanged;
    injector.queue.clear();
}

// The modifiers as the game's window sees them: the player's own keys, which
// reach it only while it is in front, and any the plug-in holds down.
bool modifierDown() {
    for (int key : kModifierKeys) {
        if (injector.keys[key] & kDown) return true;
        if (os.front == Front::Game && os.keyDown[key]) return true;
    }
    return false;
}

void present() {
    if ((injector.keys[kLensKey] & (kDown | kChanged)) == (kDown | kChanged) && !modifierDown()) {
        injector.lensOn = !injector.lensOn;
        injector.lensPressFrames.push_back(frameIndex());
    }
    for (uint8_t& state : injector.keys) state &= static_cast<uint8_t>(~kChanged);
}

const FrameStep pump(Phase::BeforeScripts, -100, pumpMessages);
const FrameStep presentStep(Phase::AfterScripts, 1000, present);

}  // namespace

void postKeyMessage(uint8_t virtualKey, bool up) { injector.queue.push_back({virtualKey, up}); }

}  // namespace sim

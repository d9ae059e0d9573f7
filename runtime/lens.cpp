// The lens sync's F10 presses, typed the way a player types them.
//
// The injector reads keys from the game's window messages, which the game pumps
// once a frame (or less often), and counts a press once per frame, at the
// present, only where the key went down since the last present and is still
// down, with exactly the modifiers its binding has. A down and an up sent in the
// same frame reach it in one pump and read as a bare release: no press. So F10
// goes down, stays down for a few frames and some milliseconds, then comes up;
// and a press starts only while the game's window is in front (keys go to the
// window in front) and no SHIFT, CTRL or ALT is held.
#include "runtime/input.h"
#include "runtime/platform.h"
#include "runtime/runtime.h"
#include "runtime/virtual_keys.h"

namespace {

constexpr uint32_t kHoldMs = 50;      // F10 stays down at least this long, milliseconds...
constexpr uint32_t kHoldFrames = 2;   // ...and this many passes, so a pump sees the down alone
constexpr int kModifierKeys[] = {kVkShift, kVkControl, kVkAlt};

// Start-up takes the injector's lens effect to be on, so a first run with the
// switch off sends one press.
int32_t lastSentLensState = 1;
uint32_t pressesWaiting = 0;  // presses owed to the injector, sent one at a time, in order
uint8_t f10Down = 0;          // 1 from our key-down until our key-up
uint32_t f10DownTick = 0;
uint32_t f10PassesDown = 0;

bool modifierHeld() {
    for (int key : kModifierKeys)
        if (isKeyDown(key)) return true;
    return false;
}

void startWaitingPress() {
    if (f10Down || pressesWaiting == 0 || !gameInFront || modifierHeld()) return;
    osKeyEvent(kVkF10, 0);
    f10Down = 1;
    f10DownTick = frameTick;
    f10PassesDown = 0;
    --pressesWaiting;
}

}  // namespace

void syncLensEffect(uint8_t bodycamMaster) {
    if (bodycamMaster == lastSentLensState) return;
    ++pressesWaiting;
    lastSentLensState = bodycamMaster;
    startWaitingPress();
}

void updateLensKey() {
    if (!f10Down) return startWaitingPress();
    ++f10PassesDown;
    if (f10PassesDown < kHoldFrames || frameTick - f10DownTick < kHoldMs) return;
    osKeyEvent(kVkF10, kKeyEventKeyUp);
    f10Down = 0;  // the next press waits for the next pass
}

bool lensHoldsKey(int virtualKey) { return virtualKey == kVkF10 && f10Down; }

void releaseLensKey() {
    if (!f10Down) return;
    osKeyEvent(kVkF10, kKeyEventKeyUp);
    f10Down = 0;
}

// The plug-in's spine: entry routine, script main, the per-frame pass and the
// lens sync, plus the menu state that the menu writes and the rest reads.
#pragma once
#include <cstdint>

// The millisecond clock (runtime/clock.h) read once at the top of each pass;
// every debounce and frame time of that pass compares against this one value.
// Never 0, so a tick stored from it is never mistaken for the "none" that 0
// stands for.
extern uint32_t frameTick;

// Seconds from lastTick to this pass's tick, at most maxDt; firstDt when lastTick
// is 0 (none yet). lastTick becomes this pass's tick.
inline float secondsSinceLast(uint32_t& lastTick, float firstDt, float maxDt) {
    float dt = lastTick != 0 ? static_cast<float>(frameTick - lastTick) * 0.001f : firstDt;
    lastTick = frameTick;
    return dt < maxDt ? dt : maxDt;
}

// The hook calls this once on its script thread; it never returns.
void scriptMain();

// Presses F10 when BodycamMaster differs from the state last sent, so that an
// injector's lens effect bound to F10 follows the switch. A press goes down at
// once when it can and comes up some passes later (updateLensKey); presses that
// follow wait their turn.
void syncLensEffect(uint8_t bodycamMaster);
void updateLensKey();            // once per pass: lets F10 up when it has been down long enough, starts the next
bool lensHoldsKey(int virtualKey);  // F10 is down by the plug-in's own press
void releaseLensKey();           // at unload: F10 never stays down

// A feed notification: the game's three calls, the text starting
// "~o~Zentravisor~s~ - ".
void postNotification(const char* text);

// Shared menu state: written only by the menu controller.
constexpr int kMenuRowCount = 89;
struct MenuShared {
    uint8_t open;             // 1 while the menu is open
    uint8_t closing;          // 1 while the closing animation runs; never with open
    float openProgress;       // 0..1 through the open/close animation
    int32_t openSection;      // table index of the listed Section row, -1 = section list
    int32_t selectable[kMenuRowCount];  // table indices the cursor can land on
    int32_t selectableCount;
    int32_t cursor;           // position within selectable, not a table index
    uint8_t keyCapture;       // 1 while the next key becomes MenuKeyVK
    uint8_t padCapture;       // 1 while the next controller button becomes PadOpenBtn
};
extern MenuShared menuShared;

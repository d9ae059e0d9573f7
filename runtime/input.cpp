#include "runtime/input.h"

#include "runtime/platform.h"
#include "runtime/runtime.h"

uint8_t gameInFront = 1;

namespace {
uint32_t ownProcessId = 0;  // 0 until first asked
}  // namespace

void readGameFocus() {
    if (ownProcessId == 0) ownProcessId = osCurrentProcessId();
    const uint32_t front = osForegroundProcessId();
    // No window in front (a lock screen, a window being switched) is not another
    // program's: the game keeps its keys.
    gameInFront = front == 0 || front == ownProcessId ? 1 : 0;
}

bool isKeyDown(int virtualKey) {
    if (!gameInFront || lensHoldsKey(virtualKey)) return false;
    return osAsyncKeyState(virtualKey) < 0;
}

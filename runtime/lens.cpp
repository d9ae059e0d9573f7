#include "runtime/platform.h"
#include "runtime/runtime.h"

namespace {
constexpr uint8_t kVirtualKeyF10 = 0x79;
// Start-up takes the injector's lens effect to be on, so a first run with the
// switch off sends one press.
int32_t lastSentLensState = 1;
}  // namespace

void syncLensEffect(uint8_t bodycamMaster) {
    if (bodycamMaster == lastSentLensState) return;
    osKeyEvent(kVirtualKeyF10, 0);
    osKeyEvent(kVirtualKeyF10, kKeyEventKeyUp);
    lastSentLensState = bodycamMaster;
}

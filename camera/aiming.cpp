#include "camera/aiming.h"

#include "runtime/control_queries.h"
#include "runtime/controls.h"
#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "runtime/input.h"
#include "runtime/platform.h"
#include "runtime/runtime.h"
#include "runtime/virtual_keys.h"
#include "settings/settings.h"
#include "weapon/weapon.h"

uint8_t adsActive;
float adsBlend;
uint8_t sniperView;

namespace {

constexpr float kWheelTurned = 0.5f;       // summed normal of the enabled and disabled queries
constexpr float kZoomRate = 5.0f;          // per second
constexpr float kZoomDtCap = 0.1f;         // seconds
constexpr float kZoomSnap = 0.0005f;
constexpr uint32_t kSniperHoldMs = 150;    // aim this long before the game's scope view takes over
constexpr uint8_t kTriggerAiming = 60;     // left trigger above this counts as aiming
constexpr uint32_t kPadConnected = 0;      // XInputGetState success
constexpr uint32_t kPadSlots = 4;
// An empty slot is asked again only after this long: XInput's call on an empty
// slot is slow (about a millisecond), and a controller plugged in is then used
// within a second.
constexpr uint32_t kEmptySlotRetryMs = 1000;

uint8_t adsLatch;           // the ADS choice; survives the end of an aim
uint8_t lookBehindWasDown;  // the look-behind control in the previous aiming frame
uint32_t adsTick;           // previous zoom frame, 0 = none
uint32_t sniperAimStartTick;  // 0 = no sniper aim in progress

struct PadSlot {
    uint8_t empty;        // the last call answered "not connected"
    uint32_t emptyTick;   // when it did
};
PadSlot padSlots[kPadSlots];

float wheelAmount(int control) {
    return game::getControlNormal(kControlGroupPlayer, control) +
           game::getDisabledControlNormal(kControlGroupPlayer, control);
}

// A slot that was empty within the last second reads as empty without a call.
bool padTriggerHeld(uint32_t slot) {
    PadSlot& pad = padSlots[slot];
    if (pad.empty && frameTick - pad.emptyTick < kEmptySlotRetryMs) return false;
    PadState state{};
    const bool connected = osPadState(slot, &state) == kPadConnected;
    pad.empty = connected ? 0 : 1;
    pad.emptyTick = frameTick;
    return connected && state.leftTrigger > kTriggerAiming;
}

// The aim input read straight from the devices, so that it counts even while
// the game's own aim control is not routed: a pad's left trigger (slots 0 to
// 2, then slot 3) or the right mouse button.
bool sniperAimInput() {
    for (uint32_t slot = 0; slot + 1 < kPadSlots; ++slot)
        if (padTriggerHeld(slot)) return true;
    return isKeyDown(kVkRightMouse) || padTriggerHeld(kPadSlots - 1);
}

bool holdsSniperWeapon(Ped ped) {
    Hash weapon = currentWeapon(ped);
    return isArmed(weapon) && weaponGroup(weapon) == weaponNameHash(WeaponName::GroupSniper);
}

}  // namespace

void updateAdsLatch(const FrameContext&) {
    if (!CrosshairOnlyADS && !ADSGameView) {
        adsActive = 0;
        return;
    }
    if (!isPressedDisabledFirst(kControlGroupPlayer, kControlAim)) {
        adsActive = 0;
        lookBehindWasDown = 0;
        return;
    }
    float up = wheelAmount(kControlWheelForward);
    float down = wheelAmount(kControlWheelBack);
    if (up > kWheelTurned || down > kWheelTurned) adsLatch = down <= kWheelTurned;  // back wins
    bool lookBehind = isPressedEnabledFirst(kControlGroupPlayer, kControlLookBehind);
    if (lookBehind && !lookBehindWasDown) adsLatch = !adsLatch;
    lookBehindWasDown = lookBehind;
    adsActive = adsLatch;
}

void updateSniperDetection(const FrameContext& ctx) {
    // The weapon first: both are reads, and a player without a sniper weapon in
    // hand then costs no controller calls at all.
    if (ctx.inVehicle || !SniperGameView || !holdsSniperWeapon(ctx.ped) || !sniperAimInput()) {
        sniperAimStartTick = 0;
        sniperView = 0;
        return;
    }
    if (sniperAimStartTick == 0) sniperAimStartTick = frameTick;
    if (frameTick - sniperAimStartTick >= kSniperHoldMs) sniperView = 1;
}

void updateAdsZoom() {
    float dt = secondsSinceLast(adsTick, 0.0f, kZoomDtCap);
    float target = adsActive && ADSGameView ? 1.0f : 0.0f;
    adsBlend = easeTowards(adsBlend, target, kZoomRate, dt);
    if (adsBlend < kZoomSnap) adsBlend = 0.0f;
}

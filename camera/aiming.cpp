#include "camera/aiming.h"

#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "runtime/platform.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "weapon/weapon.h"

uint8_t adsActive;
float adsBlend;
uint8_t sniperView;

namespace {

constexpr int kAim = 25;
constexpr int kLookBehind = 26;
constexpr int kWheelForward = 241;
constexpr int kWheelBack = 242;
constexpr float kWheelTurned = 0.5f;       // summed normal of the enabled and disabled queries
constexpr float kZoomRate = 5.0f;          // per second
constexpr float kZoomDtCap = 0.1f;         // seconds
constexpr float kZoomSnap = 0.0005f;
constexpr uint32_t kSniperHoldMs = 150;    // aim this long before the game's scope view takes over
constexpr uint8_t kTriggerAiming = 60;     // left trigger above this counts as aiming
constexpr int kRightMouseButton = 2;       // virtual key
constexpr uint32_t kPadConnected = 0;      // XInputGetState success
constexpr uint32_t kPadSlots = 4;

uint8_t adsLatch;           // the ADS choice; survives the end of an aim
uint8_t lookBehindWasDown;  // control 26 in the previous aiming frame
uint32_t adsTick;           // previous zoom frame, 0 = none
uint32_t sniperAimStartTick;  // 0 = no sniper aim in progress

bool controlHeld(int control) {
    return game::isDisabledControlPressed(0, control) || game::isControlPressed(0, control);
}

float wheelAmount(int control) {
    return game::getControlNormal(0, control) + game::getDisabledControlNormal(0, control);
}

bool padTriggerHeld(uint32_t slot) {
    PadState state{};
    return osPadState(slot, &state) == kPadConnected && state.leftTrigger > kTriggerAiming;
}

// The aim input read straight from the devices, so that it counts even while
// the game's own aim control is not routed: a pad's left trigger (slots 0 to
// 2, then slot 3) or the right mouse button.
bool sniperAimInput() {
    for (uint32_t slot = 0; slot + 1 < kPadSlots; ++slot)
        if (padTriggerHeld(slot)) return true;
    return osAsyncKeyState(kRightMouseButton) < 0 || padTriggerHeld(kPadSlots - 1);
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
    if (!controlHeld(kAim)) {
        adsActive = 0;
        lookBehindWasDown = 0;
        return;
    }
    float up = wheelAmount(kWheelForward);
    float down = wheelAmount(kWheelBack);
    if (up > kWheelTurned || down > kWheelTurned) adsLatch = down <= kWheelTurned;  // back wins
    bool lookBehind = game::isControlPressed(0, kLookBehind) || game::isDisabledControlPressed(0, kLookBehind);
    if (lookBehind && !lookBehindWasDown) adsLatch = !adsLatch;
    lookBehindWasDown = lookBehind;
    adsActive = adsLatch;
}

void updateSniperDetection(const FrameContext& ctx) {
    if (ctx.inVehicle || !SniperGameView || !sniperAimInput() || !holdsSniperWeapon(ctx.ped)) {
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

// A player's session for camera tests: the plug-in booted and started, the
// settings at a known baseline, the game showing its own first-person view.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "runtime/runtime.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/scene.h"
#include "sim/world/vehicles.h"
#include "tests/play.h"

namespace camtest {

using play::cam;

constexpr int kHideHead = 166;

// Each of these switches off.
inline void switchOff(std::initializer_list<uint8_t*> switches) {
    for (uint8_t* on : switches) *on = 0;
}

// The bodycam's aim features off: the view is the gameplay rotation.
inline void bodycamAimOff() { switchOff({&WeaponLead, &SmoothFollow, &Deadzone, &Hand3D, &AimSway}); }

// Every effect off, on top of the reset values: the camera should sit at the
// head plus the offsets.
inline void plainSettings() {
    FOV = 70.0f;
    Height = Side = Forward = 0.0f;
    switchOff({&HeadBob, &CrouchLower, &AutoTurn, &BodycamMaster, &RecoilShake, &BodycamRecoil, &SniperGameView,
               &ShowHead});
    bodycamAimOff();
}

// Booted, start-up done (it runs in the first frame, so settings are set after
// it), baseline settings, the game in its first-person view.
inline void startSession(const sim::Options& options = {}) {
    play::boot(options);
    plainSettings();
    sim::putGameInFirstPerson();
}

inline int renderCallsSince(size_t from) { return static_cast<int>(sim::rendering.calls.size() - from); }

}  // namespace camtest

// A player's session for camera tests: the plug-in booted and started, the
// settings at a known baseline, the game showing its own first-person view.
#pragma once
#include <gtest/gtest.h>

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

// The bodycam's aim features off: the view is the gameplay rotation.
inline void bodycamAimOff() {
    WeaponLead = 0;
    SmoothFollow = 0;
    Deadzone = 0;
    Hand3D = 0;
    AimSway = 0;
}

// Every effect off, on top of the reset values: the camera should sit at the
// head plus the offsets.
inline void plainSettings() {
    FOV = 70.0f;
    Height = 0.0f;
    Side = 0.0f;
    Forward = 0.0f;
    HeadBob = 0;
    CrouchLower = 0;
    AutoTurn = 0;
    BodycamMaster = 0;
    bodycamAimOff();
    RecoilShake = 0;
    BodycamRecoil = 0;
    SniperGameView = 0;
    ShowHead = 0;
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

// A player's session for camera tests: the plug-in booted and started, the
// settings at a known baseline, the game showing its own first-person view.
#pragma once
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/runtime.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/scene.h"
#include "sim/world/vehicles.h"

namespace camtest {

constexpr int kHideHead = 166;

// Every effect off: the camera should sit at the head plus the offsets.
inline void plainSettings() {
    resetAllSettings();
    FOV = 70.0f;
    Height = 0.0f;
    Side = 0.0f;
    Forward = 0.0f;
    HeadBob = 0;
    CrouchLower = 0;
    AutoTurn = 0;
    BodycamMaster = 0;
    WeaponLead = 0;
    SmoothFollow = 0;
    Deadzone = 0;
    Hand3D = 0;
    AimSway = 0;
    RecoilShake = 0;
    BodycamRecoil = 0;
    SniperGameView = 0;
    ShowHead = 0;
}

// Booted, start-up done (it runs in the first frame, so settings are set after
// it), baseline settings, the game in its first-person view.
inline void startSession(const sim::Options& options = {}) {
    sim::boot(options);
    sim::frame();
    plainSettings();
    sim::putGameInFirstPerson();
}

inline void pressV() { sim::tapKey(sim::kViewKey); }

// Engages from the game's first-person view and lets the ease-in finish.
inline void engageAndSettle() {
    pressV();
    ASSERT_TRUE(sim::scriptCamRendering());
    sim::runFor(600);
}

inline const sim::ScriptCam& cam() {
    const sim::ScriptCam* c = sim::liveScriptCam();
    if (!c) sim::fail("no scripted camera exists");
    return *c;
}

inline int renderCallsSince(size_t from) { return static_cast<int>(sim::rendering.calls.size() - from); }

inline float wrap180(float a) { return std::remainder(a, 360.0f); }

}  // namespace camtest

// Playing the plug-in in the simulator as a player does, frame by frame: boot
// it, press keys for a stated number of frames, switch the view on, open the
// menu, walk. Every play scenario drives its input through these verbs, so a
// press lasts the same number of frames wherever a test makes it.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "runtime/runtime.h"
#include "runtime/virtual_keys.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"
#include "sim/world/player.h"

namespace play {

// The clock's usual start, far from the 32-bit tick wrap; tests that play a
// timer across the wrap play it from here as well.
inline const uint32_t kFarFromTheWrap = sim::Options{}.startTick;

// ---- booting ----------------------------------------------------------------

// The plug-in loaded and its start-up frame played: the settings file written
// when there was none, and loaded.
inline void bootAsLoaded(const sim::Options& options = {}) {
    sim::boot(options);
    sim::frame();
}

// As bootAsLoaded, then every setting at its reset value. What a test sets
// after this holds.
inline void boot(const sim::Options& options = {}) {
    bootAsLoaded(options);
    resetAllSettings();
}

// As boot, with the controller button unbound as the file of a first start has
// it: only the menu key opens the menu.
inline void bootWithPadUnbound(const sim::Options& options = {}) {
    play::boot(options);
    PadOpenBtn = 0;
}

// ---- keys -------------------------------------------------------------------

// Down for `frames` frames, then up; no frame is played with it up.
inline void press(int key, int frames) {
    sim::holdKey(key);
    sim::frames(frames);
    sim::releaseKey(key);
}

// Down for `heldFrames` frames, then up for one frame.
inline void tap(int key, int heldFrames = 1) { sim::tapKey(key, heldFrames); }

// V tapped: down for one frame, up for one.
inline void tapV() { tap(sim::kViewKey); }

// How long a menu press leaves its key up: the next press is past every
// debounce of the menu's keys and of V.
constexpr uint32_t kPastDebounceMs = 300;

// A key as the menu takes it, `times` over: down for one frame, then up while
// kPastDebounceMs pass.
inline void menuPress(int key, int times = 1) {
    for (int k = 0; k < times; ++k) {
        press(key, 1);
        sim::runFor(kPastDebounceMs);
    }
}

// ---- controls ---------------------------------------------------------------

// One notch of a mouse-wheel control: at full for one frame, then at rest.
inline void wheelNotch(int control) {
    sim::setControlNormal(control, 1.0f);
    sim::frame();
    sim::setControlNormal(control, 0.0f);
}

// ---- the view ---------------------------------------------------------------

// V tapped in the game's first-person view: the plug-in's camera renders.
inline void engage() {
    tapV();
    ASSERT_TRUE(sim::scriptCamRendering()) << "the plug-in's camera should render after V";
}

// Engaged, then 600 ms: the 500 ms ease-in is over.
inline void engageAndSettle() {
    engage();
    sim::runFor(600);
}

// The live scripted camera; the run fails when there is none.
inline const sim::ScriptCam& cam() {
    const sim::ScriptCam* c = sim::liveScriptCam();
    if (!c) sim::fail("no scripted camera exists");
    return *c;
}

// ---- the menu ---------------------------------------------------------------

// F6 pressed: the menu is open and its open animation over.
inline void openMenu() {
    menuPress(kVkF6);
    ASSERT_EQ(menuShared.open, 1);
    ASSERT_EQ(menuShared.openProgress, 1.0f);
}

// ---- walking ----------------------------------------------------------------

// From the next frame on the player moves forward at this pace whatever the
// walking cap says: 0 stands still, 1 walks, 2 jogs, 3 sprints.
inline void walk(float moveRatio) { sim::player.forcedMoveRatio = moveRatio; }

// ---- what the plug-in sent --------------------------------------------------

// F10 presses the lens sync has sent so far: its key-downs.
inline int lensPressesSent() {
    int downs = 0;
    for (const sim::SentKey& k : sim::os.sentKeys) downs += k.virtualKey == kVkF10 && !k.up ? 1 : 0;
    return downs;
}

}  // namespace play

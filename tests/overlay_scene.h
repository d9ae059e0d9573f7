// A bodycam scene for the overlay and audio scenarios: the plug-in booted with
// settings set explicitly, the player on foot in the game's first-person view,
// the plug-in's view switched on with V, a weapon in hand, and a wall ahead.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "camera/camera.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/shapetests.h"
#include "sim/world/weapons.h"
#include "tests/play.h"

namespace scene {

constexpr float kWallY = 20.0f;  // the wall's near face, metres north of the player

// Boots, loads the defaults, then resets every setting and switches the
// bodycam on; tests adjust further settings after this.
inline void bootWithBodycam(const sim::Options& options = {}) {
    play::boot(options);
    BodycamMaster = 1;
    BulletTracers = 1;
    SniperGameView = 0;  // camera switches ease, as most players have them
}

// The game's first-person view, then V: the plug-in's camera renders.
inline void engage() {
    sim::putGameInFirstPerson();
    sim::frame();
    play::engage();
    sim::frames(2);
    ASSERT_EQ(cameraRendering, 1) << "the plug-in's camera should render after V";
}

// A wall across the view at y = kWallY (the player stands at the origin
// looking north), 40 m wide and 20 m high.
inline void buildWall(float nearY = kWallY) { sim::addSolidBox({0.0f, nearY + 0.5f, 5.0f}, {40.0f, 1.0f, 20.0f}); }

// The usual scene: bodycam on, wall at 20 m, a weapon in hand, engaged.
inline void bodycamWith(const std::string& weapon, const sim::Options& options = {}) {
    bootWithBodycam(options);
    buildWall();
    sim::equipWeapon(weapon);
    engage();
}

inline const sim::Probe& lastProbe() {
    if (sim::collision.probes.empty()) sim::fail("no probe was started");
    return sim::collision.probes.back();
}

}  // namespace scene

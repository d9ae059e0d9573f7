// The simulated world the camera plays in: the game's own view cycle on V, the
// ped's pace under a script cap, and scripted-camera rendering with its ease.
#include <gtest/gtest.h>

#include "runtime/natives.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "tests/play.h"

namespace {

TEST(SimWorld, ViewKeyCyclesTheGameViewOnTheRisingEdge) {
    play::bootAsLoaded();
    EXPECT_EQ(sim::gameCameras.pedViewMode, 0);
    sim::holdKey(sim::kViewKey);
    sim::frames(5);  // held: one step only
    EXPECT_EQ(sim::gameCameras.pedViewMode, 1);
    sim::releaseKey(sim::kViewKey);
    sim::frame();
    play::tapV();
    play::tapV();
    EXPECT_EQ(sim::gameCameras.pedViewMode, sim::kFirstPersonView);  // from here on V is the plug-in's
}

TEST(SimWorld, LookInputTurnsTheGameplayCameraAndMovesThePed) {
    sim::boot();
    sim::setControlNormal(kControlLookLeftRight, 1.0f);  // look right
    sim::frames(10);
    EXPECT_NEAR(sim::gameCameras.rotation.z, -10 * 0.016f * 240.0f, 1e-3f);
    sim::setControlNormal(kControlLookLeftRight, 0.0f);
    sim::setControlNormal(kControlMoveForward, 1.0f);
    sim::frames(10);
    EXPECT_FLOAT_EQ(sim::player.desiredMoveRatio, 2.0f);  // the game runs by default
    sim::holdControl(kControlSprint);
    sim::frame();
    EXPECT_FLOAT_EQ(sim::player.desiredMoveRatio, 3.0f);
}

}  // namespace

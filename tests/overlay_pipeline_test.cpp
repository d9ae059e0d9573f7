// The overlays run only in passes where the plug-in's camera renders.
#include <gtest/gtest.h>

#include "overlay/tracers.h"
#include "overlay_scene.h"

namespace {

// Natives only the overlays call.
constexpr uint64_t kOverlayNatives[] = {
    native::kGetEntityHealth,               // damage glitch
    native::kAnimpostfxPlay,                // damage glitch
    native::kDrawLine,                      // tracers
    native::kDrawRect,                      // crosshair; the menu is closed
    native::kGetScreenCoordFromWorldCoord,  // crosshair
};

size_t overlayCallsLastFrame() {
    size_t n = 0;
    for (uint64_t h : kOverlayNatives) n += sim::frameCalls(h).size();
    return n;
}

TEST(OverlayPipeline, SkippedEntirelyInPassesWithoutTheCamera) {
    scene::bootWithBodycam();
    DamageGlitch = 1;
    scene::buildWall();
    sim::equipWeapon("WEAPON_PISTOL");
    spawnTracer(0.0f, 0.0f, 2.0f, 0.0f, 1000.0f, 2.0f);
    for (int k = 0; k < 10; ++k) {
        sim::frame();
        EXPECT_EQ(overlayCallsLastFrame(), 0u) << "not engaged";
    }

    scene::engage();
    sim::frame();
    EXPECT_GT(overlayCallsLastFrame(), 0u);
    spawnTracer(0.0f, 0.0f, 2.0f, 0.0f, 1000.0f, 2.0f);
    sim::playerPed().health -= 10;
    sim::killPlayer();  // the gate stops the camera in this very pass
    for (int k = 0; k < 10; ++k) {
        sim::frame();
        EXPECT_EQ(overlayCallsLastFrame(), 0u) << "dead, frame " << k;
    }
}

}  // namespace

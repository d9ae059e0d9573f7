// The bundled play sessions still show what the report says they show: each
// plays to the end, the screen never gets a non-finite pose, and the motion the
// report's captions point at actually happens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "bundled_sessions.h"
#include "camera/aiming.h"
#include "camera/camera.h"
#include "camera/headbob.h"
#include "camera/onfoot.h"
#include "camera/rig.h"
#include "camera/vehicle.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "sim/scenario.h"
#include "sim/world/cameras.h"
#include "sim/world/player.h"
#include "sim/world/weapons.h"
#include "weapon/bodycam_aim.h"
#include "weapon/recoil.h"

namespace {

// The largest magnitude each channel reached, and how often things happened.
struct Seen {
    int frames = 0, rendering = 0, handedBack = 0, nonFinite = 0, shots = 0, menuOpen = 0;
    float bob = 0, recoil = 0, ads = 0, forwardShift = 0, freeLook = 0, crouch = 0, heading = 0, yawLag = 0;
    float lastYawLag = 0;  // gameplay yaw minus the camera's, at the last on-foot frame
    bool sniper = false;
};

float biggest(float a, float b) { return std::max(a, std::fabs(b)); }

void observe(void* context, const scenario::FrameInfo&) {
    Seen& s = *static_cast<Seen*>(context);
    const sim::RenderedFrame& f = sim::lastRendered();
    for (float v : {f.position.x, f.position.y, f.position.z, f.rotation.x, f.rotation.y, f.rotation.z, f.fov})
        if (!std::isfinite(v)) ++s.nonFinite;
    ++s.frames;
    s.rendering += cameraRendering;
    s.handedBack += engaged && !cameraRendering;
    s.shots += sim::weapons.shotThisFrame;
    s.menuOpen += menuShared.open;
    s.bob = biggest(s.bob, headBob.vertical);
    s.recoil = biggest(s.recoil, recoilPitch);
    s.ads = biggest(s.ads, adsBlend);
    s.forwardShift = biggest(s.forwardShift, std::max(vehicleCam.forwardShift, motorcycleCam.forwardShift));
    s.freeLook = biggest(s.freeLook, motorcycleCam.freeLookYaw);
    s.crouch = biggest(s.crouch, crouchDrop);
    s.heading = biggest(s.heading, sim::playerPed().rotation.z);
    if (cameraRendering && sim::player.vehicle == 0) {
        s.lastYawLag = std::remainder(sim::gameCameras.rotation.z - smoothedRotation.yaw, 360.0f);
        s.yawLag = biggest(s.yawLag, s.lastYawLag);
    }
    s.sniper = s.sniper || sniperView;
}

class BundledSession : public testing::TestWithParam<std::string> {};

TEST_P(BundledSession, PlaysToTheEndAndShowsItsMotion) {
    const std::string name = GetParam();
    scenario::Scenario session;
    scenario::ParseError error;
    ASSERT_TRUE(scenario::parseFile(bundled::sessionFile(name), session, error)) << error.message;
    Seen s;
    ASSERT_TRUE(scenario::play(session, observe, &s, error)) << name << ":" << error.line << ": " << error.message;
    EXPECT_EQ(s.nonFinite, 0);
    EXPECT_GT(s.rendering, s.frames / 2) << "the plug-in's camera should be the view most of the time";

    if (name.find("walk") != std::string::npos) {
        EXPECT_GT(s.bob, 0.01f);  // centimetres of bounce
    }
    if (name.find("crouch") != std::string::npos) {
        EXPECT_NEAR(s.crouch, CrouchLowerAmount, 0.01f);
        EXPECT_GT(s.heading, 20.0f);  // the body turned
    }
    if (name.find("bodycam") != std::string::npos) {
        EXPECT_GE(s.shots, 10);
        EXPECT_GT(s.recoil, 0.5f);
        EXPECT_GT(s.yawLag, DeadzoneAngle);  // smooth follow lags on top of the deadzone in a fast turn
        EXPECT_NEAR(std::fabs(s.lastYawLag), DeadzoneAngle, 0.5f);  // and settles on the deadzone's edge
    }
    if (name.find("ads") != std::string::npos) {
        EXPECT_GT(s.ads, 0.95f);
        EXPECT_TRUE(s.sniper);
        EXPECT_GT(s.handedBack, 0);
        EXPECT_EQ(cameraRendering, 1);  // taken back after the scope
    }
    if (name.find("drive") != std::string::npos) {
        EXPECT_GT(s.forwardShift, 0.2f);
    }
    if (name.find("motorcycle") != std::string::npos) {
        EXPECT_GT(s.freeLook, 20.0f);
    }
    if (name.find("menu") != std::string::npos) {
        EXPECT_GT(s.menuOpen, 0);
        EXPECT_EQ(menuShared.open, 0);
        EXPECT_EQ(MenuKeyVK, 117);  // rebound to F7, then Reset All
    }
    if (name.find("death") != std::string::npos) {
        EXPECT_GT(s.handedBack, 60);
        EXPECT_EQ(cameraRendering, 1);  // back by itself after the respawn
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, BundledSession, testing::ValuesIn(bundled::sessionNames()), bundled::testName);

}  // namespace

// Where the on-foot camera sits and looks: the head anchor with the user's
// offsets, the gameplay rotation copied exactly, the field of view, the crouch
// drop, head hiding, and a pose that stays sane whatever the game returns.
#include <cmath>
#include <limits>

#include "camera/aiming.h"
#include "camera_session.h"

namespace {

using namespace camtest;

constexpr float kRad = 0.017453292519943295f;

TEST(Pose, WithEveryEffectOffTheCameraIsTheHeadPlusOffsetsLookingAlongTheGameplayCamera) {
    startSession();
    Side = 0.05f;
    Forward = 0.12f;
    sim::setGameplayRotation(-12.5f, 0.0f, 37.0f);
    play::engageAndSettle();
    sim::setGameplayRotation(7.25f, 1.5f, -143.0f);
    sim::frame();

    const sim::ScriptCam& c = cam();
    EXPECT_EQ(c.rotation.x, 7.25f);
    EXPECT_EQ(c.rotation.y, 1.5f);
    EXPECT_EQ(c.rotation.z, -143.0f);
    EXPECT_FLOAT_EQ(c.fov, 70.0f);
    // Side along the view's right (cos, sin), Forward along its level forward (-sin, cos).
    const Vec3 head = sim::pedHeadPosition();
    const float psi = -143.0f * kRad;
    EXPECT_NEAR(c.position.x, head.x + 0.05f * std::cos(psi) - 0.12f * std::sin(psi), 1e-5f);
    EXPECT_NEAR(c.position.y, head.y + 0.05f * std::sin(psi) + 0.12f * std::cos(psi), 1e-5f);
    EXPECT_NEAR(c.position.z, head.z, 1e-5f);
    // What the screen shows once the ease is over.
    EXPECT_EQ(sim::lastRendered().blend, 1.0f);
    EXPECT_NEAR(sim::lastRendered().position.z, head.z, 1e-5f);
}

TEST(Pose, HeightRunsAlongTheCameraUpAxis) {
    startSession();
    Height = 0.10f;
    sim::setGameplayRotation(0.0f, 0.0f, 90.0f);  // looking west, level
    play::engageAndSettle();
    Vec3 head = sim::pedHeadPosition();
    EXPECT_NEAR(cam().position.z, head.z + 0.10f, 1e-6f);

    sim::setGameplayRotation(-90.0f, 0.0f, 90.0f);  // straight down: the eye moves 0.10 m forward, not up
    sim::frame();
    head = sim::pedHeadPosition();
    EXPECT_NEAR(cam().position.x, head.x - 0.10f, 1e-6f);
    EXPECT_NEAR(cam().position.y, head.y, 1e-6f);
    EXPECT_NEAR(cam().position.z, head.z, 1e-6f);
}

TEST(Pose, TheZoomNarrowsTheFieldOfViewWithinItsRange) {
    startSession();
    ADSGameView = 1;
    ADSZoomAmount = 25.0f;
    play::engageAndSettle();
    // Aiming down sights with the zoom fully blended in.
    sim::holdControl(kControlAim);
    sim::setControlNormal(kControlWheelForward, 1.0f);
    FOV = 60.0f;
    for (int k = 0; k < 120; ++k) {
        adsBlend = 1.0f;
        sim::frame();
    }
    EXPECT_NEAR(cam().fov, 35.0f, 1e-3f);
    FOV = 35.0f;  // 35 - 25 = 10 is outside the lens's range: 30
    adsBlend = 1.0f;
    sim::frame();
    EXPECT_FLOAT_EQ(cam().fov, 30.0f);
}

TEST(Pose, CrouchingLowersTheEyeSmoothlyAndStandingRaisesItAgain) {
    startSession();
    CrouchLower = 1;
    CrouchLowerAmount = 0.3f;
    play::engageAndSettle();
    auto drop = [] { return sim::pedHeadPosition().z - cam().position.z; };
    EXPECT_NEAR(drop(), 0.0f, 1e-6f);

    sim::player.stealth = true;
    sim::frame();
    EXPECT_NEAR(drop(), 0.3f * 9.0f * 0.016f, 1e-5f);  // rate 9 per second
    sim::runFor(1500);
    EXPECT_NEAR(drop(), 0.3f, 1e-4f);

    sim::player.stealth = false;
    sim::frame();
    EXPECT_NEAR(drop(), 0.3f * (1.0f - 9.0f * 0.016f), 1e-4f);
    sim::runFor(1500);
    EXPECT_EQ(drop(), 0.0f);  // snapped to exactly zero at the end

    CrouchLower = 0;  // off: no drop at all, even crouched
    sim::player.stealth = true;
    sim::frame();
    EXPECT_EQ(drop(), 0.0f);
}

TEST(Pose, TheHeadIsHiddenOnlyWhileOurCameraIsTheView) {
    startSession();
    play::press(sim::kViewKey, 1);
    // The first frame of a new camera has no eye position yet: the head stays.
    EXPECT_TRUE(sim::scriptCamRendering());
    EXPECT_FALSE(sim::resetFlagSetLastFrame(kHideHead));
    sim::frame();
    EXPECT_TRUE(sim::resetFlagSetLastFrame(kHideHead));
    sim::runFor(500);
    EXPECT_TRUE(sim::resetFlagSetLastFrame(kHideHead));

    ShowHead = 1;
    sim::frame();
    EXPECT_FALSE(sim::resetFlagSetLastFrame(kHideHead));
    ShowHead = 0;

    // Stopped (a cutscene) or switched off: the game's views show the head.
    sim::startCutscene();
    sim::frames(5);
    EXPECT_FALSE(sim::resetFlagSetLastFrame(kHideHead));
    sim::endCutscene();
    sim::frame();
    EXPECT_FALSE(sim::resetFlagSetLastFrame(kHideHead));  // the resumed camera's first frame
    sim::frame();
    EXPECT_TRUE(sim::resetFlagSetLastFrame(kHideHead));
    sim::runFor(400);
    play::tapV();
    sim::frames(5);
    EXPECT_FALSE(sim::resetFlagSetLastFrame(kHideHead));
}

TEST(Pose, ReadingsThatAreNotNumbersHoldTheLastGoodPoseAndHugeAnglesWrap) {
    startSession();
    AutoTurn = 1;
    HeadBob = 1;
    HeadBobAmount = 1.0f;
    HeadBobSpeed = 1.0f;
    sim::setGameplayRotation(5.0f, 0.0f, 20.0f);
    play::engageAndSettle();
    HeadBob = 0;
    sim::frame();
    const sim::ScriptCam good = cam();

    // The sim fails the run on any non-finite camera or heading value; each of
    // these frames must also end (no unbounded angle loop).
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    sim::setControlNormal(kControlMoveBack, 1.0f);  // backpedalling snaps the body to the view yaw
    for (float bad : {nan, inf, -inf}) {
        sim::setGameplayRotation(bad, bad, bad);
        sim::frame();
        EXPECT_EQ(cam().rotation.x, good.rotation.x);
        EXPECT_EQ(cam().rotation.z, good.rotation.z);
        EXPECT_EQ(cam().position.z, good.position.z);
    }
    sim::setControlNormal(kControlMoveBack, 0.0f);
    sim::setGameplayRotation(5.0f, 0.0f, 20.0f);
    sim::setPedHeadLocal({nan, 0.0f, 0.65f});
    sim::frame();
    EXPECT_EQ(cam().position.x, good.position.x);
    EXPECT_EQ(cam().rotation.z, 20.0f);

    // An absurd yaw keeps the last good one, a few turns wrap; a huge head position is still a number.
    sim::setPedHeadLocal({0.0f, 0.05f, 0.65f});
    sim::setGameplayRotation(0.0f, 0.0f, 3.0e30f);
    sim::frame();
    EXPECT_GE(cam().rotation.z, -180.0f);
    EXPECT_LE(cam().rotation.z, 180.0f);
    sim::setGameplayRotation(0.0f, 0.0f, 360.0f * 3.0f + 20.0f);
    sim::frame();
    EXPECT_NEAR(cam().rotation.z, 20.0f, 1e-3f);
    sim::setPedHeadLocal({0.0f, 0.0f, 1.0e30f});
    sim::frame();
    EXPECT_TRUE(std::isfinite(cam().position.z));

    // Good readings again: the camera follows at once, with the head bob's filters unpoisoned.
    sim::setPedHeadLocal({0.0f, 0.05f, 0.65f});
    sim::setGameplayRotation(5.0f, 0.0f, 20.0f);
    HeadBob = 1;
    sim::runFor(500);
    EXPECT_NEAR(cam().position.z, good.position.z, 0.02f);
    EXPECT_NEAR(cam().rotation.z, 20.0f, 1.0f);
}

TEST(Pose, WithTheBodycamOffItsDefaultDeadzoneLeavesTheViewAlone) {
    play::boot();  // the deadzone on at 10 degrees, the bodycam that it belongs to off
    ASSERT_EQ(Deadzone, 1);
    ASSERT_EQ(DeadzoneAngle, 10.0f);
    ASSERT_EQ(BodycamMaster, 0);
    sim::putGameInFirstPerson();
    sim::setGameplayRotation(0.0f, 0.0f, 10.0f);
    play::engageAndSettle();
    sim::setGameplayRotation(-4.0f, 0.0f, 16.0f);  // a 6-degree turn, inside the box
    sim::frame();
    EXPECT_EQ(cam().rotation.z, 16.0f);
    EXPECT_EQ(cam().rotation.x, -4.0f);
}

// Position, rotation and field-of-view calls made since a point in the call log.
int poseCallsSince(size_t from) {
    int count = 0;
    for (size_t k = from; k < sim::callLog().size(); ++k) {
        const uint64_t hash = sim::callLog()[k].hash;
        count += hash == native::kSetCamCoord || hash == native::kSetCamRot || hash == native::kSetCamFov ? 1 : 0;
    }
    return count;
}

// A point in a run: the calls made, the render switches and the frames the screen showed.
struct Mark {
    size_t calls = sim::callLog().size();
    size_t renders = sim::rendering.calls.size();
    size_t screens = sim::rendering.history.size();
};

// Since the mark: nothing placed the camera, nothing asked for it to be
// rendered, and every frame showed the game's own view.
void expectNothingShownSince(const Mark& mark) {
    EXPECT_EQ(poseCallsSince(mark.calls), 0);
    EXPECT_EQ(renderCallsSince(mark.renders), 0);
    for (size_t k = mark.screens; k < sim::rendering.history.size(); ++k)
        EXPECT_FALSE(sim::rendering.history[k].scripted) << "frame " << sim::rendering.history[k].frame;
}

// The camera's first rendering came in the frame of its first pose, easing in
// as a new camera does.
void expectShownWithItsFirstPose(const Mark& mark) {
    ASSERT_EQ(renderCallsSince(mark.renders), 1);
    const sim::RenderCall& render = sim::rendering.calls[mark.renders];
    EXPECT_TRUE(render.render);
    EXPECT_EQ(render.easeMs, 500);
    uint32_t firstPose = 0;
    for (size_t k = mark.calls; k < sim::callLog().size() && firstPose == 0; ++k)
        if (sim::callLog()[k].hash == native::kSetCamCoord) firstPose = sim::callLog()[k].frame;
    EXPECT_EQ(render.frame, firstPose);
    EXPECT_TRUE(sim::lastRendered().scripted);
}

// Switches the view off, lets the camera go and puts the game back in first person.
void switchOffAndWait() {
    sim::runFor(400);
    play::tapV();
    sim::runFor(600);
    sim::putGameInFirstPerson();  // switching off handed the game its third-person view
    ASSERT_EQ(sim::liveScriptCam(), nullptr);
}

TEST(Pose, ANewCameraIsShownOnlyFromTheFrameOfItsFirstPose) {
    startSession();
    const float nan = std::numeric_limits<float>::quiet_NaN();

    // V while the gameplay rotation reads nothing usable: the camera is made,
    // but until it can be placed the game's own view stays on screen, not a
    // camera at the world origin.
    sim::setGameplayRotation(nan, nan, nan);
    Mark mark;
    play::tapV();
    sim::frames(5);
    EXPECT_EQ(sim::liveCameraCount(), 1u);
    expectNothingShownSince(mark);
    sim::setGameplayRotation(0.0f, 0.0f, 30.0f);
    sim::frame();
    EXPECT_EQ(cam().position.z, sim::pedHeadPosition().z);
    EXPECT_EQ(cam().rotation.z, 30.0f);
    expectShownWithItsFirstPose(mark);
    const Vec3 firstPlace = cam().position;

    // Switched off, walked 50 m on, switched on with the head unreadable: what
    // the last camera held is not this camera's.
    switchOffAndWait();
    sim::playerPed().position.y += 50.0f;
    sim::setPedHeadLocal({nan, 0.0f, 0.65f});
    mark = Mark();
    play::tapV();
    sim::frames(5);
    expectNothingShownSince(mark);
    sim::setPedHeadLocal({0.0f, 0.05f, 0.65f});
    sim::frame();
    EXPECT_NEAR(cam().position.y, firstPlace.y + 50.0f, 1e-3f);
    expectShownWithItsFirstPose(mark);

    // The same with a gameplay rotation that is a number but no angle.
    switchOffAndWait();
    sim::setGameplayRotation(0.0f, 0.0f, 1.0e9f);
    mark = Mark();
    play::tapV();
    sim::frames(5);
    expectNothingShownSince(mark);
    sim::setGameplayRotation(0.0f, 0.0f, -60.0f);
    sim::frame();
    EXPECT_EQ(cam().rotation.z, -60.0f);
    expectShownWithItsFirstPose(mark);

    // Good readings whose pose leaves the world: a pose held for an earlier
    // camera is not sent for this one, and nothing is shown.
    switchOffAndWait();
    Side = 0.6f;  // looking north, so straight along x
    sim::setGameplayRotation(0.0f, 0.0f, 0.0f);
    sim::playerPed().position.x = 99999.8f;
    mark = Mark();
    play::tapV();
    sim::frames(5);
    expectNothingShownSince(mark);
}

TEST(Pose, TheHeadAndTheViewAreEachHeldOnTheirOwn) {
    startSession();
    const float nan = std::numeric_limits<float>::quiet_NaN();

    // A new camera: the head read well in the V frame, the view in a later one
    // while the head did not. The first pose takes this camera's own held head.
    sim::setGameplayRotation(nan, nan, nan);
    play::press(sim::kViewKey, 1);
    const Vec3 headAtV = sim::pedHeadPosition();
    sim::playerPed().position.y += 1.0f;
    sim::setPedHeadLocal({nan, 0.0f, 0.65f});
    sim::setGameplayRotation(0.0f, 0.0f, 30.0f);
    sim::frame();
    EXPECT_EQ(cam().position.y, headAtV.y);
    EXPECT_EQ(cam().rotation.z, 30.0f);
    EXPECT_TRUE(sim::scriptCamRendering());

    // Placed: a bad view keeps the last good one while the eye follows the head...
    sim::setPedHeadLocal({0.0f, 0.05f, 0.65f});
    sim::runFor(600);
    sim::setGameplayRotation(nan, nan, nan);
    for (int k = 0; k < 3; ++k) {
        sim::playerPed().position.y += 0.5f;
        sim::frame();
        EXPECT_EQ(cam().position.y, sim::pedHeadPosition().y);
        EXPECT_EQ(cam().rotation.z, 30.0f);
    }
    // ...and a bad head keeps the last good eye while the view turns.
    const float eyeY = cam().position.y;
    sim::setPedHeadLocal({nan, 0.0f, 0.65f});
    for (float yaw : {35.0f, 40.0f}) {
        sim::setGameplayRotation(0.0f, 0.0f, yaw);
        sim::playerPed().position.y += 0.5f;
        sim::frame();
        EXPECT_EQ(cam().position.y, eyeY);
        EXPECT_EQ(cam().rotation.z, yaw);
    }
}

}  // namespace

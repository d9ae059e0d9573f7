// The camera's state machine, played as sessions: V engages and disengages,
// death, cutscenes, fades and parachutes step aside, the camera resumes or is
// rebuilt with the right ease, and no camera is ever leaked.
#include <limits>

#include "camera_session.h"

namespace {

using namespace camtest;

TEST(ViewKey, EngagesOnlyFromTheGamesFirstPersonViewAndTogglesOncePerPress) {
    play::boot();
    plainSettings();
    // In a third-person view V is the game's: its view cycles, no camera appears.
    play::tapV();
    EXPECT_EQ(sim::gameCameras.pedViewMode, 1);
    EXPECT_EQ(sim::liveCameraCount(), 0u);
    sim::gameCameras.pedViewMode = sim::kFirstPersonView;

    // Held V engages once; the game never sees the press, so its view stays first person.
    play::tap(sim::kViewKey, 30);
    EXPECT_TRUE(sim::scriptCamRendering());
    EXPECT_EQ(sim::liveCameraCount(), 1u);
    EXPECT_EQ(sim::gameCameras.pedViewMode, sim::kFirstPersonView);
    const sim::ScriptCam& c = cam();
    EXPECT_EQ(c.name, "DEFAULT_SCRIPTED_CAMERA");
    EXPECT_FLOAT_EQ(c.nearClip, 0.05f);
    EXPECT_TRUE(c.affectsAiming);
    EXPECT_TRUE(c.active);
    ASSERT_NE(sim::lastRenderCall(), nullptr);
    EXPECT_TRUE(sim::lastRenderCall()->render);
    EXPECT_TRUE(sim::lastRenderCall()->ease);
    EXPECT_EQ(sim::lastRenderCall()->easeMs, 500);
    // While engaged the game's view control is kept from it every frame.
    EXPECT_TRUE(sim::wasDisabledThisFrame(0, 0));
    EXPECT_TRUE(sim::wasDisabledThisFrame(2, 190));
}

// Played far from the 32-bit tick wrap and with both presses in the last 300 ms
// before it, where the debounce's end lies past the wrap.
class ViewKeyDebounce : public testing::TestWithParam<uint32_t> {};

TEST_P(ViewKeyDebounce, DebounceMenuAndDisengage) {
    startSession({.startTick = GetParam()});
    const uint32_t engagedAt = sim::now();
    play::tapV();  // engages
    ASSERT_TRUE(sim::scriptCamRendering());
    // A second press inside 300 ms of the toggle is ignored.
    ASSERT_LT(sim::now() - engagedAt, 300u);
    if (GetParam() != play::kFarFromTheWrap) {
        ASSERT_GT(sim::now(), 0u - 300u);
    }
    play::tapV();
    EXPECT_TRUE(sim::scriptCamRendering());
    sim::runFor(300);

    // While the menu is open V does nothing, for us and for the game.
    menuShared.open = 1;
    play::tapV();
    EXPECT_TRUE(sim::scriptCamRendering());
    EXPECT_EQ(sim::gameCameras.pedViewMode, sim::kFirstPersonView);
    menuShared.open = 0;

    // V hands the view back: a cut, the camera gone, the game in third person.
    play::tapV();
    EXPECT_FALSE(sim::scriptCamRendering());
    EXPECT_EQ(sim::liveCameraCount(), 0u);
    EXPECT_FALSE(sim::lastRenderCall()->ease);
    EXPECT_EQ(sim::gameCameras.pedViewMode, 0);
    sim::runFor(1000);
    EXPECT_EQ(sim::liveCameraCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Clock, ViewKeyDebounce, testing::Values(play::kFarFromTheWrap, 0u - 200u));

TEST(SwitchOff, DeathStopsWithAnEaseAndRespawnResumesOrRebuilds) {
    startSession();
    play::engageAndSettle();
    const int32_t first = cam().handle;

    // Death: rendering stops with a 500 ms ease; the camera lives on for 550 ms.
    sim::killPlayer();
    sim::frame();
    EXPECT_FALSE(sim::scriptCamRendering());
    EXPECT_FALSE(sim::lastRenderCall()->render);
    EXPECT_TRUE(sim::lastRenderCall()->ease);
    EXPECT_EQ(sim::lastRenderCall()->easeMs, 500);
    EXPECT_EQ(sim::liveCameraCount(), 1u);

    // Respawn within 550 ms: the same camera resumes with a 300 ms ease.
    sim::runFor(300);
    size_t before = sim::rendering.calls.size();
    sim::respawnPlayer();
    sim::frame();
    EXPECT_TRUE(sim::scriptCamRendering());
    EXPECT_EQ(cam().handle, first);
    EXPECT_EQ(renderCallsSince(before), 1);
    EXPECT_EQ(sim::lastRenderCall()->easeMs, 300);

    // A longer death: the camera is destroyed 550 ms after the first stop, though the
    // gate fails every frame, and a new one eases in over 500 ms after the respawn.
    sim::killPlayer();
    sim::frame();
    const uint32_t stoppedAt = sim::now();
    before = sim::rendering.calls.size();
    while (sim::liveCameraCount() == 1u) sim::frame();
    EXPECT_GE(sim::now() - stoppedAt, 550u);
    EXPECT_LE(sim::now() - stoppedAt, 550u + 16u);
    EXPECT_EQ(renderCallsSince(before), 0);  // further stops while nothing renders do nothing
    sim::runFor(2000);
    EXPECT_EQ(sim::liveCameraCount(), 0u);
    sim::respawnPlayer();
    sim::frame();
    EXPECT_TRUE(sim::scriptCamRendering());
    EXPECT_NE(cam().handle, first);
    EXPECT_EQ(sim::lastRenderCall()->easeMs, 500);
}

// From a stop until its destroy: the camera is kept for the whole ease-out and
// goes 550 ms after the stop, however the deadline falls against the wrap.
void expectEasedOutThenDestroyed(uint32_t stoppedAt) {
    float shown = sim::lastRendered().blend;
    ASSERT_GT(shown, 0.9f);  // the first frame of a 500 ms ease-out
    while (sim::now() - stoppedAt < 550u) {
        ASSERT_EQ(sim::liveCameraCount(), 1u) << sim::now() - stoppedAt << " ms after the stop";
        EXPECT_LE(sim::lastRendered().blend, shown);
        shown = sim::lastRendered().blend;
        sim::frame();
    }
    EXPECT_EQ(shown, 0.0f);
    EXPECT_EQ(sim::liveCameraCount(), 0u);
}

// Stops in the last 550 ms before the 32-bit tick wraps: the destroy deadline
// lies past the wrap, a small tick the frames before it are far above.
TEST(SwitchOff, StopsJustBeforeTheTickWrapEaseOutAndDestroyOnTime) {
    // The first stop lands exactly 550 ms before the wrap: its deadline is tick 0.
    constexpr uint32_t kStopTick = 0u - 550u;
    startSession({.startTick = kStopTick - 16u * 100u});
    play::tapV();
    while (sim::now() + 16u != kStopTick) sim::frame();
    sim::killPlayer();
    sim::frame();
    ASSERT_EQ(sim::now(), kStopTick);
    EXPECT_FALSE(sim::scriptCamRendering());
    expectEasedOutThenDestroyed(kStopTick);
    sim::respawnPlayer();
    sim::frame();
    EXPECT_TRUE(sim::scriptCamRendering());
    EXPECT_EQ(sim::liveCameraCount(), 1u);

    // Round the clock to 100 ms before the next wrap; a stop there is taken back
    // by a respawn 300 ms on, past the wrap: the same camera resumes.
    sim::runFor(600);
    const uint32_t jump = 0u - 100u - 16u - sim::now();
    sim::setFrameMs(jump / 4);
    sim::frames(3);
    sim::setFrameMs(jump - 3u * (jump / 4));
    sim::frame();
    sim::setFrameMs(16);
    ASSERT_EQ(sim::now(), 0u - 100u - 16u);
    sim::frame();
    const int32_t camera = cam().handle;
    sim::killPlayer();
    sim::frame();
    const uint32_t stoppedAt = sim::now();
    ASSERT_EQ(stoppedAt, 0u - 100u + 16u);
    while (sim::now() - stoppedAt < 300u) {
        sim::frame();
        ASSERT_EQ(sim::liveCameraCount(), 1u) << sim::now() - stoppedAt << " ms after the stop";
    }
    sim::respawnPlayer();
    sim::frame();
    EXPECT_EQ(cam().handle, camera);
    EXPECT_EQ(sim::lastRenderCall()->easeMs, 300);
}

// The game may drop the camera by itself. The camera made in its place starts
// afresh: no reading, pose or pending destroy of the old one carries over.
TEST(SwitchOff, ACameraTheGameDroppedIsReplacedByOneThatStartsAfresh) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    startSession();
    play::engageAndSettle();
    const Vec3 firstEye = cam().position;

    // The head stops reading while the player moves 50 m on: the camera holds its pose.
    sim::setPedHeadLocal({nan, 0.0f, 0.65f});
    sim::playerPed().position.y += 50.0f;
    sim::frame();
    EXPECT_EQ(cam().position.y, firstEye.y);

    // Then the game drops it. The new camera has read no head of its own: it is
    // neither placed at the old one's eye nor shown.
    const int32_t first = cam().handle;
    sim::removeScriptCamByGame(first);
    const size_t calls = sim::callLog().size();
    sim::frames(3);
    ASSERT_EQ(sim::liveCameraCount(), 1u);
    const int32_t second = cam().handle;
    EXPECT_NE(second, first);
    for (size_t k = calls; k < sim::callLog().size(); ++k)
        EXPECT_NE(sim::callLog()[k].hash, native::kSetCamCoord) << "placed at " << sim::callLog()[k].f(2);
    EXPECT_FALSE(sim::lastRendered().scripted);

    // The head reads again: the camera is placed there, 50 m on, and eases in.
    sim::setPedHeadLocal({0.0f, 0.05f, 0.65f});
    sim::frame();
    EXPECT_NEAR(cam().position.y, firstEye.y + 50.0f, 1e-3f);
    EXPECT_TRUE(sim::scriptCamRendering());
    EXPECT_EQ(sim::lastRenderCall()->easeMs, 500);

    // A stopped camera dropped before its destroy was due: the camera built when
    // the cutscene ends eases in once, as a new camera, and is kept; the old
    // one's pending destroy is neither run on it nor taken for a resume.
    sim::runFor(600);
    sim::startCutscene();
    sim::frame();
    ASSERT_FALSE(sim::scriptCamRendering());
    sim::removeScriptCamByGame(cam().handle);
    sim::runFor(200);
    sim::endCutscene();
    sim::frame();
    ASSERT_TRUE(sim::scriptCamRendering());
    EXPECT_EQ(sim::lastRenderCall()->easeMs, 500);
    const int32_t rebuilt = cam().handle;
    const size_t renders = sim::rendering.calls.size();
    const size_t destroys = sim::calls(native::kDestroyCam).size();
    sim::runFor(1000);
    EXPECT_EQ(cam().handle, rebuilt);
    EXPECT_EQ(renderCallsSince(renders), 0);
    EXPECT_EQ(sim::calls(native::kDestroyCam).size(), destroys);
}

TEST(SwitchOff, WithTheSniperHandBackEverySwitchIsACutAndTheCameraIsRebuilt) {
    startSession();
    SniperGameView = 1;
    play::tapV();
    EXPECT_FALSE(sim::lastRenderCall()->ease);
    const int32_t first = cam().handle;
    sim::killPlayer();
    sim::frame();
    EXPECT_FALSE(sim::lastRenderCall()->ease);
    EXPECT_EQ(sim::lastRenderCall()->easeMs, 0);
    sim::frame();  // destroyed one frame later
    EXPECT_EQ(sim::liveCameraCount(), 0u);
    sim::respawnPlayer();
    sim::frame();
    EXPECT_NE(cam().handle, first);
    EXPECT_FALSE(sim::lastRenderCall()->ease);
}

TEST(SwitchOff, ControlLossAloneKeepsTheViewButCutscenesFadesAndParachutesDoNot) {
    startSession();
    play::engageAndSettle();

    sim::scene.controlOn = false;  // e.g. a phone call: the view stays
    sim::frames(10);
    EXPECT_TRUE(sim::scriptCamRendering());
    sim::scene.controlOn = true;

    sim::startCutscene();
    sim::frame();
    EXPECT_FALSE(sim::scriptCamRendering());
    sim::runFor(1000);
    sim::endCutscene();
    sim::frame();  // back without a key press
    EXPECT_TRUE(sim::scriptCamRendering());

    sim::scene.fadedOut = true;  // faded out stops the view even with control
    sim::frame();
    EXPECT_FALSE(sim::scriptCamRendering());
    sim::scene.fadedOut = false;
    sim::frame();
    EXPECT_TRUE(sim::scriptCamRendering());

    sim::scene.fadingIn = true;  // a fade-in alone is no reason
    sim::frame();
    EXPECT_TRUE(sim::scriptCamRendering());
    sim::scene.fadingIn = false;

    sim::player.parachuteState = 0;
    sim::frame();
    EXPECT_FALSE(sim::scriptCamRendering());
    sim::player.parachuteState = sim::kNotParachuting;
    sim::frame();
    EXPECT_TRUE(sim::scriptCamRendering());
    EXPECT_EQ(sim::liveCameraCount(), 1u);
}

TEST(SwitchOff, ANewPlayerPedResumesTheSameCameraInTheSameFrame) {
    startSession();
    play::engageAndSettle();
    const int32_t handle = cam().handle;
    const size_t before = sim::rendering.calls.size();
    sim::respawnPlayer(true);  // a character switch hands the player another ped
    sim::frame();
    ASSERT_EQ(renderCallsSince(before), 2);
    EXPECT_FALSE(sim::rendering.calls[before].render);
    EXPECT_TRUE(sim::rendering.calls[before + 1].render);
    EXPECT_EQ(sim::rendering.calls[before + 1].easeMs, 300);
    EXPECT_EQ(cam().handle, handle);
}

TEST(Vehicles, ADisabledVehicleCameraSwitchesTheViewOffAndChangesRebuildTheCamera) {
    startSession();
    play::engageAndSettle();
    const int32_t onFoot = cam().handle;

    // With the vehicle camera on, getting in destroys the on-foot camera and
    // builds the vehicle's in the same frame.
    VehCam = 1;
    const int32_t car = sim::spawnVehicle(0, {5.0f, 0.0f, 0.5f});
    sim::enterVehicle(car);
    sim::frame();
    EXPECT_EQ(sim::liveCameraCount(), 1u);
    EXPECT_NE(cam().handle, onFoot);
    EXPECT_TRUE(sim::scriptCamRendering());
    const int32_t inCar = cam().handle;

    // Out again: a new on-foot camera, the same frame.
    sim::leaveVehicle();
    sim::frame();
    EXPECT_EQ(sim::liveCameraCount(), 1u);
    EXPECT_NE(cam().handle, inCar);
    EXPECT_TRUE(sim::scriptCamRendering());

    // A bike with its camera off: the view switches off and stays in third person.
    MC_Cam = 0;
    const int32_t bike = sim::spawnVehicle(8, {5.0f, 0.0f, 0.5f});
    sim::enterVehicle(bike);
    sim::frame();
    EXPECT_EQ(sim::liveCameraCount(), 0u);
    EXPECT_FALSE(sim::scriptCamRendering());
    EXPECT_EQ(sim::gameCameras.vehicleViewMode, 0);
    sim::runFor(1000);
    EXPECT_EQ(sim::liveCameraCount(), 0u);
}

}  // namespace

// The weapon audio mode: both flags follow CinematicAudio while the camera
// renders, and are cleared when the camera is destroyed or the view switched off.
#include <gtest/gtest.h>

#include "overlay_scene.h"
#include "sim/world/audio_flags.h"
#include "sim/world/vehicles.h"

namespace {

bool reverbOff() { return sim::audioFlag("ListenerReverbDisabled"); }
bool sniperAudio() { return sim::audioFlag("ForceSniperAudio"); }

TEST(WeaponAudio, FollowsCinematicAudioWhileRenderingAndClearsOnDisengage) {
    scene::bootWithBodycam();
    sim::frames(3);
    EXPECT_TRUE(sim::calls(native::kSetAudioFlag).empty()) << "nothing before the camera renders";
    scene::engage();
    EXPECT_TRUE(reverbOff());
    EXPECT_TRUE(sniperAudio());

    CinematicAudio = 1;  // as from the menu: the next frame
    sim::frame();
    EXPECT_FALSE(reverbOff());
    EXPECT_FALSE(sniperAudio());
    CinematicAudio = 0;
    sim::frame();
    EXPECT_TRUE(reverbOff());

    sim::runFor(300);            // past the V debounce
    play::tapV();  // the view off
    EXPECT_EQ(cameraRendering, 0);
    EXPECT_FALSE(reverbOff());
    EXPECT_FALSE(sniperAudio());
    sim::frames(5);
    EXPECT_FALSE(reverbOff());
}

TEST(WeaponAudio, EasedStopKeepsTheFlagsUntilTheDestroy) {
    scene::bootWithBodycam();
    scene::engage();
    sim::killPlayer();
    sim::frame();
    uint32_t stop = sim::now();
    EXPECT_EQ(cameraRendering, 0);
    while (reverbOff() && sim::now() - stop < 2000u) {
        EXPECT_TRUE(sniperAudio());
        sim::frame();
    }
    EXPECT_GE(sim::now() - stop, 550u) << "held until the delayed destroy";
    EXPECT_FALSE(sniperAudio());
}

TEST(WeaponAudio, InAVehicleAppliedAgainAfterTheChangeOfCamera) {
    scene::bootWithBodycam();
    scene::engage();
    int32_t car = sim::spawnVehicle(0, {3.0f, 0.0f, 1.0f});
    sim::enterVehicle(car);
    sim::frame();
    // The change of camera cleared both, then the frame's end applied them again.
    auto flags = sim::frameCalls(native::kSetAudioFlag);
    ASSERT_GE(flags.size(), 4u);
    EXPECT_EQ(flags.front()->i(1), 0);
    EXPECT_EQ(flags.back()->i(1), 1);
    EXPECT_TRUE(reverbOff());
    EXPECT_TRUE(sniperAudio());
}

}  // namespace

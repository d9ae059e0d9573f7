// The damage glitch: a health loss of 3 or more plays the glitch post-effect
// for 350 ms after the latest hit, started once and stopped once.
#include <gtest/gtest.h>

#include "overlay/overlay.h"
#include "overlay_scene.h"
#include "sim/world/postfx.h"

namespace {

constexpr const char* kGlitch = "dont_tazeme_bro";

void hurt(int points) { sim::playerPed().health -= points; }

// The bodycam scene with the glitch on, engaged.
void engageWithGlitch(const sim::Options& options = {}) {
    scene::bootWithBodycam(options);
    DamageGlitch = 1;
    scene::engage();
}

// A hit of 10: the glitch plays from this frame.
void hitAndGlitch() {
    hurt(10);
    sim::frame();
    ASSERT_TRUE(sim::postFxRunning(kGlitch));
}

TEST(DamageGlitch, LossOfThreeGlitchesForItsWindowLossOfTwoAndHealingNever) {
    scene::bootWithBodycam();
    DamageGlitch = 1;
    hurt(50);  // before the first poll: no previous health yet
    scene::engage();
    EXPECT_EQ(sim::postFxStarts(kGlitch), 0);

    hurt(2);
    sim::frame();
    EXPECT_EQ(sim::postFxStarts(kGlitch), 0);
    sim::playerPed().health += 40;
    sim::frame();
    EXPECT_EQ(sim::postFxStarts(kGlitch), 0);

    hurt(3);
    sim::frame();
    uint32_t hit = sim::now();
    EXPECT_TRUE(sim::postFxRunning(kGlitch));
    ASSERT_EQ(sim::postFx.events.size(), 1u);
    EXPECT_EQ(sim::postFx.events[0].duration, 0);
    EXPECT_TRUE(sim::postFx.events[0].looped);
    while (sim::postFxRunning(kGlitch)) sim::frame();
    EXPECT_GE(sim::now() - hit, 350u);
    EXPECT_LT(sim::now() - hit, 350u + 16u);
    EXPECT_EQ(sim::postFxStarts(kGlitch), 1);
    EXPECT_EQ(sim::postFxStops(kGlitch), 1);
}

TEST(DamageGlitch, HitsInsideTheWindowExtendItWithoutARestart) {
    engageWithGlitch();
    hitAndGlitch();
    sim::runFor(200);
    hurt(10);
    sim::frame();
    uint32_t second = sim::now();
    while (sim::postFxRunning(kGlitch)) sim::frame();
    EXPECT_GE(sim::now() - second, 350u);
    EXPECT_EQ(sim::postFxStarts(kGlitch), 1);
    EXPECT_EQ(sim::postFxStops(kGlitch), 1);
}

TEST(DamageGlitch, SwitchedOffMidEffectStopsNextFrame) {
    engageWithGlitch();
    hitAndGlitch();
    DamageGlitch = 0;
    sim::frame();
    EXPECT_FALSE(sim::postFxRunning(kGlitch));
    hurt(10);
    sim::frames(5);
    EXPECT_EQ(sim::postFxStarts(kGlitch), 1);
}

TEST(DamageGlitch, TheCameraTeardownStopsAnEffectTheStepNoLongerReaches) {
    engageWithGlitch();
    hitAndGlitch();
    sim::killPlayer();  // rendering stops at once; the overlays no longer run
    sim::frame();
    EXPECT_EQ(cameraRendering, 0);
    EXPECT_TRUE(sim::postFxRunning(kGlitch)) << "the eased stop leaves it to the destroy";
    sim::runFor(700);
    EXPECT_FALSE(sim::postFxRunning(kGlitch));
    EXPECT_EQ(damageGlitchRunning, 0);
    EXPECT_EQ(sim::postFxStops(kGlitch), 1);
}

TEST(DamageGlitch, WindowAcrossTheTickWrap) {
    // Started with the tick counter in its upper half: no effect at load; a hit
    // just before the wrap ends 350 ms later, after the wrap.
    engageWithGlitch({.startTick = 0xFFFFFF00u - 1000u});
    sim::frames(5);
    EXPECT_EQ(sim::postFxStarts(kGlitch), 0);
    while (sim::now() < 0xFFFFFF00u) sim::frame();
    hitAndGlitch();
    uint32_t hit = sim::now();
    while (sim::postFxRunning(kGlitch) && sim::now() - hit < 2000u) sim::frame();
    EXPECT_LT(sim::now(), hit) << "ended after the wrap";
    EXPECT_GE(sim::now() - hit, 350u);
    EXPECT_LT(sim::now() - hit, 350u + 16u);
}

}  // namespace

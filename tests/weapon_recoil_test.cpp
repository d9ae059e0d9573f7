// Recoil as the player feels it: kicks per shot, caps over a burst, the settle
// rate per frame, and the magazine changes that must not count as shots.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/controls.h"
#include "sim/world/player.h"
#include "sim/world/weapons.h"
#include "tests/play.h"
#include "weapon/recoil.h"

namespace {

// One game frame with the recoil step run on it, as the camera pipeline does.
void recoilFrame() {
    sim::frame();
    updateRecoil(sim::player.ped);
}

void bootWithBodycamRecoil(const char* weapon, float perWeapon, uint32_t startTick = play::kFarFromTheWrap) {
    play::boot({.startTick = startTick});
    BodycamMaster = 1;
    BodycamRecoil = 1;
    BodycamRecoilAmount = 1.0f;
    RecPistol = RecHeavy = RecRifle = perWeapon;
    sim::equipWeapon(weapon);
    recoilFrame();  // the first frame only learns the magazine count
}

// The recoil shake on at full amount, a weapon in hand.
void bootWithRecoilShake(const char* weapon, int ammo = -1, uint32_t startTick = play::kFarFromTheWrap) {
    play::boot({.startTick = startTick});
    RecoilShake = 1;
    RecoilAmount = 1.0f;
    sim::equipWeapon(weapon, ammo);
}

TEST(BodycamRecoil, PistolShotKicksWithinItsRangeAndSettlesPerFrame) {
    bootWithBodycamRecoil("WEAPON_PISTOL", 5.0f);  // k = 5
    EXPECT_EQ(recoilPitch, 0.0f);
    sim::holdControl(kControlAttack);
    recoilFrame();
    ASSERT_EQ(sim::weapons.shots.size(), 1u);
    // The kick lands, then this frame's settle (1 - 9 * 0.016) applies.
    float kick = recoilPitch / 0.856f;
    EXPECT_GE(kick, 2.75f - 1e-4f);
    EXPECT_LE(kick, 4.235f + 1e-4f);
    EXPECT_LE(std::abs(recoilYaw), 1.1f * 0.856f + 1e-4f);
    EXPECT_LE(std::abs(recoilRoll), 1.25f * 0.856f + 1e-4f);
    sim::releaseControl(kControlAttack);
    for (int k = 0; k < 5; ++k) {
        float before = recoilPitch;
        recoilFrame();
        EXPECT_NEAR(recoilPitch, before * 0.856f, 1e-5f);
    }
    for (int k = 0; k < 100; ++k) recoilFrame();
    EXPECT_EQ(recoilPitch, 0.0f);  // snapped, not creeping toward 0
    EXPECT_EQ(recoilYaw, 0.0f);
    EXPECT_EQ(recoilRoll, 0.0f);
}

TEST(BodycamRecoil, FastBurstIsCappedAndEveryShotKicksOnce) {
    bootWithBodycamRecoil("WEAPON_MINIGUN", 5.0f);  // a shot every other frame
    sim::holdControl(kControlAttack);
    float highest = 0.0f;
    int rises = 0;
    for (int k = 0; k < 60; ++k) {
        float before = recoilPitch;
        recoilFrame();
        highest = std::max(highest, recoilPitch);
        if (recoilPitch > before) ++rises;
    }
    // Capped at 2.5 k = 12.5 before this frame's settle.
    EXPECT_NEAR(highest, 12.5f * 0.856f, 1e-4f);
    EXPECT_EQ(rises, static_cast<int>(sim::weapons.shots.size()));
}

TEST(BodycamRecoil, SwapsAndReloadsNeverCountAsShots) {
    bootWithBodycamRecoil("WEAPON_CARBINERIFLE", 5.0f);  // 30 rounds
    sim::equipWeapon("WEAPON_PISTOL", 3);                 // 30 -> 3 across a swap
    recoilFrame();
    sim::equipWeapon("WEAPON_CARBINERIFLE", 4);          // 3 -> 4
    recoilFrame();
    sim::equipWeapon("WEAPON_PISTOL");                    // 4 -> 3
    recoilFrame();
    sim::equipWeapon("WEAPON_CARBINERIFLE");
    EXPECT_EQ(recoilPitch, 0.0f);

    // A reload raises the count: no kick from it, looked for in every frame
    // (a kick settles back to 0 within a second).
    sim::startReload();
    float highest = 0.0f;
    for (int k = 0; k < 200; ++k) {
        recoilFrame();
        highest = std::max({highest, recoilPitch, std::fabs(recoilYaw), std::fabs(recoilRoll)});
    }
    EXPECT_EQ(sim::weapons.ammo[sim::hashKey("WEAPON_CARBINERIFLE")], 30);
    EXPECT_EQ(highest, 0.0f);
    EXPECT_TRUE(sim::weapons.shots.empty());
}

// The intervals between kicks are played far from the 32-bit tick wrap and with
// the wrap falling among the kicks, where a deadline compared without the wrap
// would let every frame kick.
class ClockStart : public testing::TestWithParam<uint32_t> {
protected:
    // In the run across the wrap, the kicks straddle it.
    void expectTheKicksCrossedTheWrap(const std::vector<uint32_t>& kicks) const {
        if (GetParam() != play::kFarFromTheWrap) {
            EXPECT_LT(kicks.back(), kicks.front());
        }
    }
};

using BodycamRecoilInterval = ClockStart;
TEST_P(BodycamRecoilInterval, ShootingStateKicksAtTheGroupIntervalWhenTheCountSaysNothing) {
    // A stun gun keeps no magazine count: only the shooting state can kick, and
    // no sooner than 110 ms after the last such kick, however often the game
    // reports shooting.
    bootWithBodycamRecoil("WEAPON_STUNGUN", 5.0f, GetParam());
    std::vector<uint32_t> kicks;
    for (int k = 0; k < 40; ++k) {
        sim::frame();
        sim::weapons.shotThisFrame = true;
        float before = recoilPitch;
        updateRecoil(sim::player.ped);
        if (recoilPitch > before) kicks.push_back(sim::now());
    }
    ASSERT_EQ(kicks.size(), 6u);
    for (size_t k = 1; k < kicks.size(); ++k) EXPECT_EQ(kicks[k] - kicks[k - 1], 112u);  // 7 frames of 16 ms
    expectTheKicksCrossedTheWrap(kicks);
}
INSTANTIATE_TEST_SUITE_P(Clock, BodycamRecoilInterval, testing::Values(play::kFarFromTheWrap, 0u - 300u));

using RecoilShakeSpacing = ClockStart;
TEST_P(RecoilShakeSpacing, KicksEvery46MsWhileAttackIsHeldEvenWithAnEmptyGun) {
    bootWithRecoilShake("WEAPON_CARBINERIFLE", 0, GetParam());
    BodycamMaster = 0;
    sim::setFrameMs(10);
    std::vector<uint32_t> kicks;
    auto run = [&](int count) {
        for (int k = 0; k < count; ++k) {
            float before = recoilPitch;
            recoilFrame();
            if (recoilPitch > before) kicks.push_back(sim::now());
        }
    };
    sim::holdControl(kControlAttack);
    run(20);
    EXPECT_TRUE(sim::weapons.shots.empty());
    ASSERT_EQ(kicks.size(), 4u);  // at 0, 50, 100 and 150 ms of a 200 ms hold
    for (size_t k = 1; k < kicks.size(); ++k) EXPECT_EQ(kicks[k] - kicks[k - 1], 50u);
    expectTheKicksCrossedTheWrap(kicks);
    EXPECT_LE(recoilPitch, 5.0f);

    // A new press kicks on its first frame, however soon after the last kick.
    sim::releaseControl(kControlAttack);
    kicks.clear();
    run(1);
    sim::holdControl(kControlAttack);
    run(1);
    EXPECT_EQ(kicks.size(), 1u);

    // No firearm, no kick.
    sim::equipWeapon("WEAPON_PETROLCAN");
    kicks.clear();
    run(20);
    EXPECT_TRUE(kicks.empty());
}

INSTANTIATE_TEST_SUITE_P(Clock, RecoilShakeSpacing, testing::Values(play::kFarFromTheWrap, 0u - 100u));

TEST(Recoil, BodycamTakesPrecedenceAndBothOffClearsAtOnce) {
    bootWithRecoilShake("WEAPON_PISTOL");
    BodycamMaster = 1;
    BodycamRecoil = 0;
    sim::holdControl(kControlAttack);
    recoilFrame();
    // Shake kick: pitch at least 1.1 before the settle of 1 - 11 * 0.016.
    EXPECT_GE(recoilPitch, 1.1f * (1.0f - 11.0f * 0.016f) - 1e-4f);

    // With the bodycam recoil on, holding attack alone kicks nothing more.
    BodycamRecoil = 1;
    sim::releaseControl(kControlAttack);
    sim::setAmmo(0);  // the attack now fires nothing
    recoilFrame();
    float settled = recoilPitch;
    sim::holdControl(kControlAttack);
    recoilFrame();
    EXPECT_LT(recoilPitch, settled);

    RecoilShake = 0;
    BodycamRecoil = 0;
    sim::frame();
    recoilPitch = 3.0f, recoilYaw = -1.0f, recoilRoll = 2.0f;
    updateRecoil(sim::player.ped);
    EXPECT_EQ(recoilPitch, 0.0f);
    EXPECT_EQ(recoilYaw, 0.0f);
    EXPECT_EQ(recoilRoll, 0.0f);
}

}  // namespace

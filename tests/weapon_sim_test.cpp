// The simulated weapons the weapon-feel scenarios stand on: the game's text
// hash, the shot and magazine model, reloads, swaps and the weapon object.
#include <gtest/gtest.h>

#include "runtime/natives.h"
#include "sim/sim.h"
#include "sim/world/controls.h"
#include "sim/world/entities.h"
#include "sim/world/player.h"
#include "sim/world/weapons.h"
#include "tests/play.h"

namespace {

TEST(WeaponSim, TextHashIsTheGamesOneAtATimeOverLowerCase) {
    sim::boot();
    EXPECT_EQ(game::getHashKey("WEAPON_UNARMED"), 0xA2719263u);
    EXPECT_EQ(game::getHashKey("weapon_unarmed"), 0xA2719263u);
    EXPECT_EQ(game::getHashKey("GROUP_SNIPER"), 0xB7BBD827u);
    EXPECT_EQ(game::getHashKey("GROUP_PISTOL"), 0x18D5FA97u);
    EXPECT_EQ(game::getHashKey("WEAPON_PISTOL"), 0x1B06D571u);
    EXPECT_EQ(game::getWeapontypeGroup(0x1B06D571u), 0x18D5FA97u);
}

TEST(WeaponSim, PistolFiresOncePerPressRifleAtItsRateUntilEmpty) {
    play::bootAsLoaded();
    Ped ped = sim::player.ped;
    sim::equipWeapon("WEAPON_PISTOL");
    Hash pistol = sim::hashKey("WEAPON_PISTOL");
    Hash out = 0;
    game::getCurrentPedWeapon(ped, &out, true);
    EXPECT_EQ(out, pistol);
    EXPECT_EQ(game::getAmmoInPedWeapon(ped, pistol), 12);

    sim::holdBurst(500);  // semi-automatic: held down is one shot
    EXPECT_EQ(sim::weapons.shots.size(), 1u);
    EXPECT_EQ(game::getAmmoInPedWeapon(ped, pistol), 11);

    sim::equipWeapon("WEAPON_CARBINERIFLE", 5);
    sim::holdBurst(1000);
    ASSERT_EQ(sim::weapons.shots.size(), 6u);  // five rounds, then the magazine is empty
    EXPECT_EQ(sim::weapons.shots[2].tick - sim::weapons.shots[1].tick, 112u);  // 100 ms rate on 16 ms frames
    EXPECT_EQ(game::getAmmoInPedWeapon(ped, sim::hashKey("WEAPON_CARBINERIFLE")), 0);
    EXPECT_FALSE(game::isPedShooting(ped));

    // The pistol kept its rounds over the swap; a reload fills the rifle.
    sim::equipWeapon("WEAPON_PISTOL");
    EXPECT_EQ(game::getAmmoInPedWeapon(ped, pistol), 11);
    sim::equipWeapon("WEAPON_CARBINERIFLE");
    sim::startReload();
    sim::frame();
    EXPECT_TRUE(game::isPedReloading(ped));
    sim::runFor(2100);
    EXPECT_FALSE(game::isPedReloading(ped));
    EXPECT_EQ(game::getAmmoInPedWeapon(ped, sim::hashKey("WEAPON_CARBINERIFLE")), 30);
}

TEST(WeaponSim, ShootingIsTrueOnlyInTheShotFrameAndOrdersFireThroughDisabledInput) {
    play::bootAsLoaded();
    Ped ped = sim::player.ped;
    sim::equipWeapon("WEAPON_PISTOL");
    sim::holdControl(kControlAttack);
    sim::frame();
    EXPECT_TRUE(game::isPedShooting(ped));
    sim::frame();
    EXPECT_FALSE(game::isPedShooting(ped));
    sim::releaseControl(kControlAttack);

    // Own firing disabled: the press does nothing; an order to shoot fires at the weapon's rate.
    game::disablePlayerFiring(sim::player.id, true);
    sim::holdControl(kControlAttack);
    sim::frame();
    EXPECT_FALSE(game::isPedShooting(ped));
    game::setPedShootsAtCoord(ped, 0.0f, 10.0f, 1.0f, true);
    sim::runFor(320);
    game::clearPedSecondaryTask(ped);
    sim::frames(20);
    EXPECT_EQ(sim::weapons.shots.size(), 3u);  // one by hand, then two at 150 ms
    EXPECT_TRUE(sim::weapons.shots.back().ordered);
}

TEST(WeaponSim, WeaponObjectFollowsTheHandWithOrWithoutAMuzzle) {
    play::bootAsLoaded();
    Ped ped = sim::player.ped;
    EXPECT_EQ(game::getCurrentPedWeaponEntityIndex(ped), 0);
    sim::equipWeapon("WEAPON_PISTOL");
    Entity gun = game::getCurrentPedWeaponEntityIndex(ped);
    ASSERT_NE(gun, 0);
    EXPECT_GE(game::getEntityBoneIndexByName(gun, "Gun_Muzzle"), 0);
    sim::equipWeapon("WEAPON_CARBINERIFLE", -1, false);
    EXPECT_EQ(sim::findEntity(gun), nullptr);  // the pistol's object went with the swap
    gun = game::getCurrentPedWeaponEntityIndex(ped);
    EXPECT_EQ(game::getEntityBoneIndexByName(gun, "Gun_Muzzle"), -1);
    sim::playerPed().position = {10.0f, 0.0f, 1.0f};
    sim::frame();
    EXPECT_NEAR(sim::findEntity(gun)->position.x, 10.22f, 1e-4f);
}

}  // namespace

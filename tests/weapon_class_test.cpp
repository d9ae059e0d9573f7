// What the player holds decides which weapon effects apply: armed, firearm,
// tracers, the recoil setting and the shot spacing, from the game's own hashes.
#include <gtest/gtest.h>

#include <string>

#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/player.h"
#include "sim/world/weapons.h"
#include "tests/play.h"
#include "weapon/weapon.h"

namespace {

struct Expected {
    const char* weapon;
    bool armed, firearm, tracer;
    float* recoilSetting;
    uint32_t intervalMs;
};

TEST(WeaponClass, EachKindOfWeaponGetsItsEffects) {
    play::boot();
    // Distinct values so that the chosen setting is visible.
    RecHeavy = 1.1f, RecSniper = 1.2f, RecShotgun = 1.3f, RecMG = 1.4f, RecRifle = 1.5f, RecSMG = 1.6f, RecPistol = 1.7f;
    const Expected table[] = {
        {"WEAPON_UNARMED", false, false, false, &RecRifle, 110},
        {"WEAPON_PETROLCAN", true, false, false, &RecRifle, 110},
        {"WEAPON_FIREEXTINGUISHER", true, false, false, &RecRifle, 110},
        {"WEAPON_KNIFE", true, false, false, &RecRifle, 110},
        {"WEAPON_GRENADE", true, false, false, &RecRifle, 110},
        {"WEAPON_MINIGUN", true, true, true, &RecHeavy, 110},
        {"WEAPON_RPG", true, true, false, &RecHeavy, 110},
        {"WEAPON_FLAREGUN", true, true, false, &RecPistol, 110},
        {"WEAPON_STUNGUN", true, true, false, &RecRifle, 110},
        {"WEAPON_PUMPSHOTGUN", true, true, false, &RecShotgun, 110},
        {"WEAPON_SNIPERRIFLE", true, true, false, &RecSniper, 110},
        {"WEAPON_PISTOL", true, true, true, &RecPistol, 110},
        {"WEAPON_SMG", true, true, true, &RecSMG, 80},
        {"WEAPON_CARBINERIFLE", true, true, true, &RecRifle, 95},
        {"WEAPON_COMBATMG", true, true, true, &RecMG, 70},
    };
    Ped ped = sim::player.ped;
    for (const Expected& e : table) {
        SCOPED_TRACE(e.weapon);
        sim::equipWeapon(e.weapon);
        Hash weapon = currentWeapon(ped);
        EXPECT_EQ(weapon, sim::hashKey(e.weapon));
        Hash group = weaponGroup(weapon);
        EXPECT_EQ(isArmed(weapon), e.armed);
        EXPECT_EQ(isFirearm(ped), e.firearm);
        EXPECT_EQ(isTracerWeapon(weapon, group), e.tracer);
        EXPECT_EQ(recoilClassAmount(group), *e.recoilSetting);
        EXPECT_EQ(shotIntervalMs(group), e.intervalMs);
    }
}

TEST(WeaponClass, EmptyHandsNeedNoGroupAndNamesAreHashedOnce) {
    play::bootAsLoaded();
    Ped ped = sim::player.ped;
    sim::unequipWeapon();
    EXPECT_FALSE(isFirearm(ped));
    EXPECT_TRUE(sim::calls(native::kGetWeapontypeGroup).empty());

    for (const char* w : {"WEAPON_PISTOL", "WEAPON_MINIGUN", "WEAPON_KNIFE", "WEAPON_STUNGUN"}) {
        sim::equipWeapon(w);
        for (int k = 0; k < 3; ++k) {
            Hash weapon = currentWeapon(ped);
            Hash group = weaponGroup(weapon);
            isFirearm(ped);
            isTracerWeapon(weapon, group);
            recoilClassAmount(group);
            shotIntervalMs(group);
        }
    }
    std::map<std::string, int> hashed;
    for (const sim::CallRecord* c : sim::calls(native::kGetHashKey)) ++hashed[c->text()];
    EXPECT_EQ(hashed.size(), static_cast<size_t>(WeaponName::Count));
    for (const auto& [name, count] : hashed) EXPECT_EQ(count, 1) << name;
}

}  // namespace

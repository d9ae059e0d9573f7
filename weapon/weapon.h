// Weapon classification shared by recoil, the bodycam aim, the aiming views and
// the overlays. Weapons and weapon groups are the game's 32-bit text hashes;
// each name below is hashed by the game once, on first use, and kept.
#pragma once
#include <cstdint>

#include "runtime/native_call.h"

constexpr Hash kWeaponUnarmed = 0xA2719263u;  // empty hands

// The names whose hashes the classifications compare against.
enum class WeaponName : uint8_t {
    GroupMelee,
    GroupThrown,
    GroupPetrolCan,
    GroupFireExtinguisher,
    GroupPistol,
    GroupSmg,
    GroupRifle,
    GroupMg,
    GroupShotgun,
    GroupSniper,
    GroupHeavy,
    GroupStunGun,
    WeaponMinigun,
    WeaponFlareGun,
    Count
};
Hash weaponNameHash(WeaponName name);  // the game's hash of the name, fetched once

Hash currentWeapon(Ped ped);                   // the ped's weapon hash; 0 if the game wrote none
Hash weaponGroup(Hash weapon);                 // the weapon's group hash
bool isArmed(Hash weapon);                     // anything but empty hands
bool isFirearm(Ped ped);                       // holds a weapon that can fire
bool isFirearmGroup(Hash group);               // an armed weapon of this group can fire
bool isTracerWeapon(Hash weapon, Hash group);  // a shot of it draws a tracer
float recoilClassAmount(Hash group);           // the per-weapon recoil setting for the group
uint32_t shotIntervalMs(Hash group);           // minimum milliseconds between two shot events

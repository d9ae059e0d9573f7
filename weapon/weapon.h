// Weapon classification shared by recoil, the bodycam aim and the overlays.
#pragma once
#include <cstdint>

#include "runtime/native_call.h"

constexpr Hash kWeaponUnarmed = 0xA2719263u;

Hash currentWeapon(Ped ped);                           // the ped's weapon hash, 0 if the game wrote none
Hash weaponGroup(Hash weapon);                         // the weapon's group hash
bool isArmed(Hash weapon);                             // anything but empty hands
bool isFirearm(Ped ped);                               // holds a weapon that can fire
bool isTracerWeapon(Hash weapon, Hash group);          // a shot of it draws a tracer
float recoilClassAmount(Hash group);                   // the per-weapon recoil setting for the group
uint32_t shotIntervalMs(Hash group);                   // minimum milliseconds between two shot events

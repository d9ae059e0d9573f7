#include "weapon/weapon.h"

#include "runtime/natives.h"
#include "settings/settings.h"

namespace {

constexpr const char* kWeaponNameTexts[] = {
    "GROUP_MELEE",  "GROUP_THROWN", "GROUP_PETROLCAN", "GROUP_FIRE_EXTINGUISHER", "GROUP_PISTOL",
    "GROUP_SMG",    "GROUP_RIFLE",  "GROUP_MG",        "GROUP_SHOTGUN",           "GROUP_SNIPER",
    "GROUP_HEAVY",  "GROUP_STUNGUN", "WEAPON_MINIGUN", "WEAPON_FLAREGUN",
};
constexpr int kWeaponNameCount = static_cast<int>(WeaponName::Count);
static_assert(sizeof kWeaponNameTexts / sizeof kWeaponNameTexts[0] == kWeaponNameCount,
              "one text per WeaponName");

// Hashes fetched from the game so far; kept for the life of the plug-in.
Hash nameHashes[kWeaponNameCount];
uint8_t nameHashed[kWeaponNameCount];

bool isGroup(Hash group, WeaponName name) { return group == weaponNameHash(name); }

// Shot event spacing per group, in milliseconds.
constexpr uint32_t kShotIntervalMg = 70;
constexpr uint32_t kShotIntervalRifle = 95;
constexpr uint32_t kShotIntervalSmg = 80;
constexpr uint32_t kShotIntervalOther = 110;

}  // namespace

Hash weaponNameHash(WeaponName name) {
    int k = static_cast<int>(name);
    if (!nameHashed[k]) {
        nameHashes[k] = game::getHashKey(kWeaponNameTexts[k]);
        nameHashed[k] = 1;
    }
    return nameHashes[k];
}

Hash currentWeapon(Ped ped) {
    Hash weapon = 0;
    game::getCurrentPedWeapon(ped, &weapon, true);
    return weapon;
}

Hash weaponGroup(Hash weapon) { return game::getWeapontypeGroup(weapon); }

bool isArmed(Hash weapon) { return weapon != kWeaponUnarmed; }

bool isFirearm(Ped ped) {
    Hash weapon = currentWeapon(ped);
    return isArmed(weapon) && isFirearmGroup(weaponGroup(weapon));
}

bool isFirearmGroup(Hash group) {
    return !isGroup(group, WeaponName::GroupMelee) && !isGroup(group, WeaponName::GroupThrown) &&
           !isGroup(group, WeaponName::GroupPetrolCan) && !isGroup(group, WeaponName::GroupFireExtinguisher);
}

bool isTracerWeapon(Hash weapon, Hash group) {
    if (weapon == weaponNameHash(WeaponName::WeaponMinigun)) return true;
    if (weapon == weaponNameHash(WeaponName::WeaponFlareGun)) return false;
    if (isGroup(group, WeaponName::GroupShotgun) || isGroup(group, WeaponName::GroupSniper) ||
        isGroup(group, WeaponName::GroupHeavy) || isGroup(group, WeaponName::GroupStunGun))
        return false;
    return isGroup(group, WeaponName::GroupMg) || isGroup(group, WeaponName::GroupRifle) ||
           isGroup(group, WeaponName::GroupSmg) || isGroup(group, WeaponName::GroupPistol);
}

float recoilClassAmount(Hash group) {
    if (isGroup(group, WeaponName::GroupHeavy)) return RecHeavy;
    if (isGroup(group, WeaponName::GroupSniper)) return RecSniper;
    if (isGroup(group, WeaponName::GroupShotgun)) return RecShotgun;
    if (isGroup(group, WeaponName::GroupMg)) return RecMG;
    if (isGroup(group, WeaponName::GroupRifle)) return RecRifle;
    if (isGroup(group, WeaponName::GroupSmg)) return RecSMG;
    if (isGroup(group, WeaponName::GroupPistol)) return RecPistol;
    return RecRifle;
}

uint32_t shotIntervalMs(Hash group) {
    if (isGroup(group, WeaponName::GroupMg)) return kShotIntervalMg;
    if (isGroup(group, WeaponName::GroupRifle)) return kShotIntervalRifle;
    if (isGroup(group, WeaponName::GroupSmg)) return kShotIntervalSmg;
    return kShotIntervalOther;
}

// The player's weapons: what is in hand, its group, the rounds in the magazine,
// the shot fired in a frame, reloading, and the weapon object held in the hand.
//
// The ped fires in the game's part of the frame, before the scripts run:
//   - a semi-automatic weapon once per press of the attack control (24), an
//     automatic one at its rate while the control is held, unless the script
//     disabled the player's own firing in the previous frame;
//   - at its rate while a script order to shoot at a position is in force
//     (SET_PED_SHOOTS_AT_COORD with 1, ended by 0 or CLEAR_PED_SECONDARY_TASK).
// A weapon fires only with rounds in the magazine and while not reloading; each
// shot takes one round (weapons without a magazine count keep 0). IS_PED_SHOOTING
// is true in exactly the frames with a shot.
//
// Text hashes (GET_HASH_KEY) are the game's: Jenkins one-at-a-time over the
// lower-cased text, so weapon and group names hash to the game's real values.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "runtime/native_call.h"

namespace sim {

uint32_t hashKey(const std::string& text);  // GET_HASH_KEY

struct WeaponType {
    const char* name;    // "WEAPON_PISTOL"
    const char* group;   // "GROUP_PISTOL"
    int32_t magazine;    // rounds per magazine; 0 = no ammunition count
    uint32_t shotMs;     // time between two shots at the weapon's rate
    uint32_t reloadMs;   // how long a reload takes
    bool automatic;      // fires while the attack control is held
    bool fires;          // shoots at all (not melee, thrown, can or extinguisher)
    bool heldObject;     // a weapon object appears in the hand
};
const WeaponType* findWeaponType(const std::string& name);  // nullptr for an unknown name
const std::vector<WeaponType>& weaponTypes();

struct Shot {
    uint32_t frame;
    uint32_t tick;
    uint32_t weapon;
    bool ordered;  // fired by a script's order to shoot rather than by the player's input
};

struct WeaponsModel {
    const WeaponType* current = nullptr;   // nullptr = empty hands (WEAPON_UNARMED)
    std::map<uint32_t, int32_t> ammo;      // rounds in the magazine per weapon hash
    bool shotThisFrame = false;
    uint32_t lastShotTick = 0;
    bool everShot = false;
    bool reloading = false;
    uint32_t reloadEndTick = 0;
    bool autoReload = false;               // reload by itself when a shot finds the magazine empty
    int32_t weaponObject = 0;              // entity in the hand, 0 = none
    bool objectHasMuzzle = true;

    // What scripts ordered (the player's own firing disabled for one frame; an
    // order to shoot at a position; the firing pattern).
    uint32_t ownFiringDisabledFrame = UINT32_MAX;  // frame index in which a script disabled it
    bool shootOrder = false;
    Vec3 shootTarget{};
    uint32_t firingPattern = 0;

    std::vector<Shot> shots;               // every shot, in order
};
extern WeaponsModel weapons;

uint32_t currentWeaponHash();  // 0xA2719263 with empty hands

// Puts a weapon in the player's hand (a swap when another one was held; a
// reload in progress is abandoned). ammo < 0 keeps the weapon's rounds from
// before (a full magazine the first time). withMuzzle = false gives a weapon
// object without a "Gun_Muzzle" bone.
void equipWeapon(const std::string& name, int32_t ammo = -1, bool withMuzzle = true);
void unequipWeapon();  // empty hands
void setAmmo(int32_t rounds);  // rounds in the current weapon's magazine

// Firing scripts: these two run frames.
void fireOnce();                        // attack pressed for one frame, then released for one
void holdBurst(uint32_t milliseconds);  // attack held this long (shots at the weapon's rate), then released
void startReload();                     // reloading from the next frame; the magazine is full when it ends

}  // namespace sim

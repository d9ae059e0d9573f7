#include "sim/world/weapons.h"

#include <cctype>

#include "sim/sim.h"
#include "sim/world/controls.h"
#include "sim/world/entities.h"
#include "sim/world/player.h"

namespace sim {

WeaponsModel weapons;

uint32_t hashKey(const std::string& text) {
    uint32_t h = 0;
    for (char c : text) {
        h += static_cast<uint8_t>(std::tolower(static_cast<unsigned char>(c)));
        h += h << 10;
        h ^= h >> 6;
    }
    h += h << 3;
    h ^= h >> 11;
    h += h << 15;
    return h;
}

const std::vector<WeaponType>& weaponTypes() {
    // name, group, magazine, ms per shot, ms per reload, automatic, fires, object in hand
    static const std::vector<WeaponType> types = {
        {"WEAPON_UNARMED", "GROUP_UNARMED", 0, 0, 0, false, false, false},
        {"WEAPON_KNIFE", "GROUP_MELEE", 0, 0, 0, false, false, true},
        {"WEAPON_GRENADE", "GROUP_THROWN", 0, 0, 0, false, false, true},
        {"WEAPON_PETROLCAN", "GROUP_PETROLCAN", 0, 0, 0, false, false, true},
        {"WEAPON_FIREEXTINGUISHER", "GROUP_FIRE_EXTINGUISHER", 0, 0, 0, false, false, true},
        {"WEAPON_PISTOL", "GROUP_PISTOL", 12, 150, 1300, false, true, true},
        {"WEAPON_FLAREGUN", "GROUP_PISTOL", 1, 800, 1500, false, true, true},
        {"WEAPON_STUNGUN", "GROUP_STUNGUN", 0, 500, 0, false, true, true},
        {"WEAPON_SMG", "GROUP_SMG", 30, 70, 1800, true, true, true},
        {"WEAPON_CARBINERIFLE", "GROUP_RIFLE", 30, 100, 2000, true, true, true},
        {"WEAPON_COMBATMG", "GROUP_MG", 100, 80, 4000, true, true, true},
        {"WEAPON_PUMPSHOTGUN", "GROUP_SHOTGUN", 8, 900, 2500, false, true, true},
        {"WEAPON_SNIPERRIFLE", "GROUP_SNIPER", 10, 1200, 2500, false, true, true},
        {"WEAPON_MINIGUN", "GROUP_HEAVY", 500, 25, 0, true, true, true},
        {"WEAPON_RPG", "GROUP_HEAVY", 1, 1000, 3000, false, true, true},
    };
    return types;
}

const WeaponType* findWeaponType(const std::string& name) {
    for (const WeaponType& t : weaponTypes())
        if (name == t.name) return &t;
    return nullptr;
}

namespace {

const WeaponType* typeByHash(uint32_t hash) {
    for (const WeaponType& t : weaponTypes())
        if (hashKey(t.name) == hash) return &t;
    return nullptr;
}

bool isPlayer(int32_t ped) { return ped != 0 && ped == player.ped; }

// Where the weapon sits relative to the ped: right hand, in front of the chest.
constexpr Vec3 kWeaponInHand{0.22f, 0.45f, 0.5f};
constexpr Vec3 kMuzzle{0.0f, 0.32f, 0.05f};  // on the weapon object

void placeWeaponObject() {
    EntityState* object = findEntity(weapons.weaponObject);
    if (!object) return;
    const EntityState& ped = playerPed();
    object->position = localToWorld(ped, kWeaponInHand);
    object->rotation = ped.rotation;
}

void dropWeaponObject() {
    if (weapons.weaponObject) removeEntity(weapons.weaponObject);
    weapons.weaponObject = 0;
}

bool canFire() {
    const WeaponType* t = weapons.current;
    if (!t || !t->fires || weapons.reloading) return false;
    if (t->magazine > 0 && weapons.ammo[hashKey(t->name)] <= 0) {
        if (weapons.autoReload) startReload();
        return false;
    }
    return !weapons.everShot || now() - weapons.lastShotTick >= t->shotMs;
}

void fire(bool ordered) {
    const WeaponType* t = weapons.current;
    uint32_t hash = hashKey(t->name);
    if (t->magazine > 0) --weapons.ammo[hash];
    weapons.shotThisFrame = true;
    weapons.lastShotTick = now();
    weapons.everShot = true;
    weapons.shots.push_back({frameIndex(), now(), hash, ordered});
}

// The game's weapon update, before the scripts see the frame.
const FrameStep weaponFrame(Phase::BeforeScripts, 20, [] {
    weapons.shotThisFrame = false;
    if (weapons.reloading && int32_t(now() - weapons.reloadEndTick) >= 0) {
        weapons.reloading = false;
        if (weapons.current) weapons.ammo[hashKey(weapons.current->name)] = weapons.current->magazine;
    }
    placeWeaponObject();
    if (!weapons.current) return;

    bool ownFiringDisabled = weapons.ownFiringDisabledFrame + 1 == frameIndex();
    bool held = controls.held[kControlAttack];
    bool pressed = held && !controls.heldLastFrame[kControlAttack];
    bool wantsOwn = !ownFiringDisabled && (weapons.current->automatic ? held : pressed);
    if ((weapons.shootOrder || wantsOwn) && canFire()) fire(!wantsOwn);
});

}  // namespace

uint32_t currentWeaponHash() { return hashKey(weapons.current ? weapons.current->name : "WEAPON_UNARMED"); }

void equipWeapon(const std::string& name, int32_t ammo, bool withMuzzle) {
    const WeaponType* t = findWeaponType(name);
    if (!t) fail("unknown weapon " + name);
    dropWeaponObject();
    weapons.reloading = false;
    weapons.current = name == "WEAPON_UNARMED" ? nullptr : t;
    uint32_t hash = hashKey(t->name);
    if (ammo >= 0) {
        weapons.ammo[hash] = t->magazine > 0 ? ammo : 0;
    } else if (!weapons.ammo.count(hash)) {
        weapons.ammo[hash] = t->magazine;
    }
    weapons.objectHasMuzzle = withMuzzle;
    if (t->heldObject) {
        EntityState& object = spawnEntity(EntityKind::Object, {0.0f, 0.0f, 0.0f});
        if (withMuzzle && t->fires) object.bones.push_back({"Gun_Muzzle", 0, kMuzzle});
        weapons.weaponObject = object.handle;
        placeWeaponObject();
    }
}

void unequipWeapon() { equipWeapon("WEAPON_UNARMED"); }

void setAmmo(int32_t rounds) {
    if (weapons.current) weapons.ammo[hashKey(weapons.current->name)] = rounds;
}

void fireOnce() { tapControl(kControlAttack, 1); }

void holdBurst(uint32_t milliseconds) {
    holdControl(kControlAttack);
    runFor(milliseconds);
    releaseControl(kControlAttack);
    frame();
}

void startReload() {
    if (!weapons.current || weapons.current->reloadMs == 0) return;
    weapons.reloading = true;
    weapons.reloadEndTick = now() + weapons.current->reloadMs;
}

SIM_NATIVE(native::kGetHashKey) {
    call.ret(call.s(0) ? hashKey(call.s(0)) : 0u);
}
SIM_NATIVE(native::kGetCurrentPedWeapon) {
    uint32_t weapon = isPlayer(call.i(0)) ? currentWeaponHash() : hashKey("WEAPON_UNARMED");
    if (uint32_t* out = call.out<uint32_t>(1)) *out = weapon;
    call.ret(weapon != hashKey("WEAPON_UNARMED"));
}
SIM_NATIVE(native::kGetWeapontypeGroup) {
    const WeaponType* t = typeByHash(call.u(0));
    call.ret(t ? hashKey(t->group) : 0u);
}
SIM_NATIVE(native::kGetAmmoInPedWeapon) {
    const WeaponType* t = typeByHash(call.u(1));
    bool counted = isPlayer(call.i(0)) && t && t->magazine > 0;
    call.ret(counted ? weapons.ammo[call.u(1)] : 0);
}
SIM_NATIVE(native::kIsPedShooting) {
    call.ret(isPlayer(call.i(0)) && weapons.shotThisFrame);
}
SIM_NATIVE(native::kIsPedReloading) {
    call.ret(isPlayer(call.i(0)) && weapons.reloading);
}
SIM_NATIVE(native::kGetCurrentPedWeaponEntityIndex) {
    call.ret(isPlayer(call.i(0)) ? weapons.weaponObject : 0);
}
SIM_NATIVE(native::kDisablePlayerFiring) {
    if (call.i(0) == player.id && call.b(1)) weapons.ownFiringDisabledFrame = frameIndex();
}
SIM_NATIVE(native::kSetPedShootsAtCoord) {
    if (!isPlayer(call.i(0))) return;
    weapons.shootOrder = call.b(4);
    weapons.shootTarget = {call.f(1), call.f(2), call.f(3)};
}
SIM_NATIVE(native::kClearPedSecondaryTask) {
    if (isPlayer(call.i(0))) weapons.shootOrder = false;
}
SIM_NATIVE(native::kSetPedFiringPattern) {
    if (isPlayer(call.i(0))) weapons.firingPattern = call.u(1);
}

}  // namespace sim

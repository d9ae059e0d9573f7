#include "weapon/recoil.h"

#include <cmath>
#include <cstdint>

#include "runtime/control_queries.h"
#include "runtime/controls.h"
#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "runtime/platform.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "weapon/weapon.h"

float recoilPitch, recoilYaw, recoilRoll;

namespace {

// The two modes share one shape; kicks and caps are multiples of the strength.
struct RecoilShape {
    float pitchKick;       // pitch kick = (pitchKick + pitchKickSpread * u) * strength, u in 0..0.99
    float pitchKickSpread;
    float yawKick;         // yaw kick = yawKick * s * strength, s in -1..0.99
    float rollKick;
    float pitchCap;        // pitch stays within 0..pitchCap * strength
    float yawCap;          // yaw within +-yawCap * strength
    float rollCap;
    float pitchReturn;     // per second
    float sideReturn;      // yaw and roll, per second
    float dtCap;           // seconds
};
constexpr RecoilShape kShake{1.1f, 0.45f, 0.45f, 0.55f, 5.0f, 2.5f, 3.0f, 11.0f, 13.0f, 0.1f};
constexpr RecoilShape kBodycam{0.55f, 0.3f, 0.22f, 0.25f, 2.5f, 1.2f, 1.4f, 9.0f, 12.0f, 0.05f};

constexpr uint32_t kShakeKickSpacingMs = 46;  // at most one shake kick this often while firing
constexpr float kFirstFrameDt = 0.016f;       // seconds, when there is no previous recoil frame
constexpr float kSnapToZero = 0.0005f;        // degrees

uint32_t recoilTick;           // previous recoil frame, 0 = none
uint8_t firingLastFrame;       // the shake saw firing in the previous frame
uint32_t lastShakeKickTick;
int32_t lastAmmo = -1;         // magazine count of the previous bodycam frame
Hash lastRecoilWeapon;         // weapon of the previous bodycam frame
uint32_t lastBodycamKickTick;  // last kick that came from the shooting state


// The standard library generator, never seeded: u in 0..0.99, s in -1..0.99.
float unitDraw() { return static_cast<float>(osRandom() % 100) / 100.0f; }
float signedDraw() { return static_cast<float>(osRandom() % 200) / 100.0f - 1.0f; }

void kick(const RecoilShape& shape, float strength) {
    recoilPitch += (shape.pitchKick + shape.pitchKickSpread * unitDraw()) * strength;
    recoilYaw += shape.yawKick * signedDraw() * strength;
    recoilRoll += shape.rollKick * signedDraw() * strength;
    recoilPitch = clampf(recoilPitch, 0.0f, shape.pitchCap * strength);
    recoilYaw = clampf(recoilYaw, -shape.yawCap * strength, shape.yawCap * strength);
    recoilRoll = clampf(recoilRoll, -shape.rollCap * strength, shape.rollCap * strength);
}

float snap(float v) { return std::fabs(v) < kSnapToZero ? 0.0f : v; }

void settle(const RecoilShape& shape, float dt) {
    recoilPitch *= 1.0f - clampf(shape.pitchReturn * dt, 0.0f, 1.0f);
    recoilYaw *= 1.0f - clampf(shape.sideReturn * dt, 0.0f, 1.0f);
    recoilRoll *= 1.0f - clampf(shape.sideReturn * dt, 0.0f, 1.0f);
    recoilPitch = snap(recoilPitch);
    recoilYaw = snap(recoilYaw);
    recoilRoll = snap(recoilRoll);
}

void updateRecoilShake(Ped ped) {
    float dt = secondsSinceLast(recoilTick, kFirstFrameDt, kShake.dtCap);
    bool fireInput = isPressedEnabledFirst(kControlGroupPlayer, kControlAttack) ||
                     isPressedEnabledFirst(kControlGroupPlayer, kControlAttack2);
    bool firing = isFirearm(ped) && (game::isPedShooting(ped) || fireInput);
    bool tooSoon = firingLastFrame && frameTick - lastShakeKickTick < kShakeKickSpacingMs;
    if (firing && !tooSoon) {
        kick(kShake, RecoilAmount);
        lastShakeKickTick = frameTick;
    }
    firingLastFrame = firing;
    settle(kShake, dt);
}

// A shot is a drop in the magazine count of the same weapon, or else the game's
// shooting state no sooner than the group's shot interval after the last one.
void updateBodycamRecoil(Ped ped) {
    float dt = secondsSinceLast(recoilTick, kFirstFrameDt, kBodycam.dtCap);
    Hash weapon = currentWeapon(ped);
    Hash group = isArmed(weapon) ? weaponGroup(weapon) : 0;
    bool firearm = isArmed(weapon) && isFirearmGroup(group);
    int32_t ammo = weapon != 0 ? game::getAmmoInPedWeapon(ped, weapon) : 0;
    if (!firearm) {
        lastAmmo = ammo;
        lastRecoilWeapon = weapon;
    } else {
        int32_t previous = lastAmmo;
        lastAmmo = ammo;
        bool sameWeapon = weapon == lastRecoilWeapon;
        lastRecoilWeapon = weapon;
        bool shot = false;
        if (sameWeapon && ammo < previous) {
            shot = true;
        } else if (game::isPedShooting(ped) && frameTick - lastBodycamKickTick >= shotIntervalMs(group)) {
            lastBodycamKickTick = frameTick;
            shot = true;
        }
        if (shot) kick(kBodycam, recoilClassAmount(group) * BodycamRecoilAmount);
    }
    settle(kBodycam, dt);
}

}  // namespace

void updateRecoil(Ped ped) {
    if (BodycamMaster && BodycamRecoil) {
        updateBodycamRecoil(ped);
    } else if (RecoilShake) {
        updateRecoilShake(ped);
    } else {
        resetRecoil();
    }
}

void resetRecoil() {
    recoilPitch = recoilYaw = recoilRoll = 0.0f;
    firingLastFrame = 0;
    recoilTick = 0;
    lastAmmo = -1;
    lastRecoilWeapon = 0;
}

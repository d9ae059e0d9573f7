// The aim point, shot redirection and bullet tracers.
//
// The game's own shots leave from the character's weapon along the character's
// aim, which in bodycam mode lags and sways away from what the camera shows. So
// while the bodycam is on, the player's own firing is disabled every frame and
// the character is ordered to shoot, full-auto, at the point the camera's aim
// ray hits. A press begun without aim first forces aim for 150 ms, so that the
// weapon is raised before the first round leaves.
#include "overlay/tracers.h"

#include <cmath>

#include "camera/onfoot.h"
#include "overlay/overlay.h"
#include "runtime/control_queries.h"
#include "runtime/controls.h"
#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "weapon/weapon.h"

uint8_t aimPointValid;
Vec3 aimPoint;

namespace {

// Aim ray.
constexpr float kAimRayLength = 2000.0f;  // metres; the aim point when nothing is hit
constexpr int kProbeAgainstEverything = 31;  // map, vehicles, peds, ragdolls, objects
constexpr int kProbeOptions = 7;

// Trigger.
constexpr float kForcedAimValue = 1.0f;
constexpr uint32_t kUnaimedFireDelayMs = 150;  // aim raised before the first shot of an unaimed press

// Tracer flight and look.
constexpr int kTracerSlots = 24;
constexpr float kTracerSpeed = 350.0f;        // metres per second
constexpr float kMinFlightTime = 0.05f;       // seconds
constexpr float kStreakLength = 14.0f;        // metres
constexpr float kMaxStreakFraction = 0.85f;   // of the path, on short paths
constexpr float kMinTracerPath = 2.0f;        // metres; shorter paths are never drawn
constexpr float kGlowOffset = 0.02f;          // metres above and below the core line
constexpr int kGlowRed = 255, kGlowGreen = 150, kGlowBlue = 60, kGlowAlpha = 70;
constexpr int kCoreRed = 255, kCoreGreen = 236, kCoreBlue = 190, kCoreAlpha = 235;

struct TracerSlot {
    Vec3 start;           // muzzle at the shot
    Vec3 end;             // aim point at the shot
    uint32_t spawnTick;
    uint8_t active;
};
TracerSlot tracers[kTracerSlots];

// Fire redirection (persistent across frames).
uint8_t fireRedirect;       // shooting has been ordered since the bodycam went on
uint8_t burstActive;        // a trigger press is being redirected
Ped burstPed;               // the ped that press ordered to shoot
uint32_t burstStartTick;
uint8_t aimedAtBurstStart;  // aim was held when the press began
Hash fullAutoPattern;       // hash of "FIRING_PATTERN_FULL_AUTO", 0 until first needed
uint32_t lastTracerTick;    // last shot event considered for a tracer

// Casts the camera's aim ray with one synchronous probe. Produces aimPoint and
// aimPointValid; returns false (and leaves both alone) when the camera pose
// holds no usable number.
bool castAimRay(Ped ped) {
    float pitch = gameplayPitch * kDegToRad;
    float yaw = gameplayYaw * kDegToRad;
    Vec3 o = lastCameraPosition;
    Vec3 far = {o.x - kAimRayLength * std::cos(pitch) * std::sin(yaw),
                o.y + kAimRayLength * std::cos(pitch) * std::cos(yaw),
                o.z + kAimRayLength * std::sin(pitch)};
    if (!isFinite3(o.x, o.y, o.z) || !isFinite3(far.x, far.y, far.z)) return false;
    int probe = game::startExpensiveSynchronousShapeTestLosProbe(o.x, o.y, o.z, far.x, far.y, far.z,
                                                                 kProbeAgainstEverything, ped, kProbeOptions);
    int32_t hit = 0;
    NativeVector3 hitPos{}, normal{};
    Entity hitEntity = 0;
    game::getShapeTestResult(probe, &hit, &hitPos, &normal, &hitEntity);
    bool useHit = hit != 0 && isWithin3(hitPos.x, hitPos.y, hitPos.z, kWorldLimit);
    aimPoint = useHit ? Vec3{hitPos.x, hitPos.y, hitPos.z} : far;
    aimPointValid = 1;
    return true;
}

// Ends the press: the order to shoot is withdrawn and the task it started cleared.
void endPress() {
    game::setPedShootsAtCoord(burstPed, aimPoint.x, aimPoint.y, aimPoint.z, false);
    game::clearPedSecondaryTask(burstPed);
    burstActive = 0;
}

// One frame of the redirected trigger: a press is a run of firing frames, and
// every frame of it orders the character to shoot at the aim point (or, for the
// first 150 ms of a press begun without aim, only holds fire).
void redirectFire(Ped ped, Player player, bool firing, bool aimHeld, uint32_t now) {
    if (firing) {
        if (!burstActive) {
            burstPed = ped;
            burstStartTick = now;
            aimedAtBurstStart = aimHeld ? 1 : 0;
        }
        game::setPedFiringPattern(ped, fullAutoPattern);
        fireRedirect = 1;
        if (aimedAtBurstStart || now - burstStartTick >= kUnaimedFireDelayMs)
            game::setPedShootsAtCoord(ped, aimPoint.x, aimPoint.y, aimPoint.z, true);
        burstActive = 1;
        game::disablePlayerFiring(player, true);
        return;
    }
    if (burstActive) endPress();
    game::disablePlayerFiring(player, true);
    game::disableControlAction(kControlGroupPlayer, kControlAttack, true);
    game::disableControlAction(kControlGroupPlayer, kControlAttack2, true);
}

// A shot event at most once per shot interval of the weapon's group; a tracer
// for it from the muzzle to the aim point when the weapon draws tracers.
void spawnShotTracer(Ped ped, Hash weapon, Hash group, uint32_t now) {
    if (!game::isPedShooting(ped) || now - lastTracerTick < shotIntervalMs(group)) return;
    lastTracerTick = now;
    if (!isTracerWeapon(weapon, group)) return;
    Vec3 start = lastCameraPosition;
    Entity object = game::getCurrentPedWeaponEntityIndex(ped);
    if (object != 0) {
        int muzzle = game::getEntityBoneIndexByName(object, "Gun_Muzzle");
        const Vec3 muzzlePoint =
            muzzle != -1 ? game::getWorldPositionOfEntityBone(object, muzzle) : game::getEntityCoords(object, true);
        if (isWithin3(muzzlePoint.x, muzzlePoint.y, muzzlePoint.z, kWorldLimit)) start = muzzlePoint;
    }
    spawnTracer(start.x, start.y, start.z, aimPoint.x, aimPoint.y, aimPoint.z);
}

void drawTracerLine(Vec3 a, Vec3 b, float lift, int r, int g, int bl, int alpha) {
    game::drawLine(a.x, a.y, a.z + lift, b.x, b.y, b.z + lift, r, g, bl, alpha);
}

}  // namespace

void updateAimPointAndFire(Ped ped) {
    // The bodycam off: hand the trigger back, clearing our shoot order once.
    if (!BodycamMaster) {
        if (fireRedirect) {
            game::clearPedSecondaryTask(ped);
            fireRedirect = 0;
            burstActive = 0;  // the clear ended any press
        }
        return;
    }
    // Only weapons that fire are redirected; a press still ordered when the
    // weapon changes to one that does not fire ends here.
    Hash weapon = currentWeapon(ped);
    Hash group = isArmed(weapon) ? weaponGroup(weapon) : 0;
    if (!isArmed(weapon) || !isFirearmGroup(group)) {
        endRedirectedPress();
        return;
    }
    // The aim point: one synchronous probe along the gameplay aim.
    if (!castAimRay(ped)) return;
    // The trigger: attack held and not reloading.
    bool firing = isPressedEnabledFirst(kControlGroupPlayer, kControlAttack) && !game::isPedReloading(ped);
    uint32_t now = frameTick;
    // A firing character raises its weapon: aim held next frame.
    if (firing) game::setControlValueNextFrame(kControlGroupPlayer, kControlAim, kForcedAimValue);
    if (fullAutoPattern == 0) fullAutoPattern = game::getHashKey("FIRING_PATTERN_FULL_AUTO");
    bool aimHeld = isPressedDisabledFirst(kControlGroupPlayer, kControlAim);
    // Shots go to the aim point, full-auto, only through our order.
    redirectFire(ped, game::playerId(), firing, aimHeld, now);
    // A tracer per shot event.
    spawnShotTracer(ped, weapon, group, now);
}

void endRedirectedPress() {
    if (burstActive) endPress();
}

void spawnTracer(float sx, float sy, float sz, float ex, float ey, float ez) {
    if (BulletTracers != 1) return;
    if (!isFinite3(sx, sy, sz) || !isFinite3(ex, ey, ez)) return;
    uint32_t now = frameTick;
    // A free slot, else the one that has flown longest (ages, not raw ticks,
    // so that a wrap of the tick counter does not make the oldest look newest).
    int slot = -1;
    for (int k = 0; k < kTracerSlots && slot < 0; ++k)
        if (!tracers[k].active) slot = k;
    if (slot < 0) {
        slot = 0;
        for (int k = 1; k < kTracerSlots; ++k)
            if (now - tracers[k].spawnTick > now - tracers[slot].spawnTick) slot = k;
    }
    tracers[slot] = {{sx, sy, sz}, {ex, ey, ez}, now, 1};
}

void drawTracers() {
    if (BodycamMaster != 1 || BulletTracers != 1) return;
    uint32_t now = frameTick;
    for (TracerSlot& t : tracers) {
        if (!t.active) continue;
        Vec3 d = {t.end.x - t.start.x, t.end.y - t.start.y, t.end.z - t.start.z};
        float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        if (!std::isfinite(length) || length < kMinTracerPath) {
            t.active = 0;
            continue;
        }
        // Head and tail as fractions of the path: the head flies at 350 m/s,
        // the tail follows 14 m behind (0.85 of a short path).
        float flightTime = std::fmax(kMinFlightTime, length / kTracerSpeed);
        float head = static_cast<float>(now - t.spawnTick) * 0.001f / flightTime;
        float tail = std::fmax(0.0f, head - std::fmin(kMaxStreakFraction, kStreakLength / length));
        if (tail >= 1.0f) {
            t.active = 0;
            continue;
        }
        head = std::fmin(head, 1.0f);
        Vec3 a = {t.start.x + d.x * tail, t.start.y + d.y * tail, t.start.z + d.z * tail};
        Vec3 b = {t.start.x + d.x * head, t.start.y + d.y * head, t.start.z + d.z * head};
        // A soft glow below and above, then the bright core.
        drawTracerLine(a, b, -kGlowOffset, kGlowRed, kGlowGreen, kGlowBlue, kGlowAlpha);
        drawTracerLine(a, b, kGlowOffset, kGlowRed, kGlowGreen, kGlowBlue, kGlowAlpha);
        drawTracerLine(a, b, 0.0f, kCoreRed, kCoreGreen, kCoreBlue, kCoreAlpha);
    }
}

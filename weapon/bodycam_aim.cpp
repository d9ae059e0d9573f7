#include "weapon/bodycam_aim.h"

#include <cmath>

#include "runtime/control_queries.h"
#include "runtime/controls.h"
#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "weapon/weapon.h"

Rotation smoothedRotation;
float handSide, handUp, handForward, handRoll;
uint8_t followInitialised;
Hash aimWeapon;

namespace {

constexpr float kNoLag = 0.001f;            // a lag factor at or below this follows at once
constexpr float kNoDeadzone = 0.001f;       // degrees
constexpr float kHandReach = 20.0f;         // degrees of aim-view difference the hand answers to
constexpr float kHandSidePerDeg = -0.004f;  // metres per degree of yaw difference
constexpr float kHandUpPerDeg = 0.003f;     // metres per degree of pitch difference
constexpr float kHandBackPerDeg = -0.0012f; // metres per degree of |yaw difference|
constexpr float kHandRollPerDeg = 0.18f;    // degrees per degree of yaw difference
constexpr float kHandRate = 10.0f;          // per second, exponential approach
constexpr float kHandDtCap = 0.1f;          // seconds
constexpr float kHandFirstDt = 0.016f;      // seconds, first active frame
constexpr float kHandDecay = 0.9f;          // per frame once inactive
constexpr float kHandSnapMetres = 0.0001f;
constexpr float kHandSnapRoll = 0.0005f;    // degrees

uint32_t handTick;  // previous active hand frame, 0 = none

// The lag factor: the share of the aim-view difference the view keeps each frame.
float lagFactor(Hash weapon) {
    float d = WeaponLead && isArmed(weapon) ? WeaponLeadLag : 0.0f;
    if (BodycamMaster && SmoothFollow && FollowAmount > d) d = FollowAmount;
    return d;
}

// How far past the deadzone edge a difference reaches (0 inside the box).
float beyondDeadzone(float diff, float z) {
    if (diff > z) return diff - z;
    if (diff < -z) return diff + z;
    return 0.0f;
}

void updateSmoothedRotation(Rotation g, float d) {
    if (!followInitialised) {
        smoothedRotation = {g.pitch, g.roll, wrapAngle(g.yaw)};
        followInitialised = 1;
    }
    Rotation& s = smoothedRotation;
    float targetPitch = g.pitch;
    float targetYaw = g.yaw;
    float z = DeadzoneAngle;
    if (BodycamMaster && Deadzone && z > kNoDeadzone) {
        targetPitch = s.pitch + beyondDeadzone(g.pitch - s.pitch, z);
        targetYaw = s.yaw + beyondDeadzone(wrapAngle(g.yaw - s.yaw), z);
    }
    if (d > kNoLag) {
        float step = 1.0f - d;
        s.pitch += step * (targetPitch - s.pitch);
        s.roll += step * (g.roll - s.roll);
        s.yaw = wrapAngle(s.yaw + step * wrapAngle(targetYaw - s.yaw));
    } else {
        s.pitch = targetPitch;
        s.roll = g.roll;
        s.yaw = wrapAngle(targetYaw);
    }
}

float snap(float v, float threshold) { return std::fabs(v) < threshold ? 0.0f : v; }

void updateHand(Rotation g, Hash weapon) {
    if (!(BodycamMaster && Hand3D && isArmed(weapon))) {
        handSide = snap(handSide * kHandDecay, kHandSnapMetres);
        handUp = snap(handUp * kHandDecay, kHandSnapMetres);
        handForward = snap(handForward * kHandDecay, kHandSnapMetres);
        handRoll = snap(handRoll * kHandDecay, kHandSnapRoll);
        handTick = 0;
        return;
    }
    float dt = secondsSinceLast(handTick, kHandFirstDt, kHandDtCap);
    float dy = wrapAngle(g.yaw - smoothedRotation.yaw);
    float dp = g.pitch - smoothedRotation.pitch;
    float cy = clampf(dy, -kHandReach, kHandReach);
    float cp = clampf(dp, -kHandReach, kHandReach);
    float h = Hand3DAmount;
    float k = expEaseFactor(kHandRate, dt);
    handSide += k * (kHandSidePerDeg * cy * h - handSide);
    handUp += k * (kHandUpPerDeg * cp * h - handUp);
    handForward += k * (kHandBackPerDeg * std::fmin(std::fabs(dy), kHandReach) * h - handForward);
    handRoll += k * (kHandRollPerDeg * cy * h - handRoll);
}

}  // namespace

void updateBodycamAim(Ped ped, Rotation gameplay) {
    aimWeapon = currentWeapon(ped);
    // A rotation the game could not give leaves the view where it was.
    if (!isFinite3(gameplay.pitch, gameplay.roll, gameplay.yaw)) return;
    updateSmoothedRotation(gameplay, lagFactor(aimWeapon));
    updateHand(gameplay, aimWeapon);
}

// Sway while aiming a weapon: three sines per axis. The clock runs in double
// precision: the tick counts milliseconds since the system started, and in
// single precision the phase of the fast sines would step visibly after a day
// of uptime.
Rotation aimSway(Hash weapon) {
    if (!AimSway || !isArmed(weapon)) return {0.0f, 0.0f, 0.0f};
    if (!isPressedDisabledFirst(kControlGroupPlayer, kControlAim)) return {0.0f, 0.0f, 0.0f};
    double t = static_cast<double>(frameTick) * 0.001;
    double pitch = 0.4 * std::sin(2.9 * t + 0.6) + 0.38 * std::sin(6.4 * t) + 0.22 * std::sin(12.5 * t + 1.7);
    double yaw = 0.45 * std::sin(2.3 * t) + 0.35 * std::sin(5.7 * t + 1.1) + 0.2 * std::sin(11.0 * t + 0.4);
    return {AimSwayAmount * static_cast<float>(pitch), 0.0f, AimSwayAmount * static_cast<float>(yaw)};
}

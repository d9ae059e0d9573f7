#include "camera/headbob.h"

#include <cmath>

#include "runtime/control_queries.h"
#include "runtime/controls.h"
#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "runtime/runtime.h"
#include "settings/settings.h"

HeadBobOffsets headBob;

namespace {

constexpr float kFullTurn = 6.28318f;   // one stride of phase; deliberately not a more precise 2*pi
constexpr float kFirstFrameDt = 0.016f;  // seconds, when there is no previous bob frame
constexpr float kMaxDt = 0.1f;          // seconds

constexpr uint32_t kWheelHoldMs = 250;     // the suppression stays on this long after a wheel is let go
constexpr float kWheelFadeInRate = 16.0f;  // per second
constexpr float kWheelReleaseRate = 6.0f;  // per second

constexpr float kAimCalmAiming = 0.4f;  // gait gain while aiming
constexpr float kAimCalmRate = 8.0f;    // per second
constexpr float kIdleFloorAiming = 0.5f;  // breathing strength kept while aiming on the move

constexpr float kGaitRiseRate = 8.0f;  // per second, speeding up
constexpr float kGaitFallRate = 5.0f;  // per second, slowing down
constexpr float kStandingLevel = 0.001f;  // a gait level at or below this is standing
constexpr float kStandingDecayRate = 6.0f;  // per second, the gait components dying away
constexpr float kBreathFadePace = 0.6f;  // breathing is gone at this move blend ratio

constexpr float kBounceRate = 12.0f;  // per second: bounce, roll and lateral smoothing
constexpr float kSwayRate = 8.0f;     // per second: pitch dip and yaw sway smoothing
constexpr float kLeanRate = 3.0f;     // per second: forward lean smoothing

// The nine words that a reset zeroes.
float stridePhase;   // radians, 0..kFullTurn
float gaitLevel;     // smoothed move blend ratio
float bobLateral;    // metres
float bobPitchDip;   // degrees
float bobYawSway;    // degrees
float bobBounce;     // metres
float bobRoll;       // degrees
float breathClock;   // seconds
uint32_t bobTick;    // 0 = no previous frame

// Damping and lean, kept across resets (a reset ends a wheel hold, not its fade).
float aimCalm;
float wheelSuppression;
uint32_t wheelHoldUntil;  // 0 = no hold
float bobLean;            // degrees

float smoothstep(float x) { return x * x * (3.0f - 2.0f * x); }

// Smooth pseudo-random motion from three incommensurate sines; k picks the channel.
// The channel products are formed in single precision.
float noise(float t, float k) {
    const float a = 1.7f * k, b = 4.1f * k, c = 9.3f * k;
    return 0.5f * std::sin(t + a) + 0.3f * std::sin(2.3f * t + b) + 0.2f * std::sin(5.1f * t + c);
}

// Target 1 while a wheel is held and for a moment after; quick to fade the bob
// out, slow to bring it back.
void updateWheelSuppression(uint32_t now, float dt) {
    if (isPressedEnabledFirst(kControlGroupPlayer, kControlWeaponWheel) ||
        isPressedEnabledFirst(kControlGroupPlayer, kControlCharacterWheel)) {
        wheelHoldUntil = now + kWheelHoldMs;
        if (wheelHoldUntil == 0) wheelHoldUntil = 1;
    }
    const bool holding = wheelHoldUntil != 0 && static_cast<int32_t>(now - wheelHoldUntil) < 0;
    // An expired hold is forgotten: kept, it would read as ahead again once the
    // tick had moved on 2^31 ms.
    if (!holding) wheelHoldUntil = 0;
    const float target = holding ? 1.0f : 0.0f;
    const float rate = target > wheelSuppression ? kWheelFadeInRate : kWheelReleaseRate;
    wheelSuppression = easeTowards(wheelSuppression, target, rate, dt);
}

// Moving: the stride advances and the gait components follow their targets.
void stride(float dt, float amount) {
    const float gain = (1.0f - wheelSuppression) * aimCalm;
    const float walk = smoothstep(gaitLevel < 1.0f ? gaitLevel : 1.0f);
    const float run = smoothstep(clampf((gaitLevel - 1.0f) * 0.5f, 0.0f, 1.0f));

    const float noiseAmp = amount * (0.25f + 0.6f * walk + 1.6f * run);  // degrees
    const float leanAmp = amount * (0.25f * walk + 0.9f * run);          // degrees
    const float yawAmp = amount * (0.35f * walk + 0.9f * run);           // degrees
    const float pitchAmp = amount * (0.45f * walk + 1.15f * run);        // degrees
    const float rollAmp = amount * (0.7f * walk + 1.7f * run);           // degrees
    const float lateralAmp = amount * (0.016f * walk + 0.04f * run);     // metres
    const float bounceAmp = amount * (0.02f * walk + 0.05f * run);       // metres

    const float strideRate = (0.95f + 0.55f * walk + 0.85f * run) * HeadBobSpeed;  // strides per second
    stridePhase += strideRate * dt * kFullTurn;
    if (stridePhase >= kFullTurn) stridePhase -= kFullTurn;

    const float s1 = std::sin(stridePhase), s2 = std::sin(2.0f * stridePhase);
    bobBounce = easeTowards(bobBounce, bounceAmp * s2, kBounceRate, dt);
    bobRoll = easeTowards(bobRoll, rollAmp * s1, kBounceRate, dt);
    bobLateral = easeTowards(bobLateral, lateralAmp * s1, kBounceRate, dt);
    bobPitchDip = easeTowards(bobPitchDip, -pitchAmp * std::fabs(s2), kSwayRate, dt);
    bobYawSway = easeTowards(bobYawSway, yawAmp * std::cos(stridePhase), kSwayRate, dt);
    bobLean = easeTowards(bobLean, -run * leanAmp, kLeanRate, dt);

    const float t = breathClock;
    const float n1 = 0.9f * noiseAmp * noise(1.1f * t, 1.0f);
    const float n2 = noiseAmp * noise(0.9f * t, 5.0f);
    const float n3 = 0.8f * noiseAmp * noise(1.3f * t, 9.0f);

    headBob.lateral = bobLateral * gain;
    headBob.vertical = bobBounce * gain;
    headBob.roll = (bobRoll + n3) * gain;
    headBob.pitch = (bobPitchDip + bobLean + n1) * gain;
    headBob.yaw = (bobYawSway + n2) * gain;
}

// Standing: the gait components die away and are shown as they are.
void stand(float dt) {
    stridePhase = 0.0f;
    const float decay = 1.0f - (kStandingDecayRate * dt < 1.0f ? kStandingDecayRate * dt : 1.0f);
    bobBounce *= decay;
    bobRoll *= decay;
    bobLateral *= decay;
    bobPitchDip *= decay;
    bobYawSway *= decay;
    headBob = {bobLateral, bobBounce, bobPitchDip, bobYawSway, bobRoll};
}

// Idle breathing, strongest when still and never below the aiming floor.
void breathe(float amount, float idleFloor) {
    float idle = 1.0f - (gaitLevel / kBreathFadePace < 1.0f ? gaitLevel / kBreathFadePace : 1.0f);
    if (idle < idleFloor) idle = idleFloor;
    const float t = breathClock, ai = amount * idle;
    headBob.pitch += ai * (0.09f * std::sin(1.4451f * t + 1.1f) +
                           0.1f * (0.6f * std::sin(0.7f * t) + 0.4f * std::sin(1.9f * t + 0.5f)));
    headBob.yaw += 0.14f * ai * (0.6f * std::sin(0.5f * t + 1.3f) + 0.4f * std::sin(1.3f * t));
    headBob.roll += 0.11f * ai * (0.6f * std::sin(0.6f * t + 2.1f) + 0.4f * std::sin(1.7f * t + 0.9f));
    headBob.vertical += 0.0045f * ai * std::sin(0.9425f * t);
}

}  // namespace

void resetHeadBob() {
    stridePhase = gaitLevel = 0.0f;
    bobLateral = bobPitchDip = bobYawSway = bobBounce = bobRoll = 0.0f;
    breathClock = 0.0f;
    bobTick = 0;
    // A hold that nothing checks any more goes too: found again after the tick
    // had moved on 2^31 ms, it would read as still ahead.
    wheelHoldUntil = 0;
}

void updateHeadBob(Ped ped) {
    if (!HeadBob) {
        resetHeadBob();
        headBob = {};
        return;
    }
    const uint32_t now = frameTick;
    const float dt = secondsSinceLast(bobTick, kFirstFrameDt, kMaxDt);
    breathClock += dt;
    updateWheelSuppression(now, dt);

    // A pace the game cannot express (negative, not a number) is standing.
    const float ratio = game::getPedDesiredMoveBlendRatio(ped);
    const float pace = std::isfinite(ratio) && ratio > 0.0f ? ratio : 0.0f;

    const bool aiming = isPressedDisabledFirst(kControlGroupPlayer, kControlAim);
    aimCalm = easeTowards(aimCalm, aiming ? kAimCalmAiming : 1.0f, kAimCalmRate, dt);
    const float idleFloor = aiming ? kIdleFloorAiming : 0.0f;

    gaitLevel = easeTowards(gaitLevel, pace, pace > gaitLevel ? kGaitRiseRate : kGaitFallRate, dt);
    if (gaitLevel < kStandingLevel) gaitLevel = 0.0f;

    if (gaitLevel > kStandingLevel) stride(dt, HeadBobAmount);
    else stand(dt);
    breathe(HeadBobAmount, idleFloor);
}

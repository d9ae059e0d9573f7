#include "camera/onfoot.h"

#include <cmath>

#include "camera/aiming.h"
#include "camera/headbob.h"
#include "camera/vehicle.h"
#include "runtime/controls.h"
#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "weapon/recoil.h"

Vec3 lastCameraPosition;
uint8_t lastPositionValid;
float gameplayPitch;
float gameplayYaw;
float crouchDrop;

namespace {

constexpr int kHeadBone = 31086;
constexpr int kRotationOrder = 2;  // pitch, roll, yaw
constexpr int kHideHeadResetFlag = 166;

constexpr float kVehicleHeadHideRange2 = 9.0f;  // m^2: rendered camera within 3 m of the ped
constexpr float kFootHeadHideRange2 = 0.25f;    // m^2: rendered camera within 0.5 m of our eye

constexpr uint32_t kSprintHoldMs = 220;  // a press this long sprints instead of toggling
constexpr float kWalkPace = 1.0f, kJogPace = 2.0f, kSprintPace = 3.0f;  // move blend ratios
constexpr float kSteerThreshold = 0.1f;  // move input below this is standing

constexpr float kCrouchRate = 9.0f;          // per second, down and up alike
constexpr float kCrouchFirstDt = 0.016f;     // seconds
constexpr float kCrouchMaxDt = 0.1f;         // seconds
constexpr float kCrouchSnap = 0.0005f;       // metres: below this the drop is 0

constexpr float kMinFov = 30.0f, kMaxFov = 120.0f;  // degrees
// The game reports its camera angles within -180..180; beyond a hundred turns
// a reading is not an angle the game meant, and float spacing there no longer
// resolves a degree's fraction.
constexpr float kMaxGameplayAngle = 36000.0f;  // degrees

constexpr float kBackpedalInput = -0.2f;  // forward-back input below this, dominating, is backpedalling
constexpr float kTurnFraction = 0.18f;    // of the excess angle per frame
constexpr float kMinTurnStep = 0.5f;      // degrees per frame

uint8_t jogToggle;
uint32_t sprintPressTick;
uint8_t sprintWasDown;
uint8_t sprintLongHold;
uint32_t crouchTick;

// The last usable readings of the head and the gameplay rotation, each held on
// its own: a frame whose reading is not a number or absurd reuses the last
// good one, so no filter downstream is poisoned. They belong to one camera:
// until a new camera has read both well at least once it has none, is given
// no pose at all, and is not shown.
Vec3 goodHead;
Rotation goodGameplay;
uint8_t goodHeadValid;
uint8_t goodGameplayValid;

// The last pose handed to the camera, held when a frame's pose is not finite.
struct Pose {
    Vec3 position;
    Rotation rotation;
    float fov;
};
Pose goodPose;
uint8_t goodPoseValid;

float distance2(Vec3 a, Vec3 b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

float moveInput(int positive, int negative) {
    return game::getControlNormal(kControlGroupPlayer, positive) -
           game::getControlNormal(kControlGroupPlayer, negative);
}

// 0..360, the way the game reports headings.
float wrapHeading(float a) {
    const float w = wrapAngle(a);
    return w < 0.0f ? w + 360.0f : w;
}

}  // namespace

void hideHead(const FrameContext& ctx) {
    const Vec3 rendered = game::getFinalRenderedCamCoord();
    const uint8_t* showHead = nullptr;
    if (ctx.inVehicle) {
        if (distance2(rendered, game::getEntityCoords(ctx.ped, true)) < kVehicleHeadHideRange2) {
            showHead = ctx.twoWheeler ? &MC_ShowHead : &Veh_ShowHead;
        }
    } else if (lastPositionValid && distance2(rendered, lastCameraPosition) < kFootHeadHideRange2) {
        showHead = &ShowHead;
    }
    if (showHead && !*showHead) game::setPedResetFlag(ctx.ped, kHideHeadResetFlag, true);
}

void updateWalkingPace(const FrameContext& ctx) {
    if (!ctx.controlOn) {
        sprintWasDown = 0;
        sprintPressTick = 0;
        sprintLongHold = 0;
        return;
    }
    const uint32_t now = frameTick;
    float pace = jogToggle ? kJogPace : kWalkPace;
    const bool pressed = game::isControlPressed(kControlGroupPlayer, kControlSprint);
    if (pressed) {
        if (!sprintWasDown) {
            sprintPressTick = now;
            sprintLongHold = 0;
        }
        if (now - sprintPressTick >= kSprintHoldMs) {
            sprintLongHold = 1;
            pace = kSprintPace;
        }
    } else {
        if (sprintWasDown && !sprintLongHold) {
            jogToggle = jogToggle ? 0 : 1;
            pace = jogToggle ? kJogPace : kWalkPace;
        }
        sprintPressTick = 0;
    }
    sprintWasDown = pressed ? 1 : 0;

    const bool steering = std::fabs(moveInput(kControlMoveForward, kControlMoveBack)) > kSteerThreshold ||
                          std::fabs(moveInput(kControlMoveRight, kControlMoveLeft)) > kSteerThreshold;
    game::setPedMaxMoveBlendRatio(ctx.ped, steering ? pace : kWalkPace);
}

HeadAnchor readHeadAnchor(Ped ped) {
    const Vec3 head = game::getPedBoneCoords(ped, kHeadBone, 0.0f, 0.0f, 0.0f);
    if (isWithin3(head.x, head.y, head.z, kWorldLimit)) {
        goodHead = head;
        goodHeadValid = 1;
    }
    // The game keeps its angles in range; wrapping is a no-op then and brings a
    // few extra turns back. Absurd and not-a-number readings keep the last good rotation.
    const Vec3 rot = game::getGameplayCamRot(kRotationOrder);
    if (isWithin3(rot.x, rot.y, rot.z, kMaxGameplayAngle)) {
        goodGameplay = {wrapAngle(rot.x), wrapAngle(rot.y), wrapAngle(rot.z)};
        goodGameplayValid = 1;
    }
    gameplayPitch = goodGameplay.pitch;
    gameplayYaw = goodGameplay.yaw;
    return {goodHead, goodGameplay, goodHeadValid && goodGameplayValid};
}

Vec3 updateBasePosition(Vec3 head) {
    const float theta = smoothedRotation.pitch * kDegToRad, psi = smoothedRotation.yaw * kDegToRad;
    const float sinTheta = std::sin(theta), cosTheta = std::cos(theta);
    const float sinPsi = std::sin(psi), cosPsi = std::cos(psi);
    const float h = Height, s = Side + handSide, f = Forward + handForward;
    // Height along the camera's up axis; Side and Forward level, along the view's right and forward.
    const Vec3 base{head.x + h * sinTheta * sinPsi + s * cosPsi - f * sinPsi,
                    head.y - h * sinTheta * cosPsi + s * sinPsi + f * cosPsi,
                    head.z + h * cosTheta + handUp};
    if (isFinite3(base.x, base.y, base.z)) {
        lastCameraPosition = base;
        lastPositionValid = 1;
    }
    return base;
}

void updateCrouchDrop(Ped ped) {
    if (!CrouchLower) {
        resetCrouchDrop();
        return;
    }
    const float dt = secondsSinceLast(crouchTick, kCrouchFirstDt, kCrouchMaxDt);
    const float target = game::getPedStealthMovement(ped) ? CrouchLowerAmount : 0.0f;
    crouchDrop = easeTowards(crouchDrop, target, kCrouchRate, dt);
    if (std::fabs(crouchDrop) < kCrouchSnap) crouchDrop = 0.0f;
}

void resetCrouchDrop() {
    crouchDrop = 0.0f;
    crouchTick = 0;
}

void forgetHeldReadings() {
    goodHeadValid = 0;
    goodGameplayValid = 0;
    goodPoseValid = 0;
}

bool applyPose(Vec3 base, Rotation sway) {
    const float psi = smoothedRotation.yaw * kDegToRad;
    Pose pose;
    pose.position = {base.x + std::cos(psi) * headBob.lateral, base.y + std::sin(psi) * headBob.lateral,
                     base.z + headBob.vertical - crouchDrop};
    pose.rotation.pitch = smoothedRotation.pitch + headBob.pitch + recoilPitch;
    pose.rotation.yaw = smoothedRotation.yaw + headBob.yaw + recoilYaw;
    pose.rotation.roll = smoothedRotation.roll + headBob.roll + recoilRoll + handRoll;
    pose.rotation.pitch += sway.pitch;
    pose.rotation.yaw += sway.yaw;
    updateAdsZoom();
    pose.fov = clampf(FOV - adsBlend * ADSZoomAmount, kMinFov, kMaxFov);

    // A pose that is not finite or leaves the world is never handed to the game:
    // the camera holds the last good one.
    const bool finite = isWithin3(pose.position.x, pose.position.y, pose.position.z, kWorldLimit) &&
                        isFinite3(pose.rotation.pitch, pose.rotation.roll, pose.rotation.yaw) &&
                        std::isfinite(pose.fov);
    if (finite) {
        goodPose = pose;
        goodPoseValid = 1;
    } else if (!goodPoseValid) {
        return false;
    }
    game::setCamCoord(cameraHandle, goodPose.position.x, goodPose.position.y, goodPose.position.z);
    game::setCamRot(cameraHandle, goodPose.rotation.pitch, goodPose.rotation.roll, goodPose.rotation.yaw,
                    kRotationOrder);
    game::setCamFov(cameraHandle, goodPose.fov);
    return true;
}

void updateAutoTurn(Ped ped) {
    if (!AutoTurn) return;
    const float fb = moveInput(kControlMoveForward, kControlMoveBack);
    const float lr = moveInput(kControlMoveRight, kControlMoveLeft);
    const bool backpedalling = fb < kBackpedalInput && std::fabs(fb) >= std::fabs(lr);
    const float heading = game::getEntityHeading(ped);
    const float viewYaw = gameplayYaw < 0.0f ? gameplayYaw + 360.0f : gameplayYaw;
    if (backpedalling) {
        game::setEntityHeading(ped, viewYaw);
        return;
    }
    const float diff = wrapAngle(viewYaw - heading);
    const float excess = std::fabs(diff) - AutoTurnAngle;
    if (!(excess > 0.0f)) return;
    const float step = std::fmin(excess, std::fmax(kMinTurnStep, kTurnFraction * excess));
    const float turned = wrapHeading(diff > 0.0f ? heading + step : heading - step);
    if (std::isfinite(turned)) game::setEntityHeading(ped, turned);
}

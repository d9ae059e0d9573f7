// The in-vehicle cameras. Cars and two-wheelers share one algorithm; a Variant
// row says which settings each reads and where they differ.
//
// Each frame: find the vehicle, set it up or track it (seat anchor, inertia,
// attach), then steer the look offsets and set rotation and field of view.
#include "camera/vehicle.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "camera/rig.h"
#include "runtime/control_queries.h"
#include "runtime/controls.h"
#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "runtime/input.h"
#include "runtime/runtime.h"
#include "runtime/virtual_keys.h"
#include "settings/settings.h"

Vehicle attachedVehicle;
uint8_t vehicleAttached;
const char* seatBoneName;
InVehicleCamState vehicleCam;
InVehicleCamState motorcycleCam;

namespace {

// The game's vehicle classes ridden astride.
constexpr int kClassMotorcycle = 8;
constexpr int kClassCycle = 13;

// ---- inputs -------------------------------------------------------------------

constexpr uint32_t kLookResetDebounceMs = 250;  // NUMPAD0 held resets about four times a second

// ---- braking reset flags (car camera) -------------------------------------------

constexpr int kBrakeResetFlags[] = {236, 287};
constexpr float kBrakeFlagMinSpeed = 1.0f;  // m/s forward

// ---- look -----------------------------------------------------------------------

constexpr float kLimitedPitchMin = -60.0f;      // degrees
constexpr float kLimitedPitchMax = 40.0f;       // degrees
constexpr float kLimitedPitchFactor = 0.75f;    // pitch turns slower than yaw
constexpr float kAimYawFactor = 1.33f;          // yaw turns faster while aiming
constexpr float kAimYawLimit = 180.0f;          // degrees
constexpr float kPitchLimit = 89.0f;            // degrees, free look, aiming and the final pitch
constexpr float kFreeLookYawRange = 360.0f;     // degrees, free-look yaw stays within +-this
constexpr int kRotationOrder = 2;               // rotations as (pitch, roll, yaw)

// ---- inertia --------------------------------------------------------------------

constexpr float kMaxVehicleSpeed = 300.0f;      // m/s: a faster reading is one the game cannot have meant
constexpr float kMaxSeatOffset = 100.0f;        // m from the vehicle's origin: a bone farther off is no seat
constexpr float kMinDt = 0.001f;                // s
constexpr float kMaxDt = 0.1f;                  // s
constexpr float kAccelFilterRate = 10.0f;       // per second
constexpr float kReverseShiftPerSpeed = 0.028f; // m per m/s of reverse speed
constexpr float kMaxReverseShift = 0.12f;       // m
constexpr float kBrakeDecelThreshold = 8.0f;    // m/s^2 of deceleration before the camera moves
constexpr float kBrakeShiftPerDecel = 0.012f;   // m per m/s^2 above the threshold
constexpr float kMaxSpeedShift = 0.2f;          // m, reverse and braking together
constexpr float kPeakDecayRate = 40.0f;         // m/s per second
constexpr float kCrashMinPeak = 12.0f;          // m/s: slower than this never counts as a crash
constexpr float kCrashMinLoss = 10.0f;          // m/s lost below the peak
constexpr float kCrashImpulsePerLoss = 0.03f;   // per m/s lost beyond kCrashMinLoss
constexpr float kMaxCrashGain = 0.3f;           // largest impulse one crash adds
constexpr float kMaxCrashImpulse = 0.5f;
constexpr float kCrashImpulseDecay = 1.2f;      // per second
constexpr float kMaxTotalShift = 0.5f;          // m, before the strength setting
constexpr float kShiftReturnRate = 5.0f;        // per second, back towards a lower target
constexpr float kShiftRate = 12.0f;             // per second, forwards
constexpr float kShiftCrashRate = 20.0f;        // per second, forwards while a crash impulse lasts
constexpr float kCrashActiveImpulse = 0.01f;

// ---- seats ----------------------------------------------------------------------

// Seat bones by the game's seat index + 1 (the driver is seat -1).
constexpr const char* kSeatBones[] = {"seat_dside_f", "seat_pside_f", "seat_dside_r", "seat_pside_r"};
constexpr int kDriverSeat = -1;
constexpr int kLastBonedSeat = 2;
static_assert(sizeof kSeatBones / sizeof kSeatBones[0] == kLastBonedSeat - kDriverSeat + 1,
              "one bone per seat from the driver's to seat 2");

// What tells the two cameras apart.
struct Variant {
    InVehicleCamState* state;
    const float* side;               // metres
    const float* forward;            // metres
    const float* height;             // metres
    const float* fov;                // degrees
    const float* sensitivity;        // degrees per frame at full stick
    const uint8_t* freeLook;
    const float* freeLookSensitivity;
    const float* yawLimit;           // degrees, limited look
    const uint8_t* inertia;
    const float* inertiaAmount;      // multiplier
    float boneHeight;                // metres above the seat bone
    Vec3 defaultAnchor;              // when the vehicle has no such seat bone
    bool car;                        // brake flags, re-anchoring on a seat change, set-up only with a camera
};

constexpr Variant kCar{.state = &vehicleCam,
                       .side = &Veh_Side,
                       .forward = &Veh_Forward,
                       .height = &Veh_Height,
                       .fov = &Veh_FOV,
                       .sensitivity = &Veh_Sensitivity,
                       .freeLook = &FreeLook,
                       .freeLookSensitivity = &FreeLookSensitivity,
                       .yawLimit = &Veh_YawLimit,
                       .inertia = &Veh_CamInertia,
                       .inertiaAmount = &Veh_CamInertiaAmount,
                       .boneHeight = 0.6f,
                       .defaultAnchor = {0.0f, 0.0f, 0.8f},
                       .car = true};
constexpr Variant kMotorcycle{.state = &motorcycleCam,
                              .side = &MC_Side,
                              .forward = &MC_Forward,
                              .height = &MC_Height,
                              .fov = &MC_FOV,
                              .sensitivity = &MC_Sensitivity,
                              .freeLook = &MC_FreeLook,
                              .freeLookSensitivity = &MC_FreeLookSensitivity,
                              .yawLimit = &MC_YawLimit,
                              .inertia = &MC_CamInertia,
                              .inertiaAmount = &MC_CamInertiaAmount,
                              .boneHeight = 0.55f,
                              .defaultAnchor = {0.0f, 0.0f, 0.7f},
                              .car = false};

float finiteOr(float value, float fallback) { return std::isfinite(value) ? value : fallback; }

// Forward speed in the vehicle's own frame; a value the game could not give
// keeps the previous one, so it reads as no acceleration.
float readForwardSpeed(Vehicle vehicle, float previous) {
    const float speed = game::getEntitySpeedVector(vehicle, true).y;
    return std::fabs(speed) <= kMaxVehicleSpeed ? speed : previous;
}

// The vehicle's speed in any direction, for the crash peak; false for a value
// the game could not give.
bool readSpeed(Vehicle vehicle, float& speed) {
    speed = game::getEntitySpeed(vehicle);
    return speed >= 0.0f && speed <= kMaxVehicleSpeed;
}

// The bone of the player's own seat; the driver's bone for a seat beyond 2 (or
// when the game does not show the player in any seat).
const char* seatBoneFor(Vehicle vehicle, Ped player) {
    for (int seat = kDriverSeat; seat <= kLastBonedSeat; ++seat)
        if (game::getPedInVehicleSeat(vehicle, seat) == player) return kSeatBones[seat - kDriverSeat];
    return kSeatBones[0];
}

// The camera's base point in the vehicle's frame: the seat bone raised by the
// variant's height, or the variant's default when the bone is missing.
Vec3 seatAnchor(const Variant& v, Vehicle vehicle, const char* bone) {
    int index = game::getEntityBoneIndexByName(vehicle, bone);
    if (index < 0) return v.defaultAnchor;
    Vec3 world = game::getWorldPositionOfEntityBone(vehicle, index);
    if (!isWithin3(world.x, world.y, world.z, kWorldLimit)) return v.defaultAnchor;
    Vec3 local = game::getOffsetFromEntityGivenWorldCoords(vehicle, world.x, world.y, world.z);
    if (!isWithin3(local.x, local.y, local.z, kMaxSeatOffset)) return v.defaultAnchor;
    return {local.x, local.y, local.z + v.boneHeight};
}

// Attaches the camera at the anchor plus the offset settings and the forward shift.
void attachAtSeat(const Variant& v, Vehicle vehicle) {
    const InVehicleCamState& s = *v.state;
    game::attachCamToEntity(cameraHandle, vehicle, s.seatAnchor.x + *v.side,
                            s.seatAnchor.y + *v.forward + s.forwardShift, s.seatAnchor.z + *v.height, true);
}

// First frame on a vehicle: zero the offsets and inertia, anchor at the seat, attach.
void setUpOnVehicle(const Variant& v, Ped ped, Vehicle vehicle, float forwardSpeed) {
    InVehicleCamState& s = *v.state;
    bool cameraExists = game::doesCamExist(cameraHandle);
    if (cameraExists) game::detachCam(cameraHandle);
    s.lookYaw = s.lookPitch = s.freeLookYaw = s.freeLookPitch = 0.0f;
    attachedVehicle = vehicle;
    s.forwardShift = 0.0f;
    s.lastForwardSpeed = forwardSpeed;
    s.lastTick = frameTick;
    s.crashImpulse = s.peakSpeed = s.filteredAccel = 0.0f;
    if (v.car) {
        game::getVehicleBodyHealth(vehicle);  // part of the car camera's set-up; the value is not used
        if (!cameraExists) return;            // not attached: the next frame sets up again
        seatBoneName = seatBoneFor(vehicle, ped);
        s.seatAnchor = seatAnchor(v, vehicle, seatBoneName);
    } else {
        s.seatAnchor = seatAnchor(v, vehicle, seatBoneFor(vehicle, ped));
    }
    attachAtSeat(v, vehicle);
    vehicleAttached = 1;
}

// The forward shift from braking, reversing and crashes, for one frame of dt s.
void updateInertia(const Variant& v, Vehicle vehicle, float forwardSpeed, float dt) {
    InVehicleCamState& s = *v.state;
    // Forward acceleration, low-pass filtered; kept current with inertia off too.
    float accel = (forwardSpeed - s.lastForwardSpeed) / dt;
    s.lastForwardSpeed = forwardSpeed;
    s.filteredAccel += std::min(1.0f, kAccelFilterRate * dt) * (accel - s.filteredAccel);

    float impulse = 0.0f;
    float target = 0.0f;
    if (*v.inertia == 1) {
        // Reversing and hard braking push the camera forward, together at most kMaxSpeedShift.
        float shift = forwardSpeed < 0.0f ? std::min(kMaxReverseShift, -kReverseShiftPerSpeed * forwardSpeed) : 0.0f;
        float decel = std::max(0.0f, -s.filteredAccel);
        if (decel > kBrakeDecelThreshold)
            shift += clampf((decel - kBrakeDecelThreshold) * kBrakeShiftPerDecel, 0.0f, kMaxSpeedShift);
        shift = clampf(shift, 0.0f, kMaxSpeedShift);
        // Crash: a sudden loss of more than kCrashMinLoss below the decaying peak speed.
        // A frame whose speed the game could not give tells nothing of a crash:
        // the peak only decays. (The forward speed is no stand-in: a drifting
        // car's is far below its speed.)
        float speed = 0.0f;
        const bool speedRead = readSpeed(vehicle, speed);
        s.peakSpeed = speedRead && s.peakSpeed < speed ? speed : s.peakSpeed - kPeakDecayRate * dt;
        s.peakSpeed = std::max(0.0f, s.peakSpeed);
        impulse = s.crashImpulse;
        if (speedRead && s.peakSpeed > kCrashMinPeak && s.peakSpeed - speed > kCrashMinLoss) {
            const float loss = s.peakSpeed - speed;
            impulse = std::max(clampf((loss - kCrashMinLoss) * kCrashImpulsePerLoss, 0.0f, kMaxCrashGain), impulse);
            s.peakSpeed = speed;
        }
        target = clampf(shift + impulse, 0.0f, kMaxTotalShift) * *v.inertiaAmount;
    } else {
        s.peakSpeed = 0.0f;
    }
    s.crashImpulse = clampf(impulse - kCrashImpulseDecay * dt, 0.0f, kMaxCrashImpulse);

    // Ease towards the target: back slowly, forwards fast, fastest just after a crash.
    float rate = kShiftReturnRate;
    if (s.forwardShift < target) rate = s.crashImpulse > kCrashActiveImpulse ? kShiftCrashRate : kShiftRate;
    s.forwardShift = easeTowards(s.forwardShift, target, rate, dt);
}

// Every later frame on the same vehicle: re-anchor on a seat change (car), inertia, attach.
void trackVehicle(const Variant& v, Ped ped, Vehicle vehicle, float forwardSpeed) {
    InVehicleCamState& s = *v.state;
    if (v.car) {
        const char* bone = seatBoneFor(vehicle, ped);
        if (seatBoneName == nullptr || std::strcmp(bone, seatBoneName) != 0) {
            s.seatAnchor = seatAnchor(v, vehicle, bone);
            seatBoneName = bone;
        }
    }
    float dt = clampf(static_cast<float>(frameTick - s.lastTick) * 0.001f, kMinDt, kMaxDt);
    s.lastTick = frameTick;
    updateInertia(v, vehicle, forwardSpeed, dt);
    attachAtSeat(v, vehicle);
}

// NUMPAD0 zeroes a look pair, at most once per kLookResetDebounceMs.
void resetOnKey(float& yaw, float& pitch, uint32_t& resetTick) {
    if (!isKeyDown(kVkNumpad0) || frameTick - resetTick <= kLookResetDebounceMs) return;
    yaw = pitch = 0.0f;
    resetTick = frameTick;
}

struct LookOffsets {
    float pitch, yaw;  // degrees
};

// Free look, limited look or aiming look; each keeps its own pair of offsets
// (aiming shares the limited pair), so switching never copies values.
LookOffsets updateLook(const Variant& v) {
    InVehicleCamState& s = *v.state;
    bool aiming = game::isDisabledControlPressed(kControlGroupPlayer, kControlAim);
    if (aiming) {
        // The look controls stay with the game, so its own aim turns too.
        float lx = finiteOr(game::getControlNormal(kControlGroupPlayer, kControlLookLeftRight), 0.0f);
        float ly = finiteOr(game::getControlNormal(kControlGroupPlayer, kControlLookUpDown), 0.0f);
        s.lookYaw = clampf(s.lookYaw - kAimYawFactor * *v.sensitivity * lx, -kAimYawLimit, kAimYawLimit);
        s.lookPitch = clampf(s.lookPitch - *v.sensitivity * ly, -kPitchLimit, kPitchLimit);
        return {s.lookPitch, s.lookYaw};
    }
    game::disableControlAction(kControlGroupPlayer, kControlLookLeftRight, true);
    game::disableControlAction(kControlGroupPlayer, kControlLookUpDown, true);
    float lx = finiteOr(game::getDisabledControlNormal(kControlGroupPlayer, kControlLookLeftRight), 0.0f);
    float ly = finiteOr(game::getDisabledControlNormal(kControlGroupPlayer, kControlLookUpDown), 0.0f);
    if (*v.freeLook) {
        s.freeLookYaw = std::fmod(s.freeLookYaw - lx * *v.freeLookSensitivity, kFreeLookYawRange);
        s.freeLookPitch = clampf(s.freeLookPitch - ly * *v.freeLookSensitivity, -kPitchLimit, kPitchLimit);
        resetOnKey(s.freeLookYaw, s.freeLookPitch, s.freeLookResetTick);
        return {s.freeLookPitch, s.freeLookYaw};
    }
    // Holding fire (mouse button or the vehicle attack control) freezes the limited look.
    if (!isKeyDown(kVkLeftMouse) && !game::isDisabledControlPressed(kControlGroupPlayer, kControlVehicleAttack)) {
        s.lookYaw -= *v.sensitivity * lx;
        s.lookPitch -= kLimitedPitchFactor * *v.sensitivity * ly;
    }
    s.lookYaw = clampf(s.lookYaw, -*v.yawLimit, *v.yawLimit);
    s.lookPitch = clampf(s.lookPitch, kLimitedPitchMin, kLimitedPitchMax);
    resetOnKey(s.lookYaw, s.lookPitch, s.lookResetTick);
    return {s.lookPitch, s.lookYaw};
}

// Returns whether the camera has its pose this frame: attached at the seat and
// turned with the vehicle.
bool updateInVehicleCamera(const Variant& v, Ped ped, Vehicle vehicle) {
    // The vehicle the ped sits in; none ends the frame's work.
    if (vehicle == 0) return false;
    // Forward speed in the vehicle's frame, read once for this frame.
    float forwardSpeed = readForwardSpeed(vehicle, v.state->lastForwardSpeed);
    // Car camera: reset flags 236 and 287 while braking forward.
    if (v.car && forwardSpeed > kBrakeFlagMinSpeed && isPressedEnabledFirst(kControlGroupPlayer, kControlVehicleBrake))
        for (int flag : kBrakeResetFlags) game::setPedResetFlag(ped, flag, true);
    // Set-up on a new vehicle (or after the rig cleared the attachment), else tracking:
    // seat anchor, forward shift, attach.
    if (vehicle == attachedVehicle && vehicleAttached) trackVehicle(v, ped, vehicle, forwardSpeed);
    else setUpOnVehicle(v, ped, vehicle, forwardSpeed);
    // Look offsets from the player's look input.
    LookOffsets look = updateLook(v);
    // Rotation: the vehicle's own, rolling with it, plus the look; the pitch stays within +-89.
    // A rotation the game could not give leaves the camera turned as it was.
    Vec3 rotation = game::getEntityRotation(vehicle, kRotationOrder);
    const bool turned = isFinite3(rotation.x, rotation.y, rotation.z);
    if (turned)
        game::setCamRot(cameraHandle, clampf(wrapAngle(rotation.x) + look.pitch, -kPitchLimit, kPitchLimit),
                        wrapAngle(rotation.y),
                        wrapAngle(rotation.z + look.yaw), kRotationOrder);
    // Field of view.
    game::setCamFov(cameraHandle, *v.fov);
    return vehicleAttached == 1 && turned;
}

}  // namespace

bool updateVehicleCamera(Ped ped, Vehicle vehicle) { return updateInVehicleCamera(kCar, ped, vehicle); }
bool updateMotorcycleCamera(Ped ped, Vehicle vehicle) { return updateInVehicleCamera(kMotorcycle, ped, vehicle); }

bool isTwoWheeler(int vehicleClass) { return vehicleClass == kClassMotorcycle || vehicleClass == kClassCycle; }

void clearVehicleAttachment() {
    attachedVehicle = 0;
    vehicleAttached = 0;
    seatBoneName = nullptr;
}

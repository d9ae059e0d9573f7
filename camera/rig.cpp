#include "audio/weapon_audio.h"
#include "camera/aiming.h"
#include "camera/camera.h"
#include "camera/headbob.h"
#include "camera/onfoot.h"
#include "camera/rig.h"
#include "camera/vehicle.h"
#include "overlay/overlay.h"
#include "overlay/tracers.h"
#include "runtime/controls.h"
#include "runtime/natives.h"
#include "runtime/input.h"
#include "runtime/runtime.h"
#include "runtime/virtual_keys.h"
#include "settings/settings.h"
#include "weapon/bodycam_aim.h"
#include "weapon/recoil.h"
#include "weapon/weapon.h"

uint8_t cameraRendering;
Cam cameraHandle;
uint8_t engaged;
uint8_t instantTransitions;

namespace {

constexpr uint32_t kToggleDebounceMs = 300;
constexpr int kEaseNewMs = 500;      // a freshly created camera
constexpr int kEaseResumeMs = 300;   // a stopped camera taken up again
constexpr int kEaseOutMs = 500;
constexpr uint32_t kDestroyAfterEaseMs = 550;
constexpr uint32_t kDestroyAfterCutMs = 1;
constexpr float kNearClip = 0.05f;  // metres
constexpr const char* kCameraName = "DEFAULT_SCRIPTED_CAMERA";
constexpr int kFirstPersonView = 4;
constexpr int kThirdPersonView = 0;

uint32_t destroyTick;  // 0 = no destroy pending
Ped lastPlayerPed;
uint8_t lastInVehicle;
uint8_t viewKeyWasDown;
uint8_t viewKeyLatch;
uint32_t lastToggleTick;  // 0 = never toggled

bool cameraExists() { return cameraHandle != 0 && game::doesCamExist(cameraHandle); }

void startRendering(int easeMs) {
    if (instantTransitions) game::renderScriptCams(true, false, 0, true, false);
    else game::renderScriptCams(true, true, easeMs, true, false);
    cameraRendering = 1;
}

// A new camera is shown from the first frame in which it has a pose: until
// then the game's own view stays on screen, not a camera at the world origin
// with the default lens. It is made the active camera only then too, since the
// game goes on rendering script cameras after a camera is destroyed without a
// stop (on foot <-> in a vehicle) or vanishes: an active new camera would show
// at once. Called after the frame's pose; a camera already shown is left as it is.
void showPlacedCamera() {
    if (cameraRendering) return;
    game::setCamActive(cameraHandle, true);
    startRendering(kEaseNewMs);
}

void forgetAttachedVehicle() {
    attachedVehicle = 0;
    vehicleAttached = 0;
}

void detachIfExists() {
    if (cameraExists()) game::detachCam(cameraHandle);
}

void stopScriptCamsWithCut() { game::renderScriptCams(false, false, 0, true, false); }

void keepViewKeyFromGame() {
    game::disableControlAction(kControlGroupPlayer, kControlNextCamera, true);
    game::disableControlAction(kControlGroupFrontend, kControlFrontendRight, true);
}

// V from the game's first-person view engages; V while engaged hands the view
// back in third person. One toggle per press, none within the debounce, none
// while the menu is open; in the game's other views V stays the game's.
void handleViewKey(const FrameContext& ctx) {
    const bool down = isKeyDown(kVkV);
    if (engaged) {
        keepViewKeyFromGame();
        game::setFollowPedCamViewMode(kFirstPersonView);
    }
    const bool wasDown = viewKeyWasDown != 0;
    viewKeyWasDown = down ? 1 : 0;
    if (viewKeyLatch) {
        keepViewKeyFromGame();
        if (!down) {
            viewKeyLatch = 0;
            return;
        }
    }
    const uint32_t now = frameTick;
    if (!down || menuShared.open || wasDown || (lastToggleTick != 0 && now - lastToggleTick <= kToggleDebounceMs)) return;
    if (engaged) {
        disengage(ctx.inVehicle);
    } else {
        const int view = ctx.inVehicle ? game::getFollowVehicleCamViewMode() : game::getFollowPedCamViewMode();
        if (view != kFirstPersonView) return;
        engaged = 1;
    }
    keepViewKeyFromGame();
    viewKeyLatch = 1;
    lastToggleTick = now;
}

// The ped, whether it lives and has control, and what the scene is doing.
void readWorldState(FrameContext& ctx) {
    ctx.alive = game::doesEntityExist(ctx.ped) && !game::isEntityDead(ctx.ped);
    ctx.playerId = game::playerId();
    ctx.controlOn = game::isPlayerControlOn(ctx.playerId);
    ctx.fadedOut = game::isScreenFadedOut();
    ctx.sceneBlocked = game::isCutsceneActive() || game::isCutscenePlaying() || game::isPlayerSwitchInProgress() ||
                       ctx.fadedOut || game::isScreenFadingIn();
    ctx.parachuting = !ctx.inVehicle && game::getPedParachuteState(ctx.ped) >= 0;
}

// The vehicle the ped sits in and whether it is ridden astride.
void readVehicle(FrameContext& ctx) {
    ctx.vehicle = game::getVehiclePedIsIn(ctx.ped, false);
    ctx.twoWheeler = ctx.vehicle != 0 && isTwoWheeler(game::getVehicleClass(ctx.vehicle));
}

// The car or two-wheeler camera when its setting allows; otherwise the view is
// switched off and the game keeps its third-person vehicle view. Returns
// whether a camera ran.
bool dispatchVehicleCamera(const FrameContext& ctx) {
    if (ctx.vehicle != 0) {
        if (ctx.twoWheeler ? MC_Cam : VehCam) {
            ensureCamera();
            const bool placed = ctx.twoWheeler ? updateMotorcycleCamera(ctx.ped, ctx.vehicle)
                                               : updateVehicleCamera(ctx.ped, ctx.vehicle);
            if (placed) showPlacedCamera();
            return true;
        }
    } else if (VehCam) {  // in a vehicle by the game's word, but none returned: nothing to place the camera on
        ensureCamera();
        if (updateVehicleCamera(ctx.ped, ctx.vehicle)) showPlacedCamera();
        return true;
    }
    disengage(true);
    game::setFollowVehicleCamViewMode(kThirdPersonView);
    stopScriptCamsWithCut();
    return false;
}

}  // namespace

void updateCamera() {
    const uint32_t now = frameTick;
    FrameContext ctx{};

    // Deferred destroy: a stopped camera whose delay has run out goes.
    if (destroyTick != 0 && static_cast<int32_t>(now - destroyTick) >= 0) destroyCamera();
    // Player ped and in-vehicle flag; a new ped stops the old view.
    ctx.ped = game::playerPedId();
    ctx.inVehicle = game::isPedInAnyVehicle(ctx.ped, false);
    if (ctx.ped != lastPlayerPed) {
        lastPlayerPed = ctx.ped;
        forgetAttachedVehicle();
        if (cameraRendering) stopRendering();
    }
    // V key: engage or disengage.
    handleViewKey(ctx);
    // Frame context: alive, control, scene and parachute state.
    readWorldState(ctx);
    // Aim-down-sights latch -> adsActive.
    updateAdsLatch(ctx);
    // Sniper scope detection -> sniperView.
    updateSniperDetection(ctx);
    // Cuts instead of eases while the sniper hand-back is on.
    instantTransitions = SniperGameView;
    // Switch-off gate: death, parachute, scope, fade, or a scene that took control.
    if (!ctx.alive || ctx.parachuting || sniperView || ctx.fadedOut || (!ctx.controlOn && ctx.sceneBlocked)) {
        stopRendering();
        forgetAttachedVehicle();
        return;
    }
    // Nothing more unless the view is switched on.
    if (engaged != 1) return;
    // In a vehicle: which one, and whether it is a two-wheeler.
    if (ctx.inVehicle) readVehicle(ctx);
    // Head hiding while our camera is the rendered view.
    hideHead(ctx);
    // On foot <-> vehicle: the old camera goes; the new one is built below.
    if (ctx.inVehicle != (lastInVehicle != 0)) {
        detachIfExists();
        clearVehicleAttachment();
        destroyCamera();
        lastInVehicle = ctx.inVehicle ? 1 : 0;
    }
    // In a vehicle: the car or two-wheeler camera, then the weapon audio.
    if (ctx.inVehicle) {
        if (dispatchVehicleCamera(ctx) && cameraRendering) updateWeaponAudio();
        return;
    }
    // On foot: let go of a vehicle the camera was attached to.
    if (vehicleAttached == 1) {
        detachIfExists();
        forgetAttachedVehicle();
    }
    // Hold the game's follow camera in first person underneath ours.
    game::setFollowPedCamViewMode(kFirstPersonView);
    // Walking pace -> this frame's move blend ratio cap.
    updateWalkingPace(ctx);
    // The camera exists; one shown before renders again, a new one once it is placed.
    ensureCamera();
    // Head anchor and gameplay rotation -> gameplayPitch, gameplayYaw.
    const HeadAnchor anchor = readHeadAnchor(ctx.ped);
    aimPointValid = 0;
    // Only a usable anchor places the camera: one that has not yet had a usable
    // head and view reading gets no pose rather than an invented one.
    if (anchor.good) {
        // Weapon lead, smooth follow, deadzone and 3D hand motion -> smoothedRotation, hand offsets.
        updateBodycamAim(ctx.ped, anchor.gameplay);
        // Base camera position -> lastCameraPosition.
        const Vec3 base = updateBasePosition(anchor.head);
        // Head bob -> headBob offsets.
        updateHeadBob(ctx.ped);
        // Recoil -> recoil offsets.
        updateRecoil(ctx.ped);
        // Crouch drop -> crouchDrop.
        updateCrouchDrop(ctx.ped);
        // Pose: position, rotation with aim sway, field of view with the ADS zoom;
        // a new camera starts rendering with its first pose.
        if (applyPose(base, aimSway(aimWeapon))) showPlacedCamera();
        // Auto-turn: the body follows the view.
        updateAutoTurn(ctx.ped);
        // Aim point, shot redirection and tracers, once the follow is seeded.
        if (followInitialised == 1) updateAimPointAndFire(ctx.ped);
    }
    // Weapon audio while the camera renders.
    if (cameraRendering) updateWeaponAudio();
}

void ensureCamera() {
    if (destroyTick != 0 && cameraExists()) {
        destroyTick = 0;  // the pending destroy is cancelled: this camera, shown before, resumes
        startRendering(kEaseResumeMs);
        return;
    }
    // Rendering, or created and still waiting for its first pose.
    if (cameraHandle != 0 && destroyTick == 0 && cameraExists()) return;
    // A new camera, also when the game removed the last one by itself: nothing
    // held for that one (readings, pose, a pending destroy) carries over.
    cameraHandle = game::createCam(kCameraName, true);
    game::setCamNearClip(cameraHandle, kNearClip);
    game::setCamAffectsAiming(cameraHandle, true);
    cameraRendering = 0;
    destroyTick = 0;
    forgetHeldReadings();
}

void stopRendering() {
    if (!cameraRendering) return;
    endRedirectedPress();
    if (instantTransitions) game::renderScriptCams(false, false, 0, true, false);
    else game::renderScriptCams(false, true, kEaseOutMs, true, false);
    cameraRendering = 0;
    lastPositionValid = 0;
    followInitialised = 0;
    destroyTick = frameTick + (instantTransitions ? kDestroyAfterCutMs : kDestroyAfterEaseMs);
    if (destroyTick == 0) destroyTick = 1;  // 0 means none; a deadline that lands on it moves on by 1 ms
}

void destroyCamera() {
    stopDamageGlitch();
    endRedirectedPress();
    if (cameraExists()) {
        game::setCamActive(cameraHandle, false);
        game::detachCam(cameraHandle);
        game::destroyCam(cameraHandle, false);
    }
    cameraHandle = 0;
    cameraRendering = 0;
    lastPositionValid = 0;
    followInitialised = 0;
    destroyTick = 0;
    resetHeadBob();
    resetRecoil();
    resetCrouchDrop();
    forgetHeldReadings();
    clearWeaponAudio();
}

void disengage(bool inVehicle) {
    engaged = 0;
    if (cameraExists()) stopScriptCamsWithCut();
    destroyCamera();
    forgetAttachedVehicle();
    if (inVehicle) game::setFollowVehicleCamViewMode(kThirdPersonView);
    else game::setFollowPedCamViewMode(kThirdPersonView);
}

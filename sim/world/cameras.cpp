#include "sim/world/cameras.h"

#include <algorithm>
#include <cmath>

#include "sim/sim.h"
#include "sim/world/controls.h"
#include "sim/world/entities.h"
#include "sim/world/os.h"
#include "sim/world/player.h"

namespace sim {

GameCameras gameCameras;
std::map<int32_t, ScriptCam> scriptCams;
ScriptRendering rendering;

namespace {
int32_t nextCamHandle = 1;
constexpr float kPitchLimit = 89.0f;
// The third-person follow camera: behind and above the ped or vehicle.
constexpr Vec3 kPedFollowOffset{0.0f, -3.0f, 0.6f};
constexpr Vec3 kVehicleFollowOffset{0.0f, -6.0f, 1.8f};
// The game's on-foot view cycle; 4 is first person.
constexpr int kPedViewCycle[] = {0, 1, 2, 4};

ScriptCam* findCam(int32_t handle) {
    auto it = scriptCams.find(handle);
    return it == scriptCams.end() ? nullptr : &it->second;
}

void requireFinite(const NativeCall& call, int first, int count) {
    for (int k = first; k < first + count; ++k)
        if (!std::isfinite(call.f(k)))
            fail(std::string(call.info->name) + " was given a non-finite value (argument " + std::to_string(k) + ")");
}

int nextViewMode(int mode) {
    constexpr int n = sizeof kPedViewCycle / sizeof kPedViewCycle[0];
    for (int k = 0; k < n; ++k)
        if (kPedViewCycle[k] == mode) return kPedViewCycle[(k + 1) % n];
    return kPedViewCycle[0];
}

bool pedInVehicle() { return player.vehicle != 0 || player.inVehicleWithoutVehicle; }

Vec3 scriptCamPosition(const ScriptCam& c) {
    if (c.attachedTo == 0) return c.position;
    const EntityState* e = findEntity(c.attachedTo);
    if (!e) return c.position;
    if (c.attachRelative) return localToWorld(*e, c.attachOffset);
    return {e->position.x + c.attachOffset.x, e->position.y + c.attachOffset.y, e->position.z + c.attachOffset.z};
}

float lerpAngle(float a, float b, float t) {
    float d = std::remainder(b - a, 360.0f);
    return a + d * t;
}

// The game's camera update, after the scripts: look input turns the gameplay
// camera; V cycles the game's view unless a script disabled control 0 this frame.
const FrameStep updateGameCamera(Phase::AfterScripts, 50, [] {
    float dt = frameMilliseconds() * 0.001f;
    if (!controls.disabled[kControlGroupPlayer][kControlLookLeftRight])
        gameCameras.rotation.z -= controls.normal[kControlLookLeftRight] * gameCameras.lookRate * dt;
    if (!controls.disabled[kControlGroupPlayer][kControlLookUpDown])
        gameCameras.rotation.x -= controls.normal[kControlLookUpDown] * gameCameras.lookRate * dt;
    if (std::isfinite(gameCameras.rotation.x))
        gameCameras.rotation.x = std::clamp(gameCameras.rotation.x, -kPitchLimit, kPitchLimit);
    if (std::isfinite(gameCameras.rotation.z) && std::fabs(gameCameras.rotation.z) < 1e6f)
        gameCameras.rotation.z = std::remainder(gameCameras.rotation.z, 360.0f);

    bool vDown = os.keyDown[kViewKey] && os.front == Front::Game;  // the game hears keys only in front
    if (vDown && !gameCameras.viewKeyWasDown && !controls.disabled[kControlGroupPlayer][kControlNextCamera]) {
        int& mode = pedInVehicle() ? gameCameras.vehicleViewMode : gameCameras.pedViewMode;
        mode = nextViewMode(mode);
    }
    gameCameras.viewKeyWasDown = vDown;
});

// What the screen shows: the game's camera, the scripted one, or a blend while easing.
const FrameStep renderFrame(Phase::AfterScripts, 60, [] {
    const ScriptCam* cam = rendering.on ? findCam(rendering.activeCam) : nullptr;
    if (rendering.on && !cam) rendering.blend = 0.0f;  // nothing to render: the game's view at once
    float target = rendering.on && cam ? 1.0f : 0.0f;
    float step = rendering.blendPerMs * frameMilliseconds();
    rendering.blend = target > rendering.blend ? std::min(target, rendering.blend + step)
                                               : std::max(target, rendering.blend - step);
    // While easing out the last rendered camera still shows through.
    if (!cam && rendering.blend > 0.0f) cam = findCam(rendering.activeCam);
    if (!cam) rendering.blend = 0.0f;

    Vec3 gp = gameCameraPosition();
    RenderedFrame f{frameIndex(), false, 0.0f, 0, gp, gameCameras.rotation, gameCameras.fov};
    if (cam && rendering.blend > 0.0f) {
        float t = rendering.blend;
        Vec3 sp = scriptCamPosition(*cam);
        f.scripted = true;
        f.blend = t;
        f.cam = cam->handle;
        f.position = {gp.x + (sp.x - gp.x) * t, gp.y + (sp.y - gp.y) * t, gp.z + (sp.z - gp.z) * t};
        f.rotation = {lerpAngle(gameCameras.rotation.x, cam->rotation.x, t),
                      lerpAngle(gameCameras.rotation.y, cam->rotation.y, t),
                      lerpAngle(gameCameras.rotation.z, cam->rotation.z, t)};
        f.fov = gameCameras.fov + (cam->fov - gameCameras.fov) * t;
    }
    rendering.history.push_back(f);
});
}  // namespace

const ScriptCam* liveScriptCam() {
    if (scriptCams.size() > 1) fail("more than one scripted camera exists");
    return scriptCams.empty() ? nullptr : &scriptCams.begin()->second;
}
size_t liveCameraCount() { return scriptCams.size(); }
bool scriptCamRendering() { return rendering.on && findCam(rendering.activeCam) != nullptr; }
const RenderedFrame& lastRendered() {
    if (rendering.history.empty()) fail("no frame rendered yet");
    return rendering.history.back();
}
const RenderCall* lastRenderCall() { return rendering.calls.empty() ? nullptr : &rendering.calls.back(); }

Vec3 gameCameraPosition() {
    const EntityState* vehicle = findEntity(player.vehicle);
    int mode = vehicle ? gameCameras.vehicleViewMode : gameCameras.pedViewMode;
    if (mode == kFirstPersonView) return pedHeadPosition();
    const EntityState& anchor = vehicle ? *vehicle : playerPed();
    Vec3 r = rotateDegrees({0.0f, 0.0f, gameCameras.rotation.z}, vehicle ? kVehicleFollowOffset : kPedFollowOffset);
    return {anchor.position.x + r.x, anchor.position.y + r.y, anchor.position.z + r.z};
}

void putGameInFirstPerson() {
    gameCameras.pedViewMode = kFirstPersonView;
    gameCameras.vehicleViewMode = kFirstPersonView;
}
void setGameplayRotation(float pitch, float roll, float yaw) { gameCameras.rotation = {pitch, roll, yaw}; }
void removeScriptCamByGame(int32_t handle) {
    if (rendering.activeCam == handle) rendering.activeCam = 0;
    scriptCams.erase(handle);
}

// ---- the gameplay camera ----------------------------------------------------

SIM_NATIVE(native::kGetGameplayCamRot) {  // order 2 only
    call.ret(gameCameras.rotation.x, gameCameras.rotation.y, gameCameras.rotation.z);
}
SIM_NATIVE(native::kSetFollowPedCamViewMode) { gameCameras.pedViewMode = call.i(0); }
SIM_NATIVE(native::kSetFollowVehicleCamViewMode) { gameCameras.vehicleViewMode = call.i(0); }
SIM_NATIVE(native::kGetFollowPedCamViewMode) { call.ret(gameCameras.pedViewMode); }
SIM_NATIVE(native::kGetFollowVehicleCamViewMode) { call.ret(gameCameras.vehicleViewMode); }
SIM_NATIVE(native::kGetFinalRenderedCamCoord) {  // the last frame's screen
    Vec3 p = rendering.history.empty() ? gameCameraPosition() : rendering.history.back().position;
    call.ret(p.x, p.y, p.z);
}

// ---- scripted cameras -------------------------------------------------------

SIM_NATIVE(native::kCreateCam) {
    ScriptCam c;
    c.handle = nextCamHandle++;
    c.name = call.s(0) ? call.s(0) : "";
    c.createdFrame = frameIndex();
    scriptCams[c.handle] = c;
    call.ret(c.handle);
}
SIM_NATIVE(native::kDoesCamExist) { call.ret(findCam(call.i(0)) != nullptr); }
SIM_NATIVE(native::kSetCamActive) {
    ScriptCam* c = findCam(call.i(0));
    if (!c) return;
    c->active = call.b(1);
    if (c->active) rendering.activeCam = c->handle;
    else if (rendering.activeCam == c->handle) rendering.activeCam = 0;
}
SIM_NATIVE(native::kSetCamNearClip) {
    requireFinite(call, 1, 1);
    if (ScriptCam* c = findCam(call.i(0))) c->nearClip = call.f(1);
}
SIM_NATIVE(native::kSetCamAffectsAiming) {
    if (ScriptCam* c = findCam(call.i(0))) c->affectsAiming = call.b(1);
}
SIM_NATIVE(native::kSetCamCoord) {
    requireFinite(call, 1, 3);
    if (ScriptCam* c = findCam(call.i(0))) c->position = {call.f(1), call.f(2), call.f(3)};
}
SIM_NATIVE(native::kSetCamRot) {
    requireFinite(call, 1, 3);
    if (ScriptCam* c = findCam(call.i(0))) c->rotation = {call.f(1), call.f(2), call.f(3)};
}
SIM_NATIVE(native::kSetCamFov) {
    requireFinite(call, 1, 1);
    if (ScriptCam* c = findCam(call.i(0))) c->fov = call.f(1);
}
SIM_NATIVE(native::kAttachCamToEntity) {
    requireFinite(call, 2, 3);
    ScriptCam* c = findCam(call.i(0));
    if (!c || !findEntity(call.i(1))) return;
    c->attachedTo = call.i(1);
    c->attachOffset = {call.f(2), call.f(3), call.f(4)};
    c->attachRelative = call.b(5);
}
SIM_NATIVE(native::kDetachCam) {
    if (ScriptCam* c = findCam(call.i(0))) c->attachedTo = 0;
}
SIM_NATIVE(native::kDestroyCam) {
    int32_t h = call.i(0);
    if (rendering.activeCam == h && rendering.blend > 0.0f) rendering.blend = 0.0f;  // the screen falls back at once
    removeScriptCamByGame(h);
}
SIM_NATIVE(native::kRenderScriptCams) {
    bool render = call.b(0), ease = call.b(1);
    int32_t ms = call.i(2);
    rendering.calls.push_back({frameIndex(), render, ease, ms});
    rendering.on = render;
    rendering.blendPerMs = ease && ms > 0 ? 1.0f / static_cast<float>(ms) : 1.0f;
}

}  // namespace sim

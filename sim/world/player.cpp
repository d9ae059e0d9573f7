#include "sim/world/player.h"

#include <algorithm>
#include <cmath>

#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"

namespace sim {

PlayerModel player;

namespace {
constexpr Vec3 kSpawnPoint{0.0f, 0.0f, 1.0f};
constexpr Vec3 kHeadLocal{0.0f, 0.05f, 0.65f};
// Ground speed at each whole move blend ratio, metres per second.
constexpr float kSpeedAtRatio[4] = {0.0f, 1.4f, 4.0f, 7.0f};
constexpr float kMoveInputThreshold = 0.1f;

float speedAt(float ratio) {
    ratio = std::clamp(ratio, 0.0f, 3.0f);
    int lo = std::min(2, static_cast<int>(ratio));
    float t = ratio - static_cast<float>(lo);
    return kSpeedAtRatio[lo] + (kSpeedAtRatio[lo + 1] - kSpeedAtRatio[lo]) * t;
}

EntityState& newPed(Vec3 at) {
    EntityState& e = spawnEntity(EntityKind::Ped, at);
    e.bones.push_back({"SKEL_Head", kHeadBone, kHeadLocal});
    player.ped = e.handle;
    return e;
}

// The game always has a player character.
const FrameStep ensurePed(Phase::BeforeScripts, 0, [] {
    if (player.ped == 0) playerPed();
});

// The ped's movement task, after the scripts: the pace the player asks for,
// limited by this frame's cap, moves the ped along the view's ground direction.
const FrameStep movePed(Phase::AfterScripts, 10, [] {
    EntityState* e = findEntity(player.ped);
    player.lastMoveRatioCap = player.moveRatioCap;
    player.moveRatioCapped = player.capCalls > 0;
    player.capCalls = 0;
    player.resetFlagsLastFrame.swap(player.resetFlags);
    player.resetFlags.clear();
    float cap = player.moveRatioCap;
    player.moveRatioCap = 3.0f;
    if (!e) return;

    float fb = controls.normal[kControlMoveForward] - controls.normal[kControlMoveBack];
    float lr = controls.normal[kControlMoveRight] - controls.normal[kControlMoveLeft];
    bool moving = std::fabs(fb) > kMoveInputThreshold || std::fabs(lr) > kMoveInputThreshold;
    float pace = !moving ? 0.0f : controls.held[kControlSprint] ? 3.0f : 2.0f;
    if (e->dead || player.vehicle != 0 || player.inVehicleWithoutVehicle) pace = 0.0f;
    player.desiredMoveRatio = player.forcedMoveRatio >= 0.0f ? player.forcedMoveRatio : std::min(pace, cap);

    if (!moving || player.desiredMoveRatio <= 0.0f) return;
    float len = std::sqrt(fb * fb + lr * lr);
    float yaw = gameCameras.rotation.z * 0.017453292519943295f;
    float fx = -std::sin(yaw), fy = std::cos(yaw), rx = std::cos(yaw), ry = std::sin(yaw);
    float dist = speedAt(player.desiredMoveRatio) * 0.001f * frameMilliseconds();
    e->position.x += (fx * fb + rx * lr) / len * dist;
    e->position.y += (fy * fb + ry * lr) / len * dist;
});
}  // namespace

EntityState& playerPed() {
    if (EntityState* e = findEntity(player.ped)) return *e;
    return newPed(kSpawnPoint);
}

void killPlayer() {
    EntityState& e = playerPed();
    e.dead = true;
    e.health = 0;
}

void respawnPlayer(bool asNewPed) {
    if (asNewPed) {
        removeEntity(player.ped);
        newPed(kSpawnPoint);
        return;
    }
    EntityState& e = playerPed();
    e.dead = false;
    e.health = 200;
    e.position = kSpawnPoint;
}

void setPedHeadLocal(Vec3 local) {
    EntityState& e = playerPed();
    for (Bone& b : e.bones)
        if (b.id == kHeadBone) b.local = local;
}

Vec3 pedHeadPosition() {
    const EntityState& e = playerPed();
    const Bone* b = findBoneById(e, kHeadBone);
    return b ? localToWorld(e, b->local) : e.position;
}

bool resetFlagSetLastFrame(int32_t flag) { return player.resetFlagsLastFrame.count(flag) != 0; }

SIM_NATIVE(native::kPlayerId) { call.ret(player.id); }
SIM_NATIVE(native::kPlayerPedId) { call.ret(player.ped); }

SIM_NATIVE(native::kGetPedBoneCoords) {
    const EntityState* e = findEntity(call.i(0));
    if (!e) {
        call.ret(0.0f, 0.0f, 0.0f);
        return;
    }
    const Bone* b = findBoneById(*e, call.i(1));
    Vec3 local = b ? b->local : Vec3{};
    Vec3 p = localToWorld(*e, {local.x + call.f(2), local.y + call.f(3), local.z + call.f(4)});
    call.ret(p.x, p.y, p.z);
}
SIM_NATIVE(native::kGetPedDesiredMoveBlendRatio) {
    call.ret(call.i(0) == player.ped ? player.desiredMoveRatio : 0.0f);
}
SIM_NATIVE(native::kSetPedMaxMoveBlendRatio) {  // lasts this frame
    if (call.i(0) == player.ped) {
        player.moveRatioCap = std::clamp(call.f(1), 0.0f, 3.0f);
        ++player.capCalls;
    }
}
SIM_NATIVE(native::kGetPedStealthMovement) {
    call.ret(call.i(0) == player.ped && player.stealth);
}
SIM_NATIVE(native::kGetPedParachuteState) {
    call.ret(call.i(0) == player.ped ? player.parachuteState : kNotParachuting);
}
SIM_NATIVE(native::kSetPedResetFlag) {  // lasts this frame
    if (call.i(0) == player.ped && call.b(2)) player.resetFlags.insert(call.i(1));
}

}  // namespace sim

#include "sim/world/entities.h"

#include <cmath>

#include "sim/sim.h"

namespace sim {

std::map<int32_t, EntityState> entities;

namespace {
int32_t nextHandle = 0x1000;
constexpr float kRad = 0.017453292519943295f;
}  // namespace

EntityState& spawnEntity(EntityKind kind, Vec3 position, float heading) {
    EntityState e;
    e.handle = nextHandle++;
    e.kind = kind;
    e.position = position;
    e.rotation = {0.0f, 0.0f, heading};
    return entities[e.handle] = e;
}

EntityState* findEntity(int32_t handle) {
    auto it = entities.find(handle);
    return it == entities.end() ? nullptr : &it->second;
}

void removeEntity(int32_t handle) { entities.erase(handle); }

// R = Rz(yaw) * Rx(pitch) * Ry(roll), applied to (right, forward, up).
Vec3 rotateDegrees(Vec3 rot, Vec3 v) {
    float cp = std::cos(rot.x * kRad), sp = std::sin(rot.x * kRad);
    float cr = std::cos(rot.y * kRad), sr = std::sin(rot.y * kRad);
    float cy = std::cos(rot.z * kRad), sy = std::sin(rot.z * kRad);
    Vec3 a{v.x * cr + v.z * sr, v.y, -v.x * sr + v.z * cr};  // roll about the forward axis
    Vec3 b{a.x, a.y * cp - a.z * sp, a.y * sp + a.z * cp};   // pitch about the right axis
    return {b.x * cy - b.y * sy, b.x * sy + b.y * cy, b.z};  // yaw about up
}

Vec3 localToWorld(const EntityState& e, Vec3 local) {
    Vec3 r = rotateDegrees(e.rotation, local);
    return {e.position.x + r.x, e.position.y + r.y, e.position.z + r.z};
}

Vec3 worldToLocal(const EntityState& e, Vec3 world) {
    Vec3 d{world.x - e.position.x, world.y - e.position.y, world.z - e.position.z};
    // The inverse rotation: the axes of the entity's frame, dotted with d.
    Vec3 right = rotateDegrees(e.rotation, {1, 0, 0});
    Vec3 forward = rotateDegrees(e.rotation, {0, 1, 0});
    Vec3 up = rotateDegrees(e.rotation, {0, 0, 1});
    auto dot = [](Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    return {dot(d, right), dot(d, forward), dot(d, up)};
}

const Bone* findBone(const EntityState& e, const std::string& name) {
    for (const Bone& b : e.bones)
        if (b.name == name) return &b;
    return nullptr;
}

const Bone* findBoneById(const EntityState& e, int32_t id) {
    for (const Bone& b : e.bones)
        if (b.id == id) return &b;
    return nullptr;
}

// ---- generic entity natives ------------------------------------------------

SIM_NATIVE(native::kDoesEntityExist) {
    call.ret(findEntity(call.i(0)) != nullptr);
}
SIM_NATIVE(native::kIsEntityDead) {
    const EntityState* e = findEntity(call.i(0));
    call.ret(e == nullptr || e->dead);
}
namespace {
// A vector of an entity, or zero for an entity that does not exist.
void returnVector(NativeCall& call, Vec3 EntityState::*field) {
    const EntityState* e = findEntity(call.i(0));
    const Vec3 v = e ? e->*field : Vec3{};
    call.ret(v.x, v.y, v.z);
}
}  // namespace
SIM_NATIVE(native::kGetEntityCoords) { returnVector(call, &EntityState::position); }
SIM_NATIVE(native::kGetEntityHeading) {
    const EntityState* e = findEntity(call.i(0));
    float h = e ? std::fmod(e->rotation.z, 360.0f) : 0.0f;
    call.ret(h < 0.0f ? h + 360.0f : h);
}
SIM_NATIVE(native::kSetEntityHeading) {
    if (!std::isfinite(call.f(1))) fail("SET_ENTITY_HEADING was given a non-finite heading");
    if (EntityState* e = findEntity(call.i(0))) e->rotation.z = call.f(1);
}
SIM_NATIVE(native::kGetEntityRotation) { returnVector(call, &EntityState::rotation); }
SIM_NATIVE(native::kGetEntityHealth) {
    const EntityState* e = findEntity(call.i(0));
    call.ret(e ? e->health : 0);
}
SIM_NATIVE(native::kGetEntitySpeed) {
    const EntityState* e = findEntity(call.i(0));
    Vec3 v = e ? e->velocity : Vec3{};
    call.ret(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
}
SIM_NATIVE(native::kGetEntitySpeedVector) {
    const EntityState* e = findEntity(call.i(0));
    Vec3 v = e ? e->velocity : Vec3{};
    if (e && call.b(1)) {
        EntityState still = *e;
        still.position = {};
        v = worldToLocal(still, v);
    }
    call.ret(v.x, v.y, v.z);
}
SIM_NATIVE(native::kGetEntityBoneIndexByName) {
    const EntityState* e = findEntity(call.i(0));
    const Bone* b = e && call.s(1) ? findBone(*e, call.s(1)) : nullptr;
    call.ret(b ? b->id : -1);
}
SIM_NATIVE(native::kGetWorldPositionOfEntityBone) {
    const EntityState* e = findEntity(call.i(0));
    const Bone* b = e ? findBoneById(*e, call.i(1)) : nullptr;
    Vec3 p = !e ? Vec3{} : b ? localToWorld(*e, b->local) : e->position;
    call.ret(p.x, p.y, p.z);
}
SIM_NATIVE(native::kGetOffsetFromEntityGivenWorldCoords) {
    const EntityState* e = findEntity(call.i(0));
    Vec3 p = e ? worldToLocal(*e, {call.f(1), call.f(2), call.f(3)}) : Vec3{};
    call.ret(p.x, p.y, p.z);
}

}  // namespace sim

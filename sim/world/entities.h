// Entities of the game world: peds, vehicles and objects share handles, a
// position, a rotation, health and named bones. The generic ENTITY natives live
// here; each kind's own natives live in its model's file.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "runtime/native_call.h"

namespace sim {

enum class EntityKind : uint8_t { Ped, Vehicle, Object };

struct Bone {
    std::string name;  // "" for bones known only by id
    int32_t id;        // the game's bone id (peds) or index (vehicles, objects)
    Vec3 local;        // offset in the entity's frame: x right, y forward, z up
};

struct EntityState {
    int32_t handle = 0;
    EntityKind kind = EntityKind::Object;
    bool dead = false;
    Vec3 position{};
    Vec3 rotation{};    // pitch, roll, yaw in degrees (rotation order 2); yaw is the heading
    Vec3 velocity{};    // world metres per second
    int32_t health = 200;
    std::vector<Bone> bones;
};

extern std::map<int32_t, EntityState> entities;

EntityState& spawnEntity(EntityKind kind, Vec3 position, float heading = 0.0f);
EntityState* findEntity(int32_t handle);  // nullptr when it does not exist
void removeEntity(int32_t handle);

// Frame maths, in the game's convention: x east, y north, z up; yaw turns
// counter-clockwise from north; pitch up is positive.
Vec3 localToWorld(const EntityState& e, Vec3 local);
Vec3 worldToLocal(const EntityState& e, Vec3 world);
Vec3 rotateDegrees(Vec3 rotation, Vec3 local);  // rotation (pitch, roll, yaw) applied to a local vector
const Bone* findBone(const EntityState& e, const std::string& name);
const Bone* findBoneById(const EntityState& e, int32_t id);

}  // namespace sim

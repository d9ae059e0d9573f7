#include "sim/world/shapetests.h"

#include <cmath>
#include <string>
#include <utility>

#include "sim/sim.h"
#include "sim/world/entities.h"

namespace sim {

CollisionWorld collision;

namespace {

// Collision sizes of the entities: x, y, z extents around the entity position
// (a ped's position is its pelvis, about 1 m above its feet).
constexpr Vec3 kPedHalf{0.3f, 0.3f, 0.9f};
constexpr float kPedCentreUp = -0.1f;
constexpr Vec3 kVehicleHalf{1.0f, 2.3f, 0.75f};

// Slab test of the segment from + t*d (t in 0..1) against an axis-aligned box.
bool hitBox(Vec3 from, Vec3 d, Vec3 lo, Vec3 hi, float& tHit, Vec3& normal) {
    const float o[3] = {from.x, from.y, from.z}, dir[3] = {d.x, d.y, d.z};
    const float mn[3] = {lo.x, lo.y, lo.z}, mx[3] = {hi.x, hi.y, hi.z};
    float tEnter = 0.0f, tExit = 1.0f;
    int axis = -1;
    float sign = 0.0f;
    for (int k = 0; k < 3; ++k) {
        if (std::fabs(dir[k]) < 1e-12f) {
            if (o[k] < mn[k] || o[k] > mx[k]) return false;
            continue;
        }
        float t1 = (mn[k] - o[k]) / dir[k], t2 = (mx[k] - o[k]) / dir[k];
        float s = -1.0f;
        if (t1 > t2) std::swap(t1, t2), s = 1.0f;
        if (t1 > tEnter) tEnter = t1, axis = k, sign = s;
        if (t2 < tExit) tExit = t2;
        if (tEnter > tExit) return false;
    }
    if (axis < 0) return false;  // the segment starts inside: the game's probes do not report that
    tHit = tEnter;
    float n[3] = {0, 0, 0};
    n[axis] = sign;
    normal = {n[0], n[1], n[2]};
    return true;
}

void consider(RayHit& best, bool hit, float t, Vec3 normal, int32_t entity) {
    if (!hit || t >= best.t) return;
    best.hit = true;
    best.t = t;
    best.normal = normal;
    best.entity = entity;
}

void requireFinite(const NativeCall& call, int first, int count) {
    for (int k = first; k < first + count; ++k)
        if (!std::isfinite(call.f(k)))
            fail(std::string(call.info->name) + " was given a non-finite value (argument " + std::to_string(k) + ")");
}

}  // namespace

void addSolidBox(Vec3 c, Vec3 s) {
    collision.boxes.push_back({{c.x - s.x / 2, c.y - s.y / 2, c.z - s.z / 2}, {c.x + s.x / 2, c.y + s.y / 2, c.z + s.z / 2}});
}

int probesInFrame(uint32_t frame) {
    int n = 0;
    for (const Probe& p : collision.probes) n += p.frame == frame;
    return n;
}

RayHit castSegment(Vec3 from, Vec3 to, int32_t flags, int32_t ignored) {
    RayHit best;
    best.t = 2.0f;
    Vec3 d{to.x - from.x, to.y - from.y, to.z - from.z};
    float t = 0.0f;
    Vec3 n{};
    if (flags & kProbeMap) {
        if (collision.ground && from.z >= collision.groundZ && to.z < collision.groundZ)
            consider(best, true, (from.z - collision.groundZ) / (from.z - to.z), {0, 0, 1}, 0);
        for (const SolidBox& b : collision.boxes) {
            bool hit = hitBox(from, d, b.min, b.max, t, n);
            consider(best, hit, t, n, 0);
        }
    }
    for (const auto& [handle, e] : entities) {
        if (handle == ignored) continue;
        Vec3 half, c = e.position;
        if (e.kind == EntityKind::Ped && (flags & kProbePeds)) {
            half = kPedHalf;
            c.z += kPedCentreUp;
        } else if (e.kind == EntityKind::Vehicle && (flags & kProbeVehicles)) {
            half = kVehicleHalf;
        } else {
            continue;  // objects (weapons in hands) are too small to stop a ray here
        }
        bool hit = hitBox(from, d, {c.x - half.x, c.y - half.y, c.z - half.z}, {c.x + half.x, c.y + half.y, c.z + half.z}, t, n);
        consider(best, hit, t, n, handle);
    }
    if (!best.hit) return RayHit{};
    best.point = {from.x + d.x * best.t, from.y + d.y * best.t, from.z + d.z * best.t};
    return best;
}

SIM_NATIVE(native::kStartExpensiveSynchronousShapeTestLosProbe) {
    requireFinite(call, 0, 6);
    Probe p{};
    p.frame = frameIndex();
    p.from = {call.f(0), call.f(1), call.f(2)};
    p.to = {call.f(3), call.f(4), call.f(5)};
    p.flags = call.i(6);
    p.ignored = call.i(7);
    RayHit h = castSegment(p.from, p.to, p.flags, p.ignored);
    p.hit = h.hit;
    p.point = h.point;
    p.normal = h.normal;
    p.entity = h.entity;
    collision.probes.push_back(p);
    call.ret(static_cast<int32_t>(collision.probes.size()));
}

// Status 2 = ready, with the results written; 0 = no such probe (unknown, read
// already, or started in an earlier frame), with nothing written.
SIM_NATIVE(native::kGetShapeTestResult) {
    int32_t handle = call.i(0);
    if (handle < 1 || handle > static_cast<int32_t>(collision.probes.size())) return call.ret(0);
    Probe& p = collision.probes[static_cast<size_t>(handle - 1)];
    if (p.read || p.frame != frameIndex()) return call.ret(0);
    p.read = true;
    if (int32_t* hit = call.out<int32_t>(1)) *hit = p.hit ? 1 : 0;
    if (NativeVector3* pos = call.out<NativeVector3>(2)) *pos = {p.point.x, 0, p.point.y, 0, p.point.z, 0};
    if (NativeVector3* nrm = call.out<NativeVector3>(3)) *nrm = {p.normal.x, 0, p.normal.y, 0, p.normal.z, 0};
    if (int32_t* ent = call.out<int32_t>(4)) *ent = p.entity;
    call.ret(2);
}

}  // namespace sim

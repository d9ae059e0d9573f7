// Line-of-sight probes against a simple world: the ground plane, a few solid
// boxes placed by tests, and the entities standing in it (peds and vehicles as
// upright boxes around their positions). A probe is started and its result read
// the same frame, as the game does for its synchronous probes.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/native_call.h"

namespace sim {

struct SolidBox {
    Vec3 min, max;  // world metres, axis-aligned
};

struct Probe {
    uint32_t frame;
    Vec3 from, to;
    int32_t flags;
    int32_t ignored;  // entity the probe passes through
    bool hit;
    Vec3 point, normal;
    int32_t entity;   // entity hit, 0 for the map
    bool read;        // its result was taken
};

struct CollisionWorld {
    bool ground = true;
    float groundZ = 0.0f;
    std::vector<SolidBox> boxes;
    std::vector<Probe> probes;  // every probe started, in order; handle = index + 1
};
extern CollisionWorld collision;

// Probe flag bits, as the game reads them.
constexpr int32_t kProbeMap = 1, kProbeVehicles = 2, kProbePeds = 4 | 8, kProbeObjects = 16;

void addSolidBox(Vec3 centre, Vec3 size);
int probesInFrame(uint32_t frame);  // probes started in one frame

// The nearest hit along a segment, as a probe with these flags would report it.
struct RayHit {
    bool hit = false;
    float t = 1.0f;  // 0..1 along the segment
    Vec3 point{}, normal{};
    int32_t entity = 0;
};
RayHit castSegment(Vec3 from, Vec3 to, int32_t flags, int32_t ignored);

}  // namespace sim

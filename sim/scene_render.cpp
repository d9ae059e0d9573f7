#include "sim/scene_render.h"

#include <algorithm>
#include <cmath>

#include "sim/world/entities.h"
#include "sim/world/shapetests.h"

namespace sim {

namespace {

constexpr float kRad = 0.017453292519943295f;
constexpr float kViewDistance = 400.0f;  // metres a pixel ray reaches
constexpr float kFogDistance = 250.0f;   // metres to full haze
constexpr float kGroundTile = 2.0f;      // metres
constexpr int32_t kSeenFlags = kProbeMap | kProbeVehicles | kProbePeds;

struct Rgb {
    float r, g, b;
};

Rgb mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb sky(float up) {  // up: the ray's upward component
    float k = std::clamp(up * 1.6f, 0.0f, 1.0f);
    return mix({0.62f, 0.56f, 0.52f}, {0.30f, 0.38f, 0.52f}, k);
}

Rgb surface(const RayHit& hit) {
    // Light from above and a little to the side; faces darken by their angle.
    float light = 0.55f + 0.35f * hit.normal.z + 0.10f * hit.normal.x;
    if (hit.entity != 0) {
        const EntityState* e = findEntity(hit.entity);
        Rgb base = e && e->kind == EntityKind::Vehicle ? Rgb{0.45f, 0.12f, 0.10f} : Rgb{0.30f, 0.28f, 0.25f};
        return {base.r * light, base.g * light, base.b * light};
    }
    if (hit.normal.z > 0.99f && std::fabs(hit.point.z) < 1e-3f) {  // the ground
        int tx = static_cast<int>(std::floor(hit.point.x / kGroundTile));
        int ty = static_cast<int>(std::floor(hit.point.y / kGroundTile));
        float shade = ((tx + ty) & 1) ? 0.24f : 0.21f;
        return {shade, shade * 0.98f, shade * 0.92f};
    }
    Rgb concrete{0.56f, 0.54f, 0.50f};
    return {concrete.r * light, concrete.g * light, concrete.b * light};
}

}  // namespace

void paintWorld(const ViewPose& view, int width, int height, std::vector<float>& rgb) {
    rgb.assign(static_cast<size_t>(width) * height * 3, 0.0f);
    Vec3 right = rotateDegrees(view.rotation, {1, 0, 0});
    Vec3 forward = rotateDegrees(view.rotation, {0, 1, 0});
    Vec3 up = rotateDegrees(view.rotation, {0, 0, 1});
    float tanHalfV = std::tan(view.fov * 0.5f * kRad);
    float tanHalfH = tanHalfV * kScreenAspect;
    for (int py = 0; py < height; ++py) {
        float sy = (1.0f - 2.0f * (static_cast<float>(py) + 0.5f) / static_cast<float>(height)) * tanHalfV;
        for (int px = 0; px < width; ++px) {
            float sx = (2.0f * (static_cast<float>(px) + 0.5f) / static_cast<float>(width) - 1.0f) * tanHalfH;
            Vec3 d{forward.x + right.x * sx + up.x * sy, forward.y + right.y * sx + up.y * sy,
                   forward.z + right.z * sx + up.z * sy};
            float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            d = {d.x / len, d.y / len, d.z / len};
            Vec3 to{view.position.x + d.x * kViewDistance, view.position.y + d.y * kViewDistance,
                    view.position.z + d.z * kViewDistance};
            RayHit hit = castSegment(view.position, to, kSeenFlags, 0);
            Rgb c = sky(d.z);
            if (hit.hit) c = mix(surface(hit), sky(0.0f), std::min(1.0f, hit.t * kViewDistance / kFogDistance));
            float* p = &rgb[(static_cast<size_t>(py) * width + px) * 3];
            p[0] = c.r, p[1] = c.g, p[2] = c.b;
        }
    }
}

}  // namespace sim

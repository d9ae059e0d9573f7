#include "sim/clip_render.h"

#include <algorithm>
#include <cmath>

#include "sim/raster.h"
#include "sim/world/entities.h"
#include "sim/world/player.h"
#include "sim/world/shapetests.h"
#include "sim/world/stage.h"

namespace sim {

namespace {

constexpr float kRad = 0.017453292519943295f;
constexpr float kNearDepth = 0.05f;     // metres: nearer parts of a face are cut away
constexpr float kFogDistance = 320.0f;  // metres to full haze
constexpr float kGridSpacing = 1.0f;    // metres between the thin grid lines
constexpr float kGridMajor = 5.0f;      // every fifth line is brighter
constexpr float kGridHalfWidth = 0.035f;  // metres
constexpr float kMinRectPixels = 2.0f;    // a clip is half the screen's size: the 2-pixel dot must not vanish
constexpr Vec3 kPedHalf{0.3f, 0.3f, 0.9f};       // the boxes the probes see
constexpr Vec3 kVehicleHalf{1.0f, 2.3f, 0.75f};

struct Rgb {
    float r, g, b;
};

float& component(Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

Rgb mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

constexpr Rgb kHorizon{0.80f, 0.76f, 0.72f};
constexpr Rgb kHaze{0.62f, 0.63f, 0.61f};  // distant ground and walls: darker than the sky, so the horizon shows
constexpr Rgb kZenith{0.28f, 0.42f, 0.66f};
constexpr Rgb kGround{0.34f, 0.37f, 0.30f};
constexpr Rgb kGridLine{0.56f, 0.60f, 0.52f};
constexpr Rgb kGridMajorLine{0.70f, 0.72f, 0.64f};
constexpr Rgb kAsphalt{0.20f, 0.20f, 0.22f};
constexpr Rgb kRoadPaint{0.92f, 0.90f, 0.80f};

Rgb skyColour(float up) {  // up: the ray's upward component, normalised
    return mix(kHorizon, kZenith, std::clamp(up * 2.2f, 0.0f, 1.0f));
}

float fogOf(float distance) { return std::min(1.0f, distance / kFogDistance); }

// The camera's axes and the screen's scale.
struct Eye {
    Vec3 pos, right, forward, up;
    float tanH, tanV;
    int width, height;

    Vec3 toView(Vec3 w) const {
        Vec3 d{w.x - pos.x, w.y - pos.y, w.z - pos.z};
        return {d.x * right.x + d.y * right.y + d.z * right.z, d.x * forward.x + d.y * forward.y + d.z * forward.z,
                d.x * up.x + d.y * up.y + d.z * up.z};
    }
    float screenX(Vec3 v) const { return (0.5f + 0.5f * v.x / (v.y * tanH)) * float(width); }
    float screenY(Vec3 v) const { return (0.5f - 0.5f * v.z / (v.y * tanV)) * float(height); }
};

// floor() without the library call: the pixel loop runs it four times a pixel.
float floorFast(float x) {
    float t = static_cast<float>(static_cast<int>(x));
    return t > x ? t - 1.0f : t;
}

// Distance-weighted coverage of a grid line at coordinate c: 1 on the line,
// 0 a footprint away; far away, where a line is thinner than a pixel, the
// coverage is its average share.
float lineCoverage(float c, float spacing, float footprint, float perFootprint) {
    float u = c * (1.0f / spacing);
    float m = std::fabs(u - floorFast(u + 0.5f)) * spacing;
    float halfWidth = kGridHalfWidth + footprint * 0.5f;
    float cover = std::clamp((halfWidth - m) * perFootprint + 0.5f, 0.0f, 1.0f);
    float share = 2.0f * kGridHalfWidth * std::min(perFootprint, 1.0f / (2.0f * kGridHalfWidth));
    return cover * std::min(1.0f, share * 3.0f);
}

// footX, footY: how far a pixel reaches along world x and y there, so that
// lines running away from the eye stay sharp while lines across it blur.
Rgb groundColour(float x, float y, float footX, float footY) {
    Rgb base = kGround;
    int paint = stage.built ? roadPaintAt(x, y) : 0;
    if (paint == 1) return kAsphalt;
    if (paint == 2) return kRoadPaint;
    float fadeX = std::clamp(1.0f - footX * 6.0f, 0.0f, 1.0f), fadeY = std::clamp(1.0f - footY * 6.0f, 0.0f, 1.0f);
    if (fadeX <= 0.0f && fadeY <= 0.0f) return base;
    float perX = 1.0f / std::max(footX, 1e-4f), perY = 1.0f / std::max(footY, 1e-4f);
    float minor = std::max(lineCoverage(x, kGridSpacing, footX, perX) * fadeX, lineCoverage(y, kGridSpacing, footY, perY) * fadeY);
    float major = std::max(lineCoverage(x, kGridMajor, footX, perX) * fadeX, lineCoverage(y, kGridMajor, footY, perY) * fadeY);
    base = mix(base, kGridLine, minor);
    return mix(base, kGridMajorLine, major);
}

void paintSkyAndGround(const Eye& eye, std::vector<float>& rgb, std::vector<float>& depth) {
    const float groundZ = collision.groundZ;
    // One pixel's step across the screen, as a change of the ray.
    const float stepX = 2.0f * eye.tanH / float(eye.width), stepY = 2.0f * eye.tanV / float(eye.height);
    const Vec3 rx{eye.right.x * stepX, eye.right.y * stepX, eye.right.z * stepX};
    const Vec3 uy{eye.up.x * stepY, eye.up.y * stepY, eye.up.z * stepY};
    for (int py = 0; py < eye.height; ++py) {
        float sy = (1.0f - 2.0f * (float(py) + 0.5f) / float(eye.height)) * eye.tanV;
        for (int px = 0; px < eye.width; ++px) {
            float sx = (2.0f * (float(px) + 0.5f) / float(eye.width) - 1.0f) * eye.tanH;
            // The ray through the pixel, one metre deep: its parameter is the view depth.
            Vec3 d{eye.forward.x + eye.right.x * sx + eye.up.x * sy, eye.forward.y + eye.right.y * sx + eye.up.y * sy,
                   eye.forward.z + eye.right.z * sx + eye.up.z * sy};
            float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            Rgb c = skyColour(d.z / len);
            float z = INFINITY;
            if (collision.ground && d.z < 0.0f && eye.pos.z > groundZ) {
                float t = (groundZ - eye.pos.z) / d.z;
                float distance = t * len;
                // The ground point moves by t (step - d step.z / d.z) for a step of the ray.
                float kx = rx.z / d.z, ky = uy.z / d.z;
                float footX = t * (std::fabs(rx.x - d.x * kx) + std::fabs(uy.x - d.x * ky));
                float footY = t * (std::fabs(rx.y - d.y * kx) + std::fabs(uy.y - d.y * ky));
                Rgb g = groundColour(eye.pos.x + d.x * t, eye.pos.y + d.y * t, footX, footY);
                c = mix(g, kHaze, fogOf(distance));
                z = t;
            }
            size_t k = size_t(py) * eye.width + px;
            depth[k] = z;
            rgb[k * 3] = c.r, rgb[k * 3 + 1] = c.g, rgb[k * 3 + 2] = c.b;
        }
    }
}

struct Box {
    Vec3 centre, half, rotation;  // rotation: pitch, roll, yaw in degrees
    Rgb colour;
};

// One face, already in view space, cut at the near depth, filled with a
// depth test: 1/depth is affine across the screen for a flat face.
void fillFace(const Eye& eye, const Vec3* corners, Rgb colour, std::vector<float>& rgb, std::vector<float>& depth) {
    Vec3 poly[8];
    int n = 0;
    for (int k = 0; k < 4; ++k) {
        Vec3 a = corners[k], b = corners[(k + 1) % 4];
        bool ina = a.y > kNearDepth, inb = b.y > kNearDepth;
        if (ina) poly[n++] = a;
        if (ina != inb) {
            float t = (a.y - kNearDepth) / (a.y - b.y);
            poly[n++] = {a.x + (b.x - a.x) * t, kNearDepth, a.z + (b.z - a.z) * t};
        }
    }
    if (n < 3) return;
    float sx[8], sy[8], iz[8];
    float top = 1e9f, bottom = -1e9f;
    for (int k = 0; k < n; ++k) {
        sx[k] = eye.screenX(poly[k]), sy[k] = eye.screenY(poly[k]), iz[k] = 1.0f / poly[k].y;
        top = std::min(top, sy[k]), bottom = std::max(bottom, sy[k]);
    }
    // 1/depth = A x + B y + C from three corners that span an area.
    float A = 0, B = 0, C = iz[0];
    for (int k = 1; k + 1 < n; ++k) {
        float ux = sx[k] - sx[0], uy = sy[k] - sy[0], vx = sx[k + 1] - sx[0], vy = sy[k + 1] - sy[0];
        float det = ux * vy - uy * vx;
        if (std::fabs(det) < 1e-3f) continue;
        float du = iz[k] - iz[0], dv = iz[k + 1] - iz[0];
        A = (du * vy - dv * uy) / det;
        B = (dv * ux - du * vx) / det;
        C = iz[0] - A * sx[0] - B * sy[0];
        break;
    }
    int y0 = std::max(0, int(std::ceil(top - 0.5f))), y1 = std::min(eye.height - 1, int(std::floor(bottom - 0.5f)));
    for (int py = y0; py <= y1; ++py) {
        float cy = float(py) + 0.5f;
        float left = 1e9f, right = -1e9f;
        for (int k = 0; k < n; ++k) {
            int j = (k + 1) % n;
            if ((sy[k] <= cy) == (sy[j] <= cy)) continue;
            float x = sx[k] + (cy - sy[k]) / (sy[j] - sy[k]) * (sx[j] - sx[k]);
            left = std::min(left, x), right = std::max(right, x);
        }
        int x0 = std::max(0, int(std::ceil(left - 0.5f))), x1 = std::min(eye.width - 1, int(std::floor(right - 0.5f)));
        for (int px = x0; px <= x1; ++px) {
            float inv = A * (float(px) + 0.5f) + B * cy + C;
            if (!(inv > 0.0f)) continue;
            float z = 1.0f / inv;
            size_t k = size_t(py) * eye.width + px;
            if (z >= depth[k]) continue;
            depth[k] = z;
            Rgb c = mix(colour, kHaze, fogOf(z));
            rgb[k * 3] = c.r, rgb[k * 3 + 1] = c.g, rgb[k * 3 + 2] = c.b;
        }
    }
}

void paintBox(const Eye& eye, const Box& box, std::vector<float>& rgb, std::vector<float>& depth) {
    // Each face: its outward axis and sign; the corners walk around it.
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {-1.0f, 1.0f}) {
            Vec3 local{0, 0, 0};
            component(local, axis) = sign;
            Vec3 normal = rotateDegrees(box.rotation, local);
            Vec3 h = box.half;
            Vec3 faceCentre = rotateDegrees(box.rotation, {local.x * h.x, local.y * h.y, local.z * h.z});
            faceCentre = {box.centre.x + faceCentre.x, box.centre.y + faceCentre.y, box.centre.z + faceCentre.z};
            Vec3 toEye{eye.pos.x - faceCentre.x, eye.pos.y - faceCentre.y, eye.pos.z - faceCentre.z};
            if (normal.x * toEye.x + normal.y * toEye.y + normal.z * toEye.z <= 0.0f) continue;  // faces away
            int u = (axis + 1) % 3, v = (axis + 2) % 3;
            const float su[4] = {-1, 1, 1, -1}, sv[4] = {-1, -1, 1, 1};
            Vec3 corners[4];
            for (int k = 0; k < 4; ++k) {
                Vec3 c{0, 0, 0};
                component(c, axis) = sign * component(h, axis);
                component(c, u) = su[k] * component(h, u);
                component(c, v) = sv[k] * component(h, v);
                Vec3 w = rotateDegrees(box.rotation, c);
                corners[k] = eye.toView({box.centre.x + w.x, box.centre.y + w.y, box.centre.z + w.z});
            }
            // Light from above and a little from the east, as in the screenshots' backdrop.
            float light = 0.58f + 0.30f * normal.z + 0.12f * normal.x - 0.06f * normal.y;
            fillFace(eye, corners, {box.colour.r * light, box.colour.g * light, box.colour.b * light}, rgb, depth);
        }
    }
}

std::vector<Box> sceneBoxes() {
    std::vector<Box> boxes;
    for (const SolidBox& b : collision.boxes) {
        Vec3 half{(b.max.x - b.min.x) * 0.5f, (b.max.y - b.min.y) * 0.5f, (b.max.z - b.min.z) * 0.5f};
        Vec3 centre{(b.max.x + b.min.x) * 0.5f, (b.max.y + b.min.y) * 0.5f, (b.max.z + b.min.z) * 0.5f};
        // Posts are thin and striped: white with a red band read at any distance; walls are concrete.
        Rgb colour = half.x < 0.2f && half.y < 0.2f ? Rgb{0.92f, 0.92f, 0.90f}
                   : half.z > 2.0f ? Rgb{0.62f, 0.58f, 0.52f} : Rgb{0.55f, 0.42f, 0.28f};
        boxes.push_back({centre, half, {0, 0, 0}, colour});
        if (half.x < 0.2f && half.y < 0.2f)
            boxes.push_back({{centre.x, centre.y, centre.z + half.z * 0.55f}, {half.x * 1.05f, half.y * 1.05f, half.z * 0.2f},
                             {0, 0, 0}, {0.80f, 0.16f, 0.12f}});
    }
    for (const auto& [handle, e] : entities) {
        // The player's own body and the vehicle they sit in: a box around the eye
        // would only hide the road the motion is read against.
        if (handle == player.ped || handle == player.vehicle) continue;
        if (e.kind == EntityKind::Vehicle) boxes.push_back({e.position, kVehicleHalf, e.rotation, {0.50f, 0.13f, 0.11f}});
        if (e.kind == EntityKind::Ped)
            boxes.push_back({{e.position.x, e.position.y, e.position.z - 0.1f}, kPedHalf, {0, 0, e.rotation.z}, {0.30f, 0.28f, 0.34f}});
    }
    return boxes;
}

}  // namespace

void paintClipWorld(const ViewPose& view, int width, int height, std::vector<float>& rgb) {
    rgb.assign(size_t(width) * height * 3, 0.0f);
    std::vector<float> depth(size_t(width) * height, INFINITY);
    float tanV = std::tan(view.fov * 0.5f * kRad);
    Eye eye{view.position, rotateDegrees(view.rotation, {1, 0, 0}), rotateDegrees(view.rotation, {0, 1, 0}),
            rotateDegrees(view.rotation, {0, 0, 1}), tanV * kScreenAspect, tanV, width, height};
    paintSkyAndGround(eye, rgb, depth);
    for (const Box& b : sceneBoxes()) paintBox(eye, b, rgb, depth);
}

std::vector<unsigned char> renderClipFrame(const ViewPose& view, const std::vector<DrawItem>& items, int width, int height) {
    if (!fontLoaded()) return {};
    std::vector<float> rgb;
    paintClipWorld(view, width, height, rgb);
    std::vector<DrawItem> shown = items;
    for (DrawItem& d : shown) {
        if (d.kind != DrawKind::Rect) continue;
        d.width = std::max(d.width, kMinRectPixels / float(width));
        d.height = std::max(d.height, kMinRectPixels / float(height));
    }
    paintItems(shown, &view, width, height, rgb);
    return toBytes(rgb);
}

}  // namespace sim

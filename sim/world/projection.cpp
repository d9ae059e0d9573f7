#include "sim/world/projection.h"

#include <cmath>
#include <string>

#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/entities.h"

namespace sim {

namespace {
constexpr float kRad = 0.017453292519943295f;
constexpr float kMinDepth = 0.01f;  // metres in front of the camera for a point to project

// The point in the camera's frame: x right, y forward (depth), z up.
Vec3 toView(const ViewPose& view, Vec3 world) {
    Vec3 d{world.x - view.position.x, world.y - view.position.y, world.z - view.position.z};
    auto dot = [](Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    return {dot(d, rotateDegrees(view.rotation, {1, 0, 0})), dot(d, rotateDegrees(view.rotation, {0, 1, 0})),
            dot(d, rotateDegrees(view.rotation, {0, 0, 1}))};
}

void viewToScreen(const ViewPose& view, Vec3 v, float& x, float& y) {
    float tanHalfV = std::tan(view.fov * 0.5f * kRad);
    float tanHalfH = tanHalfV * kScreenAspect;
    x = 0.5f + 0.5f * v.x / (v.y * tanHalfH);
    y = 0.5f - 0.5f * v.z / (v.y * tanHalfV);
}

}  // namespace

bool projectToScreen(const ViewPose& view, Vec3 world, float& x, float& y) {
    Vec3 v = toView(view, world);
    if (!(v.y > kMinDepth)) return false;
    viewToScreen(view, v, x, y);
    return true;
}

bool projectSegment(const ViewPose& view, Vec3 a, Vec3 b, float& x0, float& y0, float& x1, float& y1) {
    Vec3 va = toView(view, a), vb = toView(view, b);
    if (!(va.y > kMinDepth) && !(vb.y > kMinDepth)) return false;
    auto clip = [](Vec3 in, Vec3 out) {  // the point of in..out at the near depth
        float t = (in.y - kMinDepth) / (in.y - out.y);
        return Vec3{in.x + (out.x - in.x) * t, kMinDepth, in.z + (out.z - in.z) * t};
    };
    if (!(va.y > kMinDepth)) va = clip(vb, va);
    if (!(vb.y > kMinDepth)) vb = clip(va, vb);
    viewToScreen(view, va, x0, y0);
    viewToScreen(view, vb, x1, y1);
    return true;
}

ViewPose lastShownView() {
    if (rendering.history.empty()) return {gameCameraPosition(), gameCameras.rotation, gameCameras.fov};
    const RenderedFrame& f = rendering.history.back();
    return {f.position, f.rotation, f.fov};
}

SIM_NATIVE(native::kGetScreenCoordFromWorldCoord) {
    for (int k = 0; k < 3; ++k)
        if (!std::isfinite(call.f(k)))
            fail("GET_SCREEN_COORD_FROM_WORLD_COORD was given a non-finite value (argument " + std::to_string(k) + ")");
    float x = 0.0f, y = 0.0f;
    bool onScreen = projectToScreen(lastShownView(), {call.f(0), call.f(1), call.f(2)}, x, y);
    if (float* sx = call.out<float>(3)) *sx = onScreen ? x : -1.0f;
    if (float* sy = call.out<float>(4)) *sy = onScreen ? y : -1.0f;
    call.ret(onScreen);
}

}  // namespace sim

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
}  // namespace

bool projectToScreen(const ViewPose& view, Vec3 world, float& x, float& y) {
    Vec3 d{world.x - view.position.x, world.y - view.position.y, world.z - view.position.z};
    Vec3 right = rotateDegrees(view.rotation, {1, 0, 0});
    Vec3 forward = rotateDegrees(view.rotation, {0, 1, 0});
    Vec3 up = rotateDegrees(view.rotation, {0, 0, 1});
    auto dot = [](Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    float depth = dot(d, forward);
    if (!(depth > kMinDepth)) return false;
    float tanHalfV = std::tan(view.fov * 0.5f * kRad);
    float tanHalfH = tanHalfV * kScreenAspect;
    x = 0.5f + 0.5f * dot(d, right) / (depth * tanHalfH);
    y = 0.5f - 0.5f * dot(d, up) / (depth * tanHalfV);
    return true;
}

ViewPose lastShownView() {
    if (rendering.history.empty()) return {gameCameraPosition(), gameCameras.rotation, gameCameras.fov};
    const RenderedFrame& f = rendering.history.back();
    return {f.position, f.rotation, f.fov};
}

SIM_NATIVE(0x34E82F05DF2974F5) {  // GET_SCREEN_COORD_FROM_WORLD_COORD
    for (int k = 0; k < 3; ++k)
        if (!std::isfinite(call.f(k)))
            fail("GET_SCREEN_COORD_FROM_WORLD_COORD was given a non-finite value (argument " + std::to_string(k) + ")");
    float x = 0.0f, y = 0.0f;
    bool onScreen = projectToScreen(lastShownView(), {call.f(0), call.f(1), call.f(2)}, x, y);
    if (float* sx = call.p<float>(3)) *sx = onScreen ? x : -1.0f;
    if (float* sy = call.p<float>(4)) *sy = onScreen ? y : -1.0f;
    call.ret(onScreen);
}

}  // namespace sim

// World to screen: a world point seen through a camera pose on a 16:9 screen,
// in normalised screen coordinates (0..1, y downward). The game's own query
// (GET_SCREEN_COORD_FROM_WORLD_COORD) uses the last frame the screen showed;
// the rasterizer uses the frame it draws.
#pragma once
#include "runtime/native_call.h"

namespace sim {

constexpr float kScreenAspect = 16.0f / 9.0f;

struct ViewPose {
    Vec3 position;
    Vec3 rotation;  // pitch, roll, yaw in degrees (rotation order 2)
    float fov;      // vertical field of view in degrees
};

// False when the point lies behind the camera (or on its plane). A point in
// front but outside the view gives coordinates outside 0..1.
bool projectToScreen(const ViewPose& view, Vec3 world, float& x, float& y);

// The segment a..b on screen, cut where it passes behind the camera; false
// when all of it lies behind.
bool projectSegment(const ViewPose& view, Vec3 a, Vec3 b, float& x0, float& y0, float& x1, float& y1);

ViewPose lastShownView();  // the pose of the last rendered frame (the game's camera before any)

}  // namespace sim

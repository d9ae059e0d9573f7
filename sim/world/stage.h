// A street for the demo's clips to read motion against: a straight road north
// through the spawn point, posts along both kerbs, and low walls, crates and
// buildings set back from it. The boxes are solid, so probes and bullets stop
// on them as on any wall; the road itself is paint on the ground plane.
#pragma once
#include "runtime/native_call.h"

namespace sim {

constexpr float kRoadHalfWidth = 3.5f;      // metres either side of x = 0
constexpr float kRoadStartY = -120.0f;      // metres: the road runs north from here
constexpr float kRoadEndY = 700.0f;
constexpr float kPostSpacing = 10.0f;       // metres between posts along a kerb
constexpr float kPostOffset = 4.5f;         // metres from the road's centre line

struct StageState {
    bool built = false;
};
extern StageState stage;

void buildStage();  // adds the street's boxes to the collision world, once

constexpr float kDashLength = 3.0f;         // metres of centre-line paint, then as much gap
constexpr float kDashHalfWidth = 0.08f;     // metres

// The road's paint at a ground point: 0 off the road, 1 asphalt, 2 the dashed
// centre line. (Inline: the clip rasteriser asks for every ground pixel.)
inline int roadPaintAt(float x, float y) {
    if (x > kRoadHalfWidth || x < -kRoadHalfWidth || y < kRoadStartY || y > kRoadEndY) return 0;
    if (x >= kDashHalfWidth || x <= -kDashHalfWidth) return 1;
    float along = (y - kRoadStartY) / (2.0f * kDashLength);
    return along - static_cast<float>(static_cast<int>(along)) < 0.5f ? 2 : 1;
}

}  // namespace sim

// A plain picture of the simulated world through a camera pose, as the backdrop
// of a screenshot: sky, a tiled ground, the solid boxes and the bodies of peds
// and vehicles, flat-shaded by their faces and faded with distance.
#pragma once
#include <vector>

#include "sim/world/projection.h"

namespace sim {

// Fills rgb (width x height, three floats 0..1 per pixel, rows top down).
void paintWorld(const ViewPose& view, int width, int height, std::vector<float>& rgb);

}  // namespace sim

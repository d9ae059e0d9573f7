// 3-D lines in the draw recorder (draw.h): DRAW_LINE makes DrawKind::Line items
// with world coordinates in from and to.
#pragma once
#include <vector>

#include "sim/world/draw.h"

namespace sim {

std::vector<const DrawItem*> lastFrameLines();  // the lines of the last finished frame, in call order

}  // namespace sim

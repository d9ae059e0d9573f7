// 3-D lines that scripts draw for one frame (DRAW_LINE), kept by the draw
// recorder beside the screen's rectangles and texts.
#include <cmath>
#include <string>

#include "sim/sim.h"
#include "sim/world/lines.h"

namespace sim {

SIM_NATIVE(native::kDrawLine) {
    for (int k = 0; k < 6; ++k)
        if (!std::isfinite(call.f(k))) fail("DRAW_LINE was given a non-finite value (argument " + std::to_string(k) + ")");
    DrawItem d;
    d.kind = DrawKind::Line;
    for (int k = 0; k < 3; ++k) {
        d.from[k] = call.f(k);
        d.to[k] = call.f(k + 3);
    }
    d.colour = {call.i(6), call.i(7), call.i(8), call.i(9)};
    recordDraw(std::move(d));
}

std::vector<const DrawItem*> lastFrameLines() {
    std::vector<const DrawItem*> out;
    for (const DrawItem& d : draws.lastFrame)
        if (d.kind == DrawKind::Line) out.push_back(&d);
    return out;
}

}  // namespace sim

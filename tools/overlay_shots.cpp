// Screenshots of the bodycam overlays: plays a session (sessions/shots/overlays.zvs)
// in a yard through the simulator and writes the screen at each of its "shot"
// steps, the overlays over the world, as a PNG into the folder given.
//   overlay_shots SESSION.zvs OUTPUT_DIR
#include <cstdio>
#include <string>

#include "overlay/tracers.h"
#include "sim/world/cameras.h"
#include "sim/world/draw.h"
#include "sim/world/lines.h"
#include "sim/world/shapetests.h"
#include "sim/world/vehicles.h"
#include "tools/shots.h"

namespace {

constexpr float kWallY = 40.0f;  // the yard's far wall, metres north

// A yard: a long wall 40 m ahead, two pillars and a crate nearer, a car on the left.
void buildYard() {
    sim::addSolidBox({0.0f, kWallY + 0.5f, 3.0f}, {60.0f, 1.0f, 6.0f});
    sim::addSolidBox({-6.0f, 24.0f, 2.5f}, {1.2f, 1.2f, 5.0f});
    sim::addSolidBox({7.0f, 30.0f, 2.5f}, {1.2f, 1.2f, 5.0f});
    sim::addSolidBox({2.5f, 14.0f, 0.5f}, {1.6f, 1.0f, 1.0f});
    sim::spawnVehicle(0, {-5.0f, 12.0f, 0.75f}, 20.0f);
}

// Tracers drawn in the last frame whose head is still well short of the wall.
int tracersInFlight() {
    int n = 0;
    for (const sim::DrawItem* d : sim::lastFrameLines()) n += d->colour.a == 235 && d->to[1] < kWallY - 8.0f;
    return n;
}

// The frame just played, through the view it was rendered with.
std::string renderOverlays(const std::string& path) {
    if (tracersInFlight() < 1) return "no tracer in flight: the shot would show none";
    const sim::RenderedFrame& f = sim::lastRendered();
    sim::ViewPose view{f.position, f.rotation, f.fov};
    std::string failed = shots::writePng(path, &view);
    if (failed.empty())
        std::printf("wrote %s (%zu tracer lines, aim point %.1f %.1f %.1f)\n", path.c_str(), sim::lastFrameLines().size(),
                    aimPoint.x, aimPoint.y, aimPoint.z);
    return failed;
}

}  // namespace

int main(int argc, char** argv) {
    buildYard();
    return shots::play(argc, argv, renderOverlays);
}

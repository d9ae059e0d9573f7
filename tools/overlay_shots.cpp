// Screenshots of the bodycam overlays: plays a rifle burst at a wall through the
// simulator and writes PNGs of the screen with tracers in flight and the dot at
// the aim point into the folder given.
//   overlay_shots OUTPUT_DIR
#include <cstdio>
#include <string>

#include "overlay/tracers.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/draw.h"
#include "sim/world/lines.h"
#include "sim/world/os.h"
#include "sim/world/shapetests.h"
#include "sim/world/vehicles.h"
#include "sim/world/weapons.h"
#include "tools/shots.h"

namespace {

constexpr float kWallY = 40.0f;  // the yard's far wall, metres north

// The frame just played, through the view it was rendered with.
void shot(const char* name) {
    const sim::RenderedFrame& f = sim::lastRendered();
    sim::ViewPose view{f.position, f.rotation, f.fov};
    if (std::string path = shots::write(name, &view); !path.empty())
        std::printf("wrote %s (%zu tracer lines, aim point %.1f %.1f %.1f)\n", path.c_str(), sim::lastFrameLines().size(),
                    aimPoint.x, aimPoint.y, aimPoint.z);
}

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

// Holds the trigger until a tracer is on its way while another one still shows.
void burstUntilTracersInFlight() {
    sim::holdControl(kControlAttack);
    sim::runFor(300);
    for (int k = 0; k < 200 && (tracersInFlight() < 1 || sim::lastFrameLines().size() < 6); ++k) sim::frame();
}

}  // namespace

int main(int argc, char** argv) {
    if (!shots::begin(argc, argv)) return 2;
    BodycamMaster = 1;
    BulletTracers = 1;
    SniperGameView = 0;

    buildYard();
    sim::equipWeapon("WEAPON_COMBATMG");
    sim::putGameInFirstPerson();
    sim::setGameplayRotation(3.0f, 0.0f, 6.0f);
    sim::frame();
    sim::tapKey(sim::kViewKey);
    sim::runFor(1000);  // the camera has eased in and the view has settled

    // Aimed: the press fires at once, full-auto, at the wall.
    sim::holdControl(kControlAim);
    sim::runFor(300);
    burstUntilTracersInFlight();
    shot("bodycam-burst.png");

    // The aim swings right faster than the view follows: the dot leads the
    // view to the pillar while the tracers still fly to where it points.
    sim::setGameplayRotation(2.0f, 0.0f, -9.0f);
    sim::frames(3);
    burstUntilTracersInFlight();
    shot("bodycam-swing.png");

    sim::releaseControl(kControlAttack);
    sim::releaseControl(kControlAim);
    sim::frame();
    return shots::exitStatus();
}

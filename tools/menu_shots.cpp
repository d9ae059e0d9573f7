// Screenshots of the settings menu: plays one session through the simulator and
// writes a PNG of the screen at each interesting state into the folder given.
//   menu_shots OUTPUT_DIR
#include <cstdio>
#include <string>

#include "runtime/virtual_keys.h"
#include "sim/sim.h"
#include "sim/world/draw.h"
#include "sim/world/os.h"
#include "tools/shots.h"

namespace {

// One key press, then enough time for every debounce and animation to settle.
void press(int vk, int times = 1) {
    for (int k = 0; k < times; ++k) {
        sim::tapKey(vk);
        sim::runFor(300);
    }
}

void shot(const char* name) {
    sim::runFor(600);  // highlight, scroll and knobs come to rest
    if (sim::draws.lastFrame.empty()) {
        std::fprintf(stderr, "%s: the menu drew nothing\n", name);
        shots::fail();
    } else if (std::string path = shots::write(name); !path.empty()) {
        std::printf("wrote %s (%zu draw items)\n", path.c_str(), sim::draws.lastFrame.size());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!shots::begin(argc, argv)) return 2;

    press(kVkF6);  // open: the section list
    shot("menu-sections.png");

    press(kVkDown);                 // "ON FOOT"
    press(kVkEnter);                // its page, cursor on "FOV"
    press(kVkDown);                 // "Height", a slider: selected rows show their bar
    press(kVkRight, 3);
    shot("menu-onfoot.png");

    press(kVkBackspace);            // back to the list, on "ON FOOT"
    press(kVkDown, 4);              // "BODYCAM"
    press(kVkEnter);
    press(kVkDown, 3);              // "Per-Weapon Recoil"
    press(kVkEnter);                // reveal the seven per-weapon rows
    press(kVkDown, 9);              // down past them, so the page scrolls
    shot("menu-bodycam.png");

    press(kVkBackspace);            // back to the list, on "BODYCAM"
    press(kVkUp, 5);                // "GENERAL"
    press(kVkEnter);
    press(kVkDown, 6);              // "Menu Key"
    press(kVkEnter);                // waits for a key
    shot("menu-capture.png");
    press(kVkEscape);               // cancel the capture

    press(kVkBackspace);            // back to the list, on "GENERAL"
    press(kVkUp, 2);                // "Reset All"
    press(kVkEnter);                // the confirmation dialog
    shot("menu-reset.png");
    press(kVkBackspace);            // cancel it

    press(kVkDown);                 // "SPECIAL THANKS"
    press(kVkEnter);                // its page, cursor on the supporter card
    shot("menu-thanks.png");

    return shots::exitStatus();
}

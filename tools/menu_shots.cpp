// Screenshots of the settings menu: plays a session (sessions/shots/menu.zvs)
// through the simulator and writes the menu's drawing at each of its "shot"
// steps as a PNG into the folder given.
//   menu_shots SESSION.zvs OUTPUT_DIR
#include <cstdio>
#include <string>

#include "sim/world/draw.h"
#include "tools/shots.h"

namespace {

std::string renderMenu(const std::string& path) {
    if (sim::draws.lastFrame.empty()) return "the menu drew nothing";
    std::string failed = shots::writePng(path);
    if (failed.empty()) std::printf("wrote %s (%zu draw items)\n", path.c_str(), sim::draws.lastFrame.size());
    return failed;
}

}  // namespace

int main(int argc, char** argv) { return shots::play(argc, argv, renderMenu); }

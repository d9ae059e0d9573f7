// Plays a session in the simulator with the recorder compiled into the plug-in
// (the Linux twin of Zentravisor-trace.asi) and unloads it, leaving
// Zentravisor-trace.zvt in the game folder. The session's leading "set" steps
// go into the settings file first, as under Wine, so that the trace's settings
// file holds them.
//   zv_record SESSION GAME_FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "sim/scenario.h"
#include "sim/sim.h"

extern "C" int DllMain(void* module, uint32_t reason, void* reserved);

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zv_record SESSION GAME_FOLDER\n");
        return 2;
    }
    scenario::Scenario session;
    if (!scenario::loadFile(argv[1], session)) return 2;
    scenario::PlayOptions options;
    options.boot.diskRoot = argv[2];
    std::filesystem::create_directories(options.boot.diskRoot);
    const std::string settings = scenario::leadingSettingsFile(session);
    if (!settings.empty()) std::ofstream(options.boot.diskRoot + "/Zentravisor.ini", std::ios::binary) << settings;
    scenario::ParseError error;
    if (!scenario::play(session, nullptr, nullptr, error, options)) {
        scenario::printError(argv[1], error);
        return 1;
    }
    DllMain(sim::pluginModule(), 0, nullptr);  // process detach: the recorder closes its file
    std::printf("zv_record: %u frames\n", sim::frameIndex());
    return 0;
}

// The demo: plays every bundled session (sessions/*.zvs) against the real
// plug-in in the simulator, one process per session run, as many at once as
// there are cores, and writes the report to out/demo/: a per-frame CSV trace
// per run, a clip per session, SVG plots of the motion, comfort figures, the
// frame-rate comparison, the presets, the menu and overlay screenshots, and
// index.html that shows it all.
//
//   zv_demo                  all bundled sessions, the full report
//   zv_demo FILE.zvs         one session of your own, into out/demo/NAME/
//   zv_demo --ini FILE.ini   the bundled sessions with a player's settings file, into out/demo/ini-NAME/
//   zv_demo --play FILE CSV [OPTIONS]  (internal) plays one session and writes its trace (and clip)
//
// zv_demo_tickclock is this program built around the plug-in with its old
// clock, GetTickCount itself: the report's frame-rate section plays it for the
// figures from before the clock took its frame times from the counter.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/demo.h"

namespace {

constexpr const char* kSessions = "sessions";
constexpr const char* kOut = "out/demo";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 3 && args[0] == "--play") return demo::playSession(args);
    if (args.empty()) return demo::all(kSessions, kOut);
    if (args.size() == 2 && args[0] == "--ini") return demo::withSettingsFile(args[1], kSessions, kOut);
    if (args.size() == 1 && args[0][0] != '-') return demo::oneSession(args[0], kOut);
    std::fprintf(stderr, "usage: zv_demo [SESSION.zvs | --ini Zentravisor.ini]\n");
    return 2;
}

// One benchmark state: plays a set-up session, then runs measured frames. Under
// callgrind (--collect-atstart=no) only the plug-in's own code is collected:
// the simulator switches collection off while a native's model, the call log
// or the simulated OS runs. Statistics are zeroed after the set-up and dumped
// after the measured frames; ./zv bench reads the dump.
//   zv_bench STATE FRAMES    prints "STATE natives-per-frame empty-pad-calls-per-second"
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "menu/menu_items.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/world/controls.h"
#include "sim/world/draw.h"
#include "sim/world/os.h"
#include "sim/world/weapons.h"

namespace {

struct State {
    const char* name;
    const char* setup;  // a play session that leaves the plug-in in the state
    bool firing;        // the measured frames hold the trigger
    const char* page;   // where the set-up must leave the menu: "closed", "list" or a section's name
    bool everyFlag;     // every on/off setting switched on first
};

// Every effect on: all flags, the rifle aimed and firing, tracers in flight.
constexpr const char* kEveryEffect =
    "give-weapon WEAPON_CARBINERIFLE\n"
    "engage\n"
    "gait walk\n"
    "wait 500ms\n"
    "aim on\n"
    "wait 300ms\n";

const State kStates[] = {
    {"idle", "gait walk\nwait 1s\n", false, "closed", false},
    // No controller plugged in, a sniper rifle in hand: the empty slots' calls.
    {"sniper", "give-weapon WEAPON_SNIPERRIFLE\ngait walk\nwait 1s\n", false, "closed", false},
    {"onfoot", kEveryEffect, true, "closed", true},
    {"vehicle", "enter-vehicle car\nengage\nspeed 15\nwait 1s\n", false, "closed", true},
    {"menu", "engage\nmenu open\nmenu down 5\nmenu enter\nwait 500ms\n", false, "BODYCAM", true},  // the longest page
    {"credits", "engage\nmenu open\nmenu down 7\nmenu enter\nwait 500ms\n", false, "SPECIAL THANKS", true},  // framed cards
    {"reset", "engage\nmenu open\nmenu down 6\nmenu enter\nwait 300ms\n", false, "list", true},  // the "Reset All" dialog
};

std::string everyFlagOn() {
    std::string out;
    for (const Setting& s : kSettings)
        if (s.kind == SettingKind::Flag) out += std::string("set ") + s.key + " 1\n";
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zv_bench STATE FRAMES\n");
        return 2;
    }
    const State* state = nullptr;
    for (const State& s : kStates)
        if (std::strcmp(s.name, argv[1]) == 0) state = &s;
    const int frames = std::atoi(argv[2]);
    if (!state || frames < 1) return 2;

    std::string text = state->everyFlag ? everyFlagOn() : "";
    text += state->setup;
    scenario::Scenario session;
    scenario::ParseError error;
    sim::setRecording(sim::Recording::LastFrame);
    if (!scenario::parse(text, session, error) || !scenario::play(session, nullptr, nullptr, error)) {
        std::fprintf(stderr, "zv_bench: set-up line %d: %s\n", error.line, error.message.c_str());
        return 1;
    }
    const char* page = !menuShared.open ? "closed" : menuShared.openSection < 0 ? "list" : menuItems[menuShared.openSection].name;
    if (std::strcmp(page, state->page) != 0) {
        std::fprintf(stderr, "zv_bench: %s: the set-up left the menu %s, not %s\n", state->name, page, state->page);
        return 1;
    }
    bool dialog = false;
    for (const sim::DrawItem& d : sim::draws.lastFrame)
        dialog = dialog || (d.kind == sim::DrawKind::Text && d.style.centre && d.text == "Reset All");
    if (dialog != (std::strcmp(state->name, "reset") == 0)) {
        std::fprintf(stderr, "zv_bench: %s: the reset dialog is %s\n", state->name, dialog ? "shown" : "not shown");
        return 1;
    }
    CALLGRIND_ZERO_STATS;
    const uint64_t calls = sim::nativeCallCount();
    uint64_t padCalls = 0;
    for (uint64_t n : sim::os.emptySlotCalls) padCalls -= n;
    const uint32_t began = sim::now();
    if (state->firing) sim::holdControl(kControlAttack);
    sim::frames(frames);
    CALLGRIND_DUMP_STATS_AT(state->name);
    for (uint64_t n : sim::os.emptySlotCalls) padCalls += n;
    const double seconds = (sim::now() - began) / 1000.0;
    std::printf("%s %.1f %.1f\n", state->name, double(sim::nativeCallCount() - calls) / frames, padCalls / seconds);
    return 0;
}

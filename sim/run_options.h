// The options of a run, shared by zv_wine_host.exe (the release binary under
// Wine) and zv_trace (the Linux simulator), so that both play exactly the same
// frames and keys:
//   --session FILE      play a session file (sim/scenario.h); its leading "set"
//                       steps, when it has any, are the settings file in place
//                       of the --setting lines
//   --frames N          ...or run this many frames with no input (at least 1)
//   --start-tick T      the clock's first value; may be just below 2^32
//   --frame-ms MS       virtual milliseconds per frame
//   --frame-us US       ...or microseconds (16667 for 60 fps, 6944 for 144, 4167 for 240)
//   --jitter PERCENT    each frame's length varies by up to this share either way
//   --ideal-clock 1     GetTickCount exact to the millisecond (Windows' steps 15.625 ms)
//   --pump-every N      the game pumps its window messages every N frames
//   --read-only-folder 1  the game folder takes no writes
//   --expect-not-saved N  the run must post N "settings not saved" notifications (Wine host)
//   --max-empty-pad-calls N  at most N XInputGetState calls on empty slots (Wine host)
//   --lens-presses N    the F10 pairs the run must send, the first in the start-up
//                       frame (Wine host; not checked without it)
//   --setting KEY=VALUE a line of the settings file written before start-up
//   --plugin PATH       the .asi to load (Wine host)
//   --trace FILE        write the run's trace
//   --hold-trace-write N the trace build's nth background write is held until
//                       the unload (Wine host: a slow disk)
// Numbers take C syntax: 117, 0x75.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace sim {

struct RunOptions {
    uint32_t frames = 120;
    uint32_t startTick = 1'000'000;
    uint32_t frameMs = 16;
    uint32_t frameUs = 0;  // in place of frameMs when not 0
    uint32_t jitterPercent = 0;
    uint32_t idealClock = 0;
    uint32_t pumpEvery = 1;
    uint32_t readOnlyFolder = 0;
    int64_t expectNotSaved = -1;    // -1: not checked
    int64_t maxEmptyPadCalls = -1;  // -1: not checked
    int64_t lensPresses = -1;       // -1: not checked
    std::vector<std::string> settings;  // KEY=VALUE lines
    std::string plugin;
    std::string session;
    std::string trace;
    uint32_t holdTraceWrite = 0;  // 0 = none
};

// A whole text that is one number.
inline bool parseRunNumber(const char* text, uint32_t& out) {
    char* end = nullptr;
    unsigned long long v = std::strtoull(text, &end, 0);
    if (end == text || *end != '\0' || v > 0xFFFFFFFFull) return false;
    out = static_cast<uint32_t>(v);
    return true;
}

// A count for a check that is off (-1) unless given.
inline bool parseRunCount(const char* text, int64_t& out) {
    uint32_t n = 0;
    if (!parseRunNumber(text, n)) return false;
    out = n;
    return true;
}

// Reads "--name value" pairs; false on anything it does not know.
inline bool parseRunOptions(int argc, char** argv, int first, RunOptions& run) {
    for (int k = first; k < argc; k += 2) {
        if (k + 1 >= argc) return false;
        const std::string name = argv[k];
        const char* value = argv[k + 1];
        bool ok = true;
        if (name == "--frames") ok = parseRunNumber(value, run.frames) && run.frames >= 1;
        else if (name == "--start-tick") ok = parseRunNumber(value, run.startTick);
        else if (name == "--frame-ms") ok = parseRunNumber(value, run.frameMs);
        else if (name == "--frame-us") ok = parseRunNumber(value, run.frameUs);
        else if (name == "--jitter") ok = parseRunNumber(value, run.jitterPercent) && run.jitterPercent < 100;
        else if (name == "--ideal-clock") ok = parseRunNumber(value, run.idealClock) && run.idealClock <= 1;
        else if (name == "--pump-every") ok = parseRunNumber(value, run.pumpEvery) && run.pumpEvery >= 1;
        else if (name == "--read-only-folder") ok = parseRunNumber(value, run.readOnlyFolder) && run.readOnlyFolder <= 1;
        else if (name == "--lens-presses") ok = parseRunCount(value, run.lensPresses);
        else if (name == "--expect-not-saved") ok = parseRunCount(value, run.expectNotSaved);
        else if (name == "--max-empty-pad-calls") ok = parseRunCount(value, run.maxEmptyPadCalls);
        else if (name == "--plugin") run.plugin = value;
        else if (name == "--session") run.session = value;
        else if (name == "--setting") {
            ok = std::string(value).find('=') != std::string::npos;
            run.settings.push_back(value);
        }
        else if (name == "--trace") run.trace = value;
        else if (name == "--hold-trace-write") ok = parseRunNumber(value, run.holdTraceWrite) && run.holdTraceWrite >= 1;
        else ok = false;
        if (!ok) return false;
    }
    return true;
}

// The machine a run boots on: its clocks, frame times, message pump and folder.
template <typename Machine>
void applyMachine(const RunOptions& run, Machine& machine) {
    machine.startTick = run.startTick;
    machine.frameUs = run.frameUs != 0 ? run.frameUs : run.frameMs * 1000;
    machine.jitterPercent = run.jitterPercent;
    machine.idealClock = run.idealClock != 0;
    machine.pumpEvery = run.pumpEvery;
    machine.readOnlyFolder = run.readOnlyFolder != 0;
}

// The settings file the run starts with; empty when the run sets nothing (the
// plug-in then writes its template).
inline std::string settingsFileText(const RunOptions& run) {
    if (run.settings.empty()) return "";
    std::string text = "[Camera]\r\n";
    for (const std::string& line : run.settings) text += line + "\r\n";
    return text;
}

}  // namespace sim

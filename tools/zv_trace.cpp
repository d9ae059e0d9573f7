// Plays a run in the Linux simulator and writes its trace: the same frames and
// keys zv_wine_host.exe plays with the release binary under Wine, so the two
// traces must match line for line.
//   zv_trace --trace OUT [--session FILE | --frames N] [--start-tick T] [--frame-ms MS | --frame-us US]
//            [--setting KEY=VALUE]...   (the options of sim/run_options.h)
#include <cstdio>

#include "sim/run_options.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/trace.h"
#include "sim/world/os.h"

int main(int argc, char** argv) {
    sim::RunOptions run;
    if (!sim::parseRunOptions(argc, argv, 1, run) || run.trace.empty()) {
        std::fprintf(stderr, "usage: zv_trace --trace OUT [--session FILE | --frames N] [--start-tick T] "
                             "[--frame-ms MS] [--setting KEY=VALUE]...\n");
        return 2;
    }
    scenario::Scenario session;
    if (!run.session.empty() && !scenario::loadFile(run.session, session)) return 1;
    sim::Options options;
    sim::applyMachine(run, options);
    sim::boot(options);
    // As under Wine: a session's leading "set" steps are the settings file.
    std::string settings = scenario::leadingSettingsFile(session);
    if (settings.empty()) settings = sim::settingsFileText(run);
    if (!settings.empty()) {
        const std::string exe = sim::os.exePath;
        const std::string path = sim::hostPath(exe.substr(0, exe.rfind('\\') + 1) + "Zentravisor.ini");
        std::FILE* ini = std::fopen(path.c_str(), "wb");
        if (!ini || std::fwrite(settings.data(), 1, settings.size(), ini) != settings.size() || std::fclose(ini) != 0) {
            std::fprintf(stderr, "zv_trace: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    scenario::ParseError error;
    if (run.session.empty()) {
        sim::frames(static_cast<int>(run.frames));
    } else if (!scenario::playBooted(session, nullptr, nullptr, error)) {
        scenario::printError(run.session, error);
        return 1;
    }
    std::FILE* out = std::fopen(run.trace.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "zv_trace: cannot write %s\n", run.trace.c_str());
        return 1;
    }
    sim::writeTrace(out);
    return std::fclose(out) == 0 ? 0 : 1;
}

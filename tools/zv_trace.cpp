// Plays a basic run in the Linux simulator and writes its trace: the same frames
// and keys zv_wine_host.exe plays with the release binary under Wine, so the two
// traces must match line for line.
//   zv_trace --trace OUT [--frames N] [--start-tick T] [--frame-ms MS] [--key VK@F[+H]]...
#include <cstdio>

#include "sim/run_options.h"
#include "sim/sim.h"
#include "sim/trace.h"
#include "sim/world/os.h"

int main(int argc, char** argv) {
    sim::RunOptions run;
    if (!sim::parseRunOptions(argc, argv, 1, run) || run.trace.empty()) {
        std::fprintf(stderr, "usage: zv_trace --trace OUT [--frames N] [--start-tick T] [--frame-ms MS] "
                             "[--key VK@FRAME[+FRAMES]]... [--setting KEY=VALUE]...\n");
        return 2;
    }
    sim::Options options;
    sim::applyMachine(run, options);
    sim::boot(options);
    const std::string settings = sim::settingsFileText(run);
    if (!settings.empty()) {
        const std::string exe = sim::os.exePath;
        const std::string path = sim::hostPath(exe.substr(0, exe.rfind('\\') + 1) + "Zentravisor.ini");
        std::FILE* ini = std::fopen(path.c_str(), "wb");
        if (!ini || std::fwrite(settings.data(), 1, settings.size(), ini) != settings.size() || std::fclose(ini) != 0) {
            std::fprintf(stderr, "zv_trace: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    for (uint32_t k = 0; k < run.frames; ++k) {
        for (const sim::KeyHold& key : run.keys) sim::os.keyDown.at(key.virtualKey) = keyHeldInFrame(run, key.virtualKey, k);
        sim::frame();
    }
    std::FILE* out = std::fopen(run.trace.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "zv_trace: cannot write %s\n", run.trace.c_str());
        return 1;
    }
    sim::writeTrace(out);
    return std::fclose(out) == 0 ? 0 : 1;
}

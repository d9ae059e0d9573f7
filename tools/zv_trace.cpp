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
                             "[--key VK@FRAME[+FRAMES]]...\n");
        return 2;
    }
    sim::Options options;
    options.startTick = run.startTick;
    options.frameMs = run.frameMs;
    sim::boot(options);
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

// Plays the host's basic run in the Linux simulator and writes its trace: the
// same session zv_wine_host.exe plays with the release binary under Wine, so the
// two traces must match line for line.
//   zv_trace OUT [--frames N] [--start-tick T] [--frame-ms MS]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/sim.h"
#include "sim/trace.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: zv_trace OUT [--frames N] [--start-tick T] [--frame-ms MS]\n");
        return 2;
    }
    sim::Options options;
    unsigned long frames = 120;
    for (int k = 2; k + 1 < argc; k += 2) {
        unsigned long v = std::strtoul(argv[k + 1], nullptr, 0);
        if (!std::strcmp(argv[k], "--frames")) frames = v;
        else if (!std::strcmp(argv[k], "--start-tick")) options.startTick = static_cast<uint32_t>(v);
        else if (!std::strcmp(argv[k], "--frame-ms")) options.frameMs = static_cast<uint32_t>(v);
        else {
            std::fprintf(stderr, "zv_trace: unknown option %s\n", argv[k]);
            return 2;
        }
    }
    sim::boot(options);
    sim::frames(static_cast<int>(frames));
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::fprintf(stderr, "zv_trace: cannot write %s\n", argv[1]);
        return 1;
    }
    sim::writeTrace(out);
    return std::fclose(out) == 0 ? 0 : 1;
}

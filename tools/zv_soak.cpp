// The long adversarial run: the plug-in played through random episodes of every
// state with hostile natives (see sim/adversary.h), in slices of fresh
// processes so that one slice's seed reproduces a failure on its own.
//   zv_soak [FRAMES [SEED [START_TICK]]]    one process; defaults 1000000 1 1000000
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "sim/adversary.h"

int main(int argc, char** argv) {
    sim::AdversaryOptions options;
    options.frames = argc > 1 ? std::strtoull(argv[1], nullptr, 0) : 1'000'000;
    options.seed = argc > 2 ? std::strtoull(argv[2], nullptr, 0) : 1;
    options.startTick = argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 0)) : 1'000'000;
    // A pass stuck in a loop that calls no native never returns to the checks.
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::hours(6);
        while (!done && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (!done) {
            std::fprintf(stderr, "zv_soak: the run did not finish\n");
            std::_Exit(3);
        }
    });
    const auto began = std::chrono::steady_clock::now();
    sim::AdversaryReport r = sim::runAdversary(options);
    done = true;
    watchdog.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("seed %" PRIu64 ", start tick %u: %" PRIu64 " frames in %.1f s, %" PRIu64 " hostile, %" PRIu64
                " results replaced\n  engaged %" PRIu64 ", vehicle %" PRIu64 ", dead %" PRIu64 ", cutscene %" PRIu64
                ", menu %" PRIu64 " (%u pages, reset dialog %" PRIu64 ", capture %" PRIu64 "), saves %" PRIu64
                ", slowest frame %.2f ms\n",
                options.seed, options.startTick, r.frames, seconds, r.hostileFrames, r.overridden, r.engagedFrames,
                r.vehicleFrames, r.deadFrames, r.cutsceneFrames, r.menuFrames, r.pagesSeen, r.resetDialogFrames,
                r.captureFrames, r.saves, r.slowestFrameMs);
    if (!r.failure.empty()) {
        std::printf("FAILED: %s\n", r.failure.c_str());
        return 1;
    }
    return 0;
}

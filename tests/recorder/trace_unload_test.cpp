// The trace build unloaded while a block write is still on its way to the disk:
// the unload lets that write land before anything else reaches the file, then
// writes the frames behind it and the end record, so the recording holds every
// frame played and replays. Played with the recorder compiled into the
// simulator's plug-in, as zv_record has it, so it runs under the sanitizers too.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "sim/sim.h"
#include "sim/trace_disk.h"
#include "sim/world/cameras.h"
#include "sim/world/os.h"
#include "sim/zvt_reader.h"
#include "tests/play.h"

#ifndef ZV_REPLAY_TOOL
#error "ZV_REPLAY_TOOL names the zv_replay program"
#endif

extern "C" int DllMain(void* module, uint32_t reason, void* reserved);

namespace {

constexpr uint32_t kProcessDetach = 0;
constexpr uint32_t kSlowWriteMs = 5000;  // longer than a frame may wait for a write

std::string tracePath() {
    const std::string exe = sim::os.exePath;
    return sim::hostPath(exe.substr(0, exe.rfind('\\') + 1) + "Zentravisor-trace.zvt");
}

std::string replayOutput(const std::string& path, int& status) {
    std::FILE* pipe = popen((std::string(ZV_REPLAY_TOOL) + " " + path + " 2>&1").c_str(), "r");
    std::string output;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
    status = pclose(pipe);
    return output;
}

TEST(TraceUnload, AWriteStillInFlightLandsFirstAndTheFileEndsWithEveryFrame) {
    play::bootAsLoaded();  // start-up: the header and the settings file reach the trace
    sim::putGameInFirstPerson();
    play::engage();
    sim::frames(10);

    // The disk slows down: the next block the recorder hands off (after at most
    // 60 frames) is still being written when the plug-in is unloaded, with
    // more frames waiting behind it.
    sim::setTraceWriteMs(kSlowWriteMs);
    for (int k = 0; k < 120 && !sim::traceWriteInFlight(); ++k) sim::frame();
    ASSERT_TRUE(sim::traceWriteInFlight());
    sim::frames(20);
    ASSERT_TRUE(sim::traceWriteInFlight());
    DllMain(sim::pluginModule(), kProcessDetach, nullptr);
    EXPECT_FALSE(sim::scriptRegistered());
    EXPECT_FALSE(sim::traceWriteInFlight());

    zvt::Trace trace;
    std::string error;
    ASSERT_TRUE(zvt::readFile(tracePath(), trace, error)) << error;
    EXPECT_EQ(trace.endReason, 1) << "the end record of an unload";
    EXPECT_EQ(trace.frames.size(), sim::frameIndex());
    EXPECT_EQ(trace.incompleteBytes, 0u);
    int status = 0;
    const std::string replay = replayOutput(tracePath(), status);
    EXPECT_EQ(status, 0) << replay;
    EXPECT_NE(replay.find("OK: " + std::to_string(sim::frameIndex()) + " frames"), std::string::npos) << replay;
}

}  // namespace

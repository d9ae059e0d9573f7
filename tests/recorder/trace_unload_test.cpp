// The trace build unloaded while a block write is still on its way to the disk:
// the unload lets that write land before anything else reaches the file, then
// writes the frames behind it and the end record, so the recording holds every
// frame played and replays. Played with the recorder compiled into the
// simulator's plug-in, as zv_record has it, so it runs under the sanitizers too.
#include <gtest/gtest.h>

#include <string>

#include "sim/sim.h"
#include "sim/trace_disk.h"
#include "sim/world/cameras.h"
#include "sim/world/os.h"
#include "sim/zvt_reader.h"
#include "tests/play.h"
#include "tests/replay_tool.h"

extern "C" int DllMain(void* module, uint32_t reason, void* reserved);

namespace {

constexpr uint32_t kProcessDetach = 0;
constexpr uint32_t kSlowWriteMs = 5000;  // longer than a frame may wait for a write

std::string tracePath() {
    const std::string exe = sim::os.exePath;
    return sim::hostPath(exe.substr(0, exe.rfind('\\') + 1) + "Zentravisor-trace.zvt");
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
    const ToolRun run = replay(tracePath());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("OK: " + std::to_string(sim::frameIndex()) + " frames"), std::string::npos) << run.output;
}

}  // namespace

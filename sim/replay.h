// Replay: the plug-in runs in the simulator with every input taken from a
// trace (sim/zvt_reader.h) instead of the world model: the clocks, the window in
// front, the keys, the pads, the random draws and each native's result and out-writes. Each call the plug-in makes is
// checked against the next recorded one; the first that differs ends the run
// with a report (the frame, both calls, the calls before) and exit status 1.
#pragma once
#include <cstdint>
#include <string>

#include "sim/sim.h"
#include "sim/zvt_reader.h"

namespace sim::replay {

constexpr int kExitDiverged = 1;
constexpr uint32_t kMaxUlps = 4;  // floats this close count as the same argument

void begin(const zvt::Trace& trace);  // from now on the plug-in's inputs come from the trace
bool active();
void beginFrame(size_t frame);
void endFrame();  // every record of the frame must have been consumed

// The platform calls (runtime/platform_calls.inc), answered from the trace.
#define ZV_PLATFORM_CALL(result, name, simulatorName, parameters, arguments) result simulatorName parameters;
#include "runtime/platform_calls.inc"
#undef ZV_PLATFORM_CALL
void native(NativeCall& call);

uint64_t matchedCalls();       // natives matched so far
uint64_t matchedPlatformCalls();  // clock, focus, key, pad and random calls matched so far

// Floats within maxUlps units in the last place, or for values near zero within
// maxUlps ulps of 1.0 of each other.
bool floatsClose(uint32_t a, uint32_t b, uint32_t maxUlps);

}  // namespace sim::replay

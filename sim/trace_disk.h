// The simulated disk under the recorder's trace file (sim/recorder_file_sim.cpp),
// for the trace build's unload test.
#pragma once
#include <cstdint>

namespace sim {

// From now on a block the recorder hands off stays in flight for this many ms of
// virtual time before it is on disk; 0 (the start) writes it at once.
void setTraceWriteMs(uint32_t ms);
bool traceWriteInFlight();  // a handed-off block is not yet on disk

}  // namespace sim

// The per-frame trace of a play session: what was rendered, frame by frame,
// as CSV. One row per frame; the columns are a table (tools/lib/demo_trace.cpp),
// so a new channel is one line.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/scenario.h"

namespace trace {

struct Recorder {
    std::vector<std::vector<std::string>> rows;
    uint32_t startTick = 0;  // the simulator's clock at the first row

    void write(const std::string& path) const;
};

// scenario::play's observer: one row for the frame just played into the
// Recorder at context.
void observe(void* context, const scenario::FrameInfo& frame);

}  // namespace trace

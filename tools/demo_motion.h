// The motion the session traces show: the motion the camera adds to the
// player's own look, the motion channels the report compares between runs,
// and how two runs of a session differ on them.
#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/comfort.h"
#include "tools/trace_csv.h"

namespace motion {

using report::Trace;

// Added = the rendered camera minus the game's own camera.
comfort::Motion addedMotion(const Trace& t);

// The comfort figures of the trace in a CSV file (all zero without one).
comfort::Figures figuresOf(const std::filesystem::path& csv);

// A motion channel of the trace, in the unit the report prints.
struct Channel {
    const char* name;
    const char* unit;
    std::vector<double> (*read)(const Trace&);
    bool angle;  // differences wrap at 360
};

// Every channel the frame-rate comparison reads.
const std::vector<Channel>& channels();
// The channels whose motion is eased by the frame's time: each frame should
// move them by that frame's length.
const std::vector<Channel>& easedChannels();

// a - b of two angle columns, wrapped, frame by frame.
std::vector<double> difference(const Trace& t, const char* a, const char* b);

struct RateDifference {
    double largest = 0.0;  // in the channel's unit
    double when = 0.0;     // seconds into the session
    double range = 0.0;    // the channel's largest magnitude in the reference run
};

// The largest difference of one run from the reference. A step with a
// duration runs whole frames until its time has passed, so at another frame
// rate each step starts a little earlier or later; the runs are lined up step
// by step, and either may land an event up to slack seconds later: a step
// that starts on the next frame is the frame clock, not the effect.
RateDifference compare(const Trace& reference, const Trace& other, const Channel& c, double slack);

// How a channel moves frame by frame in a run, against the same frames on an
// ideal clock: the frames on which it stood still where it should have moved,
// and its largest one-frame step.
struct Stutter {
    size_t shouldMove = 0;  // frames on which the ideal clock's run moved
    size_t stoodStill = 0;  // ... and this run did not
    double largestStep = 0.0, idealLargestStep = 0.0;
    double stillShare() const;  // of the frames that should have moved
    double stepRatio() const;   // largest step against the ideal clock's
};

// Adds one run's frames to out. The runs are the same frames of the same
// world (only the clock the plug-in reads differs), so they line up frame by frame.
void addStutter(Stutter& out, const Trace& run, const Trace& ideal, const Channel& c);

}  // namespace motion

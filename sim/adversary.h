// The adversary: plays the real plug-in through random episodes covering every
// state it can be in (on foot, engaged with every setting on, in cars, on
// motorcycles and bicycles, in boats, dead, parachuting, in cutscenes and fades,
// the menu open on every page, the reset dialog, key captures) while the
// natives answer with hostile values part of the time, and with frame times
// from 0 ms to minute-long stalls. Every frame is checked: it finishes within
// a wall-time bound and the dispatcher's native-count bound, no float argument
// is non-finite or absurd (the dispatcher fails the run on the spot), and after
// start-up the plug-in's code allocates nothing and touches no file except for
// the save when the menu closes.
#pragma once
#include <cstdint>
#include <string>

namespace sim {

struct AdversaryOptions {
    uint64_t frames = 20'000;
    uint64_t seed = 1;
    uint32_t startTick = 1'000'000;
    double maxFrameMs = 250.0;       // wall time; generous for sanitizer builds on a shared machine
    double maxSaveFrameMs = 5000.0;  // the frame that writes the 72 keys through the simulated OS
};

struct AdversaryReport {
    uint64_t frames = 0;
    uint64_t hostileFrames = 0;  // frames with hostile natives on
    uint64_t overridden = 0;     // results replaced
    uint64_t engagedFrames = 0, vehicleFrames = 0, deadFrames = 0, cutsceneFrames = 0;
    uint64_t menuFrames = 0, resetDialogFrames = 0, captureFrames = 0;
    uint32_t pagesSeen = 0;      // distinct menu pages shown (the section list counts as one)
    uint64_t saves = 0;          // frames in which the menu closed and saved
    double slowestFrameMs = 0.0;
    std::string failure;         // empty when every check held
};

// Boots the simulator (once per process) and plays.
AdversaryReport runAdversary(const AdversaryOptions& options);

}  // namespace sim

// Hostile natives: a mode of the simulator in which the game hands the plug-in
// values it never expects. After a native's model has run, its result (and the
// values it wrote through out-pointers) may be replaced by one drawn from a
// hostile set: 0, -1 and huge integers; NaN, infinities, +-1e38 and denormals
// for floats and vector components; handles that vanished or never existed.
//
// The dispatcher also checks what the plug-in hands the game: every float
// argument of every native must be finite and within kArgumentBound, in every
// mode, and a frame may call at most kMaxNativesPerFrame natives.
#pragma once
#include <cstdint>

#include "sim/sim.h"

namespace sim {

constexpr float kArgumentBound = 1.0e7f;        // |float argument| above this is absurd for any native
constexpr uint32_t kMaxNativesPerFrame = 5000;  // a pass that calls more is stuck in a loop

struct HostileStats {
    uint64_t overridden = 0;  // results and out-values replaced
};

// rate: the chance that one native call's result is replaced, 0 (off) .. 1 (every call).
void setHostile(double rate, uint64_t seed);
double hostileRate();
const HostileStats& hostileStats();

// Called by the dispatcher: the argument check before the model runs, the
// replacement after it.
void checkArguments(const NativeCall& call);
void disturbResult(NativeCall& call);

}  // namespace sim

// The demo: loads the plug-in into the simulator and plays a short session,
// printing what happened.
#include <cstdio>

#include "camera/camera.h"
#include "sim/sim.h"
#include "sim/world/os.h"

int main() {
    sim::boot();
    sim::frames(120);
    std::printf("frames run: %u, virtual time %u ms\n", sim::frameIndex(), sim::frameIndex() * 16);
    std::printf("natives called: %llu\n", static_cast<unsigned long long>(sim::nativeCallCount()));
    std::printf("F10 key events sent: %zu\n", sim::os.sentKeys.size());
    std::printf("camera rendering: %s\n", cameraRendering ? "yes" : "no");
    return 0;
}

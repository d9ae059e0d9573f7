#include "tools/shots.h"

#include <cstdio>
#include <filesystem>

#include "settings/settings.h"
#include "sim/raster.h"
#include "sim/sim.h"
#include "sim/world/draw.h"

namespace shots {

namespace {

std::string outputDir;
int failures = 0;

}  // namespace

bool begin(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return false;
    }
    outputDir = argv[1];
    std::filesystem::create_directories(outputDir);
    sim::setRecording(sim::Recording::LastFrame);
    sim::boot();
    sim::frames(2);
    resetAllSettings();
    return true;
}

std::string write(const char* name, const sim::ViewPose* view) {
    std::string path = outputDir + "/" + name;
    if (sim::writeFramePng(sim::draws.lastFrame, path, view)) return path;
    fail();
    return "";
}

void fail() { ++failures; }

int exitStatus() { return failures == 0 ? 0 : 1; }

}  // namespace shots

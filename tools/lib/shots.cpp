#include "tools/shots.h"

#include <cstdio>
#include <filesystem>

#include "settings/settings.h"
#include "sim/raster.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/world/draw.h"

namespace shots {

namespace {

std::string outputDir;
Render renderShot = nullptr;

std::string writeShot(const std::string& file) { return renderShot(outputDir + "/" + file); }

// After the start-up load: the pictures show the defaults, not the template's values.
void resetAfterStartUp(void*, const scenario::FrameInfo& frame) {
    if (!frame.step) resetAllSettings();
}

}  // namespace

int play(int argc, char** argv, Render render) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SESSION.zvs OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    scenario::Scenario session;
    if (!scenario::loadFile(argv[1], session)) return 1;
    outputDir = argv[2];
    renderShot = render;
    std::error_code made;
    std::filesystem::create_directories(outputDir, made);
    sim::setRecording(sim::Recording::LastFrame);
    scenario::PlayOptions options;
    options.shot = writeShot;
    scenario::ParseError error;
    if (!scenario::play(session, resetAfterStartUp, nullptr, error, options)) {
        scenario::printError(argv[1], error);
        return 1;
    }
    return 0;
}

std::string writePng(const std::string& path, const sim::ViewPose* view) {
    return sim::writeFramePng(sim::draws.lastFrame, path, view) ? "" : "cannot write " + path;
}

}  // namespace shots

// One session run: the session played with its per-frame trace, and its clip
// drawn from the frames the screen showed.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "sim/clip_render.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/draw.h"
#include "tools/demo.h"
#include "tools/demo_trace.h"
#include "tools/webp_clip.h"

namespace demo {

namespace {

constexpr double kClipFps = 30.0;
constexpr int kBadSession = 2;  // exit status: bad options, or the session would not parse or play
constexpr int kNoClip = 3;      // exit status: the clip could not be written

// A session played with its trace, and its clip drawn thirty times a second of
// virtual time from the frame the screen shows at each tick of the clip.
struct Recording {
    trace::Recorder trace;
    clip::WebpWriter writer;
    bool clipping = false;
    double clipFrom = 0.0, clipTo = 1e9;  // seconds of the session
    int clipFrames = 0;                   // drawn so far
};

void observeWithClip(void* context, const scenario::FrameInfo& frame) {
    Recording& r = *static_cast<Recording*>(context);
    trace::observe(&r.trace, frame);
    if (!r.clipping) return;
    double t = (sim::now() - r.trace.startTick) / 1000.0;
    if (t < r.clipFrom || t > r.clipTo) return;
    if (t - r.clipFrom + 1e-6 < r.clipFrames / kClipFps) return;
    const sim::RenderedFrame& f = sim::lastRendered();
    sim::ViewPose view{f.position, f.rotation, f.fov};
    std::vector<unsigned char> rgb = sim::renderClipFrame(view, sim::draws.lastFrame);
    if (rgb.empty()) {
        r.writer.failed = true;
        return;
    }
    r.writer.add(rgb.data(), static_cast<int>(std::lround(r.clipFrames * 1000.0 / kClipFps)));
    ++r.clipFrames;
}

}  // namespace

int playSession(const std::vector<std::string>& args) {
    const std::string& file = args[1];
    const std::string& csvPath = args[2];
    std::string clipPath;
    scenario::PlayOptions options;
    options.stage = true;
    auto recording = std::make_unique<Recording>();
    for (size_t k = 3; k < args.size(); ++k) {
        const std::string& a = args[k];
        bool hasValue = k + 1 < args.size();
        if (a == "--clip" && hasValue) clipPath = args[++k];
        else if (a == "--clip-from" && hasValue) recording->clipFrom = std::atof(args[++k].c_str());
        else if (a == "--clip-to" && hasValue) recording->clipTo = std::atof(args[++k].c_str());
        else if (a == "--fps" && hasValue) options.frameUs = static_cast<uint32_t>(std::lround(1e6 / std::atof(args[++k].c_str())));
        else if (a == "--ideal-clock") options.boot.idealClock = true;
        else if (a == "--ini" && hasValue) options.settingsFile = args[++k];
        else if (a == "--no-set") options.skipSettings = true;
        else {
            std::fprintf(stderr, "zv_demo --play: unknown option %s\n", a.c_str());
            return kBadSession;
        }
    }
    scenario::Scenario session;
    if (!scenario::loadFile(file, session)) return kBadSession;
    if (!clipPath.empty()) recording->clipping = recording->writer.open(sim::kClipWidth, sim::kClipHeight);
    scenario::ParseError error;
    bool played = scenario::play(session, observeWithClip, recording.get(), error, options);
    recording->trace.write(csvPath);
    if (!played) {
        scenario::printError(file, error);
        return kBadSession;
    }
    if (!clipPath.empty()) {
        int endMs = static_cast<int>(std::lround(recording->clipFrames * 1000.0 / kClipFps));
        if (!recording->clipping || !recording->writer.finish(clipPath, endMs)) {
            std::fprintf(stderr, "%s: the clip could not be written\n", clipPath.c_str());
            return kNoClip;
        }
    }
    return 0;
}

}  // namespace demo

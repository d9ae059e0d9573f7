// Replays a trace recorded by Zentravisor-trace.asi: the plug-in runs in the
// simulator with its clock, keys, pads, natives and settings file taken from the
// trace, and every call it makes must match the recorded one.
//   zv_replay FILE.zvt [--setting KEY=VALUE]...
// --setting changes one line of the recorded settings file before start-up (a
// way to see which calls a setting moves). Exit status: 0 every frame matched,
// 1 the plug-in diverged (the report names the frame and the call), 2 the file
// is not a readable trace or bad usage.
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/replay.h"
#include "sim/sim.h"
#include "sim/world/os.h"
#include "sim/zvt_reader.h"

namespace {

constexpr int kExitUnreadable = 2;
constexpr uint32_t kSlowFrameEndMicros = 1000;

// The settings file with KEY=VALUE in place of any line for KEY, first in its section.
std::string withSetting(const std::string& file, const std::string& line) {
    const std::string key = line.substr(0, line.find('=') + 1);
    std::string out;
    size_t at = 0;
    bool placed = false;
    while (at < file.size()) {
        size_t end = file.find('\n', at);
        end = end == std::string::npos ? file.size() : end + 1;
        const std::string current = file.substr(at, end - at);
        at = end;
        if (current.compare(0, key.size(), key) == 0) continue;
        out += current;
        if (!placed && current.compare(0, 8, "[Camera]") == 0) {
            out += line + "\r\n";
            placed = true;
        }
    }
    return placed ? out : out + "[Camera]\r\n" + line + "\r\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::string path;
    std::vector<std::string> settings;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--setting" && k + 1 < argc && std::string(argv[k + 1]).find('=') != std::string::npos) {
            settings.push_back(argv[++k]);
        } else if (path.empty() && arg.compare(0, 2, "--") != 0) {
            path = arg;
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: zv replay FILE.zvt [--setting KEY=VALUE]...\n");
        return kExitUnreadable;
    }

    zvt::Trace trace;
    std::string error;
    if (!zvt::readFile(path, trace, error)) {
        std::printf("zv replay: %s: format error: %s\n", path.c_str(), error.c_str());
        return kExitUnreadable;
    }
    std::printf("zv replay: %s: plug-in %s, build %s, %zu complete frames, %" PRIu64 " bytes\n", path.c_str(),
                trace.pluginVersion.c_str(), trace.build.c_str(), trace.frames.size(), trace.fileBytes);
    std::printf("zv replay: the recording ended: %s\n", zvt::endReasonText(trace.endReason));
    if (trace.incompleteBytes > 0)
        std::printf("zv replay: the last %" PRIu64 " bytes hold an incomplete frame, left out\n", trace.incompleteBytes);
    if (trace.pluginVersion != ZV_VERSION)
        std::printf("zv replay: warning: recorded with plug-in %s, replaying %s\n", trace.pluginVersion.c_str(), ZV_VERSION);
    if (trace.frames.empty()) {
        std::printf("zv replay: %s: format error: no complete frame\n", path.c_str());
        return kExitUnreadable;
    }
    if (trace.settingsState == 2) {
        std::printf("zv replay: %s: the settings file was too large to record\n", path.c_str());
        return kExitUnreadable;
    }

    sim::Options options;
    options.worldModels = false;
    sim::setRecording(sim::Recording::Off);  // the trace is the record; the simulator's own log would only grow
    sim::boot(options);
    std::string file = trace.settings;
    const bool hadFile = trace.settingsState == 1;
    for (const std::string& line : settings) file = withSetting(file, line);
    if (hadFile || !settings.empty()) {
        const std::string exe = sim::os.exePath;
        const std::string ini = sim::hostPath(exe.substr(0, exe.rfind('\\') + 1) + "Zentravisor.ini");
        std::FILE* out = std::fopen(ini.c_str(), "wb");
        if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() || std::fclose(out) != 0) {
            std::printf("zv replay: cannot write %s\n", ini.c_str());
            return kExitUnreadable;
        }
    }

    const auto began = std::chrono::steady_clock::now();
    sim::replay::begin(trace);
    uint64_t recorderMicros = 0, slowestMicros = 0;
    size_t slowestFrame = 0, slowFrameEnds = 0;
    for (size_t k = 0; k < trace.frames.size(); ++k) {
        sim::replay::beginFrame(k);
        sim::frame();
        sim::replay::endFrame();
        recorderMicros += trace.frames[k].endMicros;
        if (trace.frames[k].endMicros > kSlowFrameEndMicros) ++slowFrameEnds;
        if (trace.frames[k].endMicros > slowestMicros) slowestMicros = trace.frames[k].endMicros, slowestFrame = k - 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("zv replay: OK: %zu frames, %" PRIu64 " natives and %" PRIu64
                " clock, focus, key, pad and random calls matched in %.2f s (%.0f frames/s)\n",
                trace.frames.size(), sim::replay::matchedCalls(), sim::replay::matchedPlatformCalls(), seconds,
                static_cast<double>(trace.frames.size()) / (seconds > 0 ? seconds : 1e-9));
    std::printf("zv replay: the recorder's frame ends took %.1f us on average, %" PRIu64
                " us at most (frame %zu), %zu over %u us\n",
                static_cast<double>(recorderMicros) / static_cast<double>(trace.frames.size()), slowestMicros,
                slowestFrame, slowFrameEnds, kSlowFrameEndMicros);
    return 0;
}

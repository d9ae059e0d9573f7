// The demo: plays every bundled session (sessions/*.zvs) against the real
// plug-in in the simulator, one process per session run, as many at once as
// there are cores, and writes the report to out/demo/: a per-frame CSV trace
// per run, a clip per session, SVG plots of the motion, comfort figures, the
// frame-rate comparison, the presets, the menu and overlay screenshots, and
// index.html that shows it all.
//
//   zv_demo                  all bundled sessions, the full report
//   zv_demo FILE.zvs         one session of your own, into out/demo/NAME/
//   zv_demo --ini FILE.ini   the bundled sessions with a player's settings file, into out/demo/ini-NAME/
//   zv_demo --play FILE CSV [OPTIONS]  (internal) plays one session and writes its trace (and clip)
//
// zv_demo_tickclock is this program built around the plug-in with its old
// clock, GetTickCount itself: the report's frame-rate section plays it for the
// figures from before the clock took its frame times from the counter.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <thread>
#include <string>
#include <vector>

#include "sim/clip_render.h"
#include "sim/scenario.h"
#include "tools/comfort.h"
#include "tools/demo_motion.h"
#include "tools/demo_report.h"
#include "tools/demo_trace.h"
#include "tools/presets.h"
#include "tools/webp_clip.h"

namespace fs = std::filesystem;

namespace {

// ---- one session, in its own process ------------------------------------------

constexpr double kClipFps = 30.0;

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

// --play FILE CSV [--clip OUT.webp] [--clip-from S] [--clip-to S] [--fps N] [--ideal-clock] [--ini FILE] [--no-set]
int playOne(const std::vector<std::string>& args) {
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
            return 2;
        }
    }
    scenario::Scenario session;
    scenario::ParseError error;
    if (!scenario::parseFile(file, session, error)) {
        std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), error.line, error.message.c_str());
        return 2;
    }
    if (!clipPath.empty()) recording->clipping = recording->writer.open(sim::kClipWidth, sim::kClipHeight);
    bool played = scenario::play(session, observeWithClip, recording.get(), error, options);
    recording->trace.write(csvPath);
    if (!played) {
        std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), error.line, error.message.c_str());
        return 2;
    }
    if (!clipPath.empty()) {
        int endMs = static_cast<int>(std::lround(recording->clipFrames * 1000.0 / kClipFps));
        if (!recording->clipping || !recording->writer.finish(clipPath, endMs)) {
            std::fprintf(stderr, "%s: the clip could not be written\n", clipPath.c_str());
            return 3;
        }
    }
    return 0;
}

// ---- the driver -----------------------------------------------------------------

std::string selfPath() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "zv_demo";
    buffer[n] = '\0';
    return buffer;
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Parses every session first, so that a typo stops the demo before it starts.
bool checkSessions(const std::vector<fs::path>& files) {
    bool ok = true;
    for (const fs::path& f : files) {
        scenario::Scenario s;
        scenario::ParseError e;
        if (!scenario::parseFile(f.string(), s, e)) {
            std::fprintf(stderr, "%s:%d: %s\n", f.string().c_str(), e.line, e.message.c_str());
            ok = false;
        }
    }
    return ok;
}

// One session run in its own process.
struct Job {
    std::string label;              // "walk" or "fps144/walk": names its log
    size_t session;                 // index into the session files
    fs::path csv;
    std::vector<std::string> extra; // options after --play FILE CSV
    double cost;                    // the clip frames it draws: the long ones start first
    std::string program;            // the program that plays it; "" = this one
    int status = -1;
    double seconds = 0.0;
};

// Runs the jobs on every core, one process each; returns how many failed.
int runJobs(std::vector<Job>& jobs, const std::vector<fs::path>& files, const fs::path& out) {
    fs::create_directories(out / "logs");
    const std::string self = selfPath();
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<size_t> order(jobs.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return jobs[a].cost > jobs[b].cost; });
    std::map<pid_t, std::pair<size_t, std::chrono::steady_clock::time_point>> running;
    size_t next = 0, done = 0;
    int failures = 0;
    const bool interactive = isatty(STDOUT_FILENO);
    while (done < jobs.size()) {
        while (running.size() < cores && next < order.size()) {
            Job& j = jobs[order[next++]];
            fs::create_directories(j.csv.parent_path());
            std::vector<std::string> args = {j.program.empty() ? self : j.program, "--play", files[j.session].string(),
                                             j.csv.string()};
            args.insert(args.end(), j.extra.begin(), j.extra.end());
            std::string logName = j.label;
            std::replace(logName.begin(), logName.end(), '/', '-');
            pid_t pid = report::startProgram(args, out / "logs" / (logName + ".log"));
            if (pid < 0) {
                j.status = 127;
                ++done, ++failures;
                continue;
            }
            running[pid] = {order[next - 1], std::chrono::steady_clock::now()};
        }
        if (running.empty()) break;
        int status = 0;
        pid_t pid = waitpid(-1, &status, 0);
        auto it = running.find(pid);
        if (it == running.end()) continue;
        Job& j = jobs[it->second.first];
        j.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        j.seconds = seconds(it->second.second);
        running.erase(it);
        ++done;
        if (j.status != 0) {
            ++failures;
            std::printf("%s  %s failed (exit %d), see logs/\n", interactive ? "\r\033[K" : "", j.label.c_str(), j.status);
        }
        std::printf(interactive ? "\r\033[K[%zu/%zu] %s" : "[%zu/%zu] %s\n", done, jobs.size(), j.label.c_str());
        std::fflush(stdout);
    }
    std::printf("%s%zu session runs on %u cores%s\n", interactive ? "\r\033[K" : "", jobs.size(), cores,
                failures ? ", some failed" : "");
    return failures;
}

std::vector<fs::path> bundledSessions(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".zvs") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> namesOf(const std::vector<fs::path>& files) {
    std::vector<std::string> names;
    for (const fs::path& f : files) names.push_back(f.stem().string());
    return names;
}

double virtualSeconds(const fs::path& session) {
    scenario::Scenario s;
    scenario::ParseError e;
    if (!scenario::parseFile(session.string(), s, e)) return 0.0;
    double ms = 0.0;
    for (const scenario::Step& step : s.steps)
        if (step.hasDuration && !step.duration.frames) ms += step.duration.amount;
    return ms / 1000.0;
}

// Session runs of one kind for every session: label prefix, trace folder, options.
void addRuns(std::vector<Job>& jobs, const std::vector<fs::path>& files, const fs::path& out, const std::string& kind,
             const std::vector<std::string>& extra, bool clips, const std::string& clipFolder = "clips",
             const std::string& program = "") {
    for (size_t k = 0; k < files.size(); ++k) {
        std::string name = files[k].stem().string();
        Job j{kind.empty() ? name : kind + "/" + name, k, out / "traces" / kind / (name + ".csv"), extra, 0.1, program};
        if (clips) {
            j.extra.insert(j.extra.end(), {"--clip", (out / clipFolder / (name + ".webp")).string()});
            j.cost = virtualSeconds(files[k]);
        }
        jobs.push_back(j);
    }
}

const Job* findJob(const std::vector<Job>& jobs, const std::string& label) {
    for (const Job& j : jobs)
        if (j.label == label) return &j;
    return nullptr;
}

std::map<std::string, comfort::Figures> figuresOf(const std::vector<std::string>& names, const fs::path& folder) {
    std::map<std::string, comfort::Figures> out;
    for (const std::string& n : names)
        if (fs::exists(folder / (n + ".csv"))) out[n] = motion::figuresOf(folder / (n + ".csv"));
    return out;
}

uintmax_t folderBytes(const fs::path& folder, const std::string& extension) {
    uintmax_t bytes = 0;
    if (!fs::exists(folder)) return 0;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file() && e.path().extension() == extension) bytes += e.file_size();
    return bytes;
}

// Each session's clip beside the motion it adds, with its comfort row.
std::string clipsSection(const std::vector<std::string>& names, const fs::path& out, const std::string& clipFolder,
                         const std::map<std::string, comfort::Figures>& figures,
                         const std::map<std::string, comfort::Figures>& defaults, const std::string& defaultClipFolder = "") {
    std::ostringstream h;
    for (const std::string& n : names) {
        report::Trace t;
        if (!t.read(out / "traces" / (n + ".csv"))) continue;
        std::string plot = motion::addedMotionPlot(n, t, out);
        h << "<h3>" << report::html(n) << "</h3>\n<div class=\"clip\"><figure><img src=\"" << clipFolder << "/"
          << report::html(n) << ".webp\" alt=\"" << report::html(n) << " clip\"><figcaption>" << report::html(n)
          << " through the plug-in's camera, 30 frames a second.</figcaption></figure>\n";
        if (!defaultClipFolder.empty())
            h << "<figure><img src=\"" << defaultClipFolder << "/" << report::html(n) << ".webp\" alt=\"" << report::html(n)
              << " at the defaults\"><figcaption>The same session at the default settings.</figcaption></figure>\n";
        h << "<figure><img src=\"" << plot << "\" alt=\"added motion\"><figcaption>The motion the camera adds to the "
             "player's own look, on the frames where the plug-in's camera fills the screen.</figcaption></figure></div>\n";
        h << motion::figuresTable({n}, figures, &defaults);
    }
    return h.str();
}

std::string comfortSection(const std::vector<std::string>& names, const std::map<std::string, comfort::Figures>& figures,
                           const std::map<std::string, comfort::Figures>& defaults) {
    std::ostringstream h;
    h << "<h2 id=\"comfort\">Comfort figures</h2>\n<p>" << motion::kHowToRead << "</p>\n"
      << "<p>The sessions as written (each sets a few settings of its own) beside the same sessions at the plug-in's "
         "defaults. Bob is the eye's height less its one-second running mean; its frequency is the strongest between "
      << motion::fixed(comfort::kBobMinHz, 1) << " and " << motion::fixed(comfort::kBobMaxHz, 0) << " Hz.</p>\n"
      << motion::figuresTable(names, figures, &defaults);
    return h.str();
}

const motion::PresetClip* clipOf(const std::string& preset) {
    for (const motion::PresetClip& c : motion::kPresetClips)
        if (preset == c.preset) return &c;
    return nullptr;
}

std::string presetsSection(const std::vector<std::string>& names, const fs::path& out, const fs::path& presetsDir,
                           const std::map<std::string, comfort::Figures>& defaults) {
    std::ostringstream h;
    h << "<h2 id=\"presets\">Presets</h2>\n<p>Four complete <code>Zentravisor.ini</code> files in the zip's "
         "<code>presets/</code> folder. To use one, copy it over <code>Zentravisor.ini</code> in the game folder "
         "while the game is closed, or start from it and change it further in the menu. Each played every session "
         "with the sessions' own settings lines ignored; figures beside the defaults' (green: calmer, orange: more "
         "motion).</p>\n";
    for (const presets::Preset& p : presets::all()) {
        std::string dir = std::string("presets/") + p.name;
        const motion::PresetClip* clip = clipOf(p.name);
        h << "<h3>" << p.name << "</h3>\n<p>" << p.what << " <a href=\"presets/" << p.name << ".ini\">" << p.name
          << ".ini</a></p>\n";
        std::vector<std::string> changes = motion::differingKeys(presetsDir / (std::string(p.name) + ".ini"),
                                                                 presetsDir / "Classic.ini");
        if (!changes.empty()) {
            h << "<p>Changed from Classic: ";
            for (size_t k = 0; k < changes.size(); ++k) h << (k ? ", " : "") << "<code>" << report::html(changes[k]) << "</code>";
            h << "</p>\n";
        }
        std::string session;
        for (const std::string& n : names)
            if (clip && n.find(clip->session) != std::string::npos) session = n;
        h << "<div class=\"clip\"><figure><img src=\"clips/presets/" << p.name << ".webp\" alt=\"" << p.name
          << " clip\"><figcaption>" << p.name << ": part of " << report::html(session) << ".</figcaption></figure></div>\n";
        h << motion::figuresTable(names, figuresOf(names, out / "traces" / dir), &defaults);
    }
    return h.str();
}

constexpr const char* kPresetsDir = "presets";

int demoAll(const fs::path& sessionsDir, const fs::path& out) {
    std::vector<fs::path> files = bundledSessions(sessionsDir);
    if (files.empty()) {
        std::fprintf(stderr, "zv demo: no sessions in %s\n", sessionsDir.string().c_str());
        return 1;
    }
    if (!checkSessions(files)) return 1;
    auto start = std::chrono::steady_clock::now();
    fs::remove_all(out);
    fs::create_directories(out / "sessions");
    for (const fs::path& f : files) fs::copy_file(f, out / "sessions" / f.filename(), fs::copy_options::overwrite_existing);
    std::vector<std::string> names = namesOf(files);

    std::vector<Job> jobs;
    addRuns(jobs, files, out, "", {}, true);
    // Each frame rate on Windows' tick; the same on an ideal clock; and with the
    // plug-in's old clock, GetTickCount, on Windows' tick.
    const std::string tickClockProgram = (fs::path(selfPath()).parent_path() / "zv_demo_tickclock").string();
    for (double fps : motion::kFrameRates) {
        const std::string rate = motion::fixed(fps, 0);
        addRuns(jobs, files, out, motion::kWindowsTickRuns + rate, {"--fps", rate}, false);
        addRuns(jobs, files, out, motion::kIdealClockRuns + rate, {"--fps", rate, "--ideal-clock"}, false);
        addRuns(jobs, files, out, motion::kTickClockRuns + rate, {"--fps", rate}, false, "clips", tickClockProgram);
    }
    addRuns(jobs, files, out, "defaults", {"--no-set"}, false);
    fs::create_directories(out / "presets");
    for (const presets::Preset& p : presets::all()) {
        fs::path ini = fs::path(kPresetsDir) / (std::string(p.name) + ".ini");
        fs::copy_file(ini, out / "presets" / ini.filename(), fs::copy_options::overwrite_existing);
        size_t first = jobs.size();
        addRuns(jobs, files, out, std::string("presets/") + p.name, {"--no-set", "--ini", ini.string()}, false);
        const motion::PresetClip* clip = clipOf(p.name);
        for (size_t k = first; clip && k < jobs.size(); ++k) {
            if (names[jobs[k].session].find(clip->session) == std::string::npos) continue;
            fs::create_directories(out / "clips" / "presets");
            jobs[k].extra.insert(jobs[k].extra.end(), {"--clip", (out / "clips" / "presets" / (std::string(p.name) + ".webp")).string(),
                                                       "--clip-from", motion::fixed(clip->from, 2), "--clip-to", motion::fixed(clip->to, 2)});
            jobs[k].cost = clip->to - clip->from;
        }
    }
    fs::create_directories(out / "clips");
    int failures = runJobs(jobs, files, out);
    double played = seconds(start);

    std::printf("plots, screenshots and tables ...\n");
    std::vector<report::SessionRun> runs;
    for (size_t k = 0; k < files.size(); ++k) {
        const Job* j = findJob(jobs, names[k]);
        runs.push_back({names[k], files[k], out / "traces" / (names[k] + ".csv"), j ? j->status : 1, j ? j->seconds : 0.0});
    }
    report::Report r = report::build(runs, out, fs::path(selfPath()).parent_path(), true);
    auto figures = figuresOf(names, out / "traces");
    auto defaults = figuresOf(names, out / "traces" / "defaults");
    uintmax_t clipBytes = folderBytes(out / "clips", ".webp");
    std::ostringstream h;
    char summary[256];
    std::snprintf(summary, sizeof summary,
                  "%zu session runs (%zu clips, %.1f MB) in %.1f s on %u cores.", jobs.size(),
                  files.size() + presets::all().size(), clipBytes / 1e6, played,
                  std::max(1u, std::thread::hardware_concurrency()));
    h << "<h2 id=\"clips\">The sessions in motion</h2>\n<p>Each session through the plug-in's camera as the simulator "
         "draws it: the street's grid, posts and walls, the crosshair, tracers and menu as the plug-in drew them. "
      << summary << "</p>\n"
      << clipsSection(names, out, "clips", figures, defaults) << comfortSection(names, figures, defaults)
      << motion::frameRateSection(out, names) << presetsSection(names, out, kPresetsDir, defaults);
    r.motionHtml = h.str();
    report::writeIndex(r, out);
    std::printf("zv demo: %.1f s for %zu sessions (%zu runs; clips %.1f MB)\n", seconds(start), files.size(), jobs.size(),
                clipBytes / 1e6);
    std::printf("report: %s\n", fs::absolute(out / "index.html").string().c_str());
    return failures ? 1 : 0;
}

// The bundled sessions with a player's settings file, against the defaults.
int demoIni(const fs::path& ini, const fs::path& sessionsDir, const fs::path& outRoot) {
    if (!fs::is_regular_file(ini)) {
        std::fprintf(stderr, "zv demo: no settings file %s\n", ini.string().c_str());
        return 2;
    }
    std::vector<fs::path> files = bundledSessions(sessionsDir);
    if (files.empty() || !checkSessions(files)) return 1;
    auto start = std::chrono::steady_clock::now();
    fs::path out = outRoot / ("ini-" + ini.stem().string());
    fs::remove_all(out);
    fs::create_directories(out / "sessions");
    for (const fs::path& f : files) fs::copy_file(f, out / "sessions" / f.filename(), fs::copy_options::overwrite_existing);
    std::vector<std::string> names = namesOf(files);
    std::vector<Job> jobs;
    addRuns(jobs, files, out, "", {"--no-set", "--ini", fs::absolute(ini).string()}, true);
    addRuns(jobs, files, out, "defaults", {"--no-set"}, true, "clips/defaults");
    fs::create_directories(out / "clips" / "defaults");
    int failures = runJobs(jobs, files, out);
    std::vector<report::SessionRun> runs;
    for (size_t k = 0; k < files.size(); ++k) {
        const Job* j = findJob(jobs, names[k]);
        runs.push_back({names[k], files[k], out / "traces" / (names[k] + ".csv"), j ? j->status : 1, j ? j->seconds : 0.0});
    }
    report::Report r = report::build(runs, out, fs::path(selfPath()).parent_path(), false);
    r.plots.clear();
    auto figures = figuresOf(names, out / "traces");
    auto defaults = figuresOf(names, out / "traces" / "defaults");
    std::ostringstream h;
    h << "<h2 id=\"comfort\">Your settings: " << report::html(ini.filename().string()) << "</h2>\n<p>Every bundled "
         "session played with this file (the sessions' own settings lines ignored), beside the same sessions at the "
         "defaults. "
      << motion::kHowToRead << "</p>\n"
      << motion::figuresTable(names, figures, &defaults) << "<h2 id=\"clips\">Clips: yours, then the defaults</h2>\n"
      << clipsSection(names, out, "clips", figures, defaults, "clips/defaults");
    r.motionHtml = h.str();
    report::writeIndex(r, out);
    std::printf("zv demo: %.1f s for %zu sessions with %s\n", seconds(start), files.size(), ini.string().c_str());
    std::printf("report: %s\n", fs::absolute(out / "index.html").string().c_str());
    return failures ? 1 : 0;
}

int demoOne(const fs::path& file, const fs::path& outRoot) {
    if (!checkSessions({file})) return 1;
    fs::path out = outRoot / file.stem();
    fs::remove_all(out);
    fs::create_directories(out / "sessions");
    fs::copy_file(file, out / "sessions" / file.filename(), fs::copy_options::overwrite_existing);
    std::vector<fs::path> files{file};
    std::vector<std::string> names = namesOf(files);
    std::vector<Job> jobs;
    addRuns(jobs, files, out, "", {}, true);
    addRuns(jobs, files, out, "defaults", {"--no-set"}, false);
    fs::create_directories(out / "clips");
    int failures = runJobs(jobs, files, out);
    std::vector<report::SessionRun> runs{{names[0], file, out / "traces" / (names[0] + ".csv"), jobs[0].status, jobs[0].seconds}};
    report::Report r = report::build(runs, out, fs::path(selfPath()).parent_path(), false);
    auto figures = figuresOf(names, out / "traces");
    auto defaults = figuresOf(names, out / "traces" / "defaults");
    r.motionHtml = "<h2 id=\"clips\">In motion</h2>\n<p>" + std::string(motion::kHowToRead) + "</p>\n" +
                   clipsSection(names, out, "clips", figures, defaults);
    report::writeIndex(r, out);
    std::printf("report: %s\n", fs::absolute(out / "index.html").string().c_str());
    return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 3 && args[0] == "--play") return playOne(args);
    if (args.empty()) return demoAll("sessions", "out/demo");
    if (args.size() == 2 && args[0] == "--ini") return demoIni(args[1], "sessions", "out/demo");
    if (args.size() == 1 && args[0][0] != '-') return demoOne(args[0], "out/demo");
    std::fprintf(stderr, "usage: zv_demo [SESSION.zvs | --ini Zentravisor.ini]\n");
    return 2;
}

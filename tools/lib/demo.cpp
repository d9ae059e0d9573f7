// The demo's three reports, each a set of session runs in processes of their
// own (this program again, with --play), then the report from their traces.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

#include "sim/scenario.h"
#include "tools/demo.h"
#include "tools/presets.h"
#include "tools/process.h"
#include "tools/report.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

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

unsigned coreCount() { return std::max(1u, std::thread::hardware_concurrency()); }

// Parses every session first, so that a typo stops the demo before it starts.
bool checkSessions(const std::vector<fs::path>& files) {
    bool ok = true;
    for (const fs::path& f : files) {
        scenario::Scenario s;
        if (!scenario::loadFile(f.string(), s)) ok = false;
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
    const unsigned cores = coreCount();
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
            pid_t pid = process::start(args, out / "logs" / (logName + ".log"));
            if (pid < 0) {
                j.status = process::kNotStarted;
                ++done, ++failures;
                continue;
            }
            running[pid] = {order[next - 1], std::chrono::steady_clock::now()};
        }
        if (running.empty()) break;
        int status = 0;
        pid_t pid = process::waitAny(status);
        auto it = running.find(pid);
        if (it == running.end()) continue;
        Job& j = jobs[it->second.first];
        j.status = status;
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

uintmax_t folderBytes(const fs::path& folder, const std::string& extension) {
    uintmax_t bytes = 0;
    if (!fs::exists(folder)) return 0;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file() && e.path().extension() == extension) bytes += e.file_size();
    return bytes;
}

// The sessions as the report lists them, each with how its run as written went.
std::vector<report::SessionRun> sessionRuns(const std::vector<Job>& jobs, const std::vector<fs::path>& files,
                                            const fs::path& out) {
    std::vector<report::SessionRun> runs;
    for (const fs::path& file : files) {
        const std::string name = file.stem().string();
        const Job* j = nullptr;
        for (const Job& job : jobs)
            if (!j && job.label == name) j = &job;
        runs.push_back({name, file, out / "traces" / (name + ".csv"), j ? j->status : 1, j ? j->seconds : 0.0});
    }
    return runs;
}

// A fresh report folder with a copy of each session played.
void startReport(const fs::path& out, const std::vector<fs::path>& files) {
    fs::remove_all(out);
    fs::create_directories(out / "sessions");
    for (const fs::path& f : files) fs::copy_file(f, out / "sessions" / f.filename(), fs::copy_options::overwrite_existing);
}

// Where the screenshot tools are: beside this program.
fs::path binDir() { return fs::path(selfPath()).parent_path(); }

constexpr const char* kPresetsDir = "presets";  // the committed preset files

}  // namespace

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

int all(const fs::path& sessionsDir, const fs::path& out) {
    std::vector<fs::path> files = bundledSessions(sessionsDir);
    if (files.empty()) {
        std::fprintf(stderr, "zv demo: no sessions in %s\n", sessionsDir.string().c_str());
        return 1;
    }
    if (!checkSessions(files)) return 1;
    auto start = std::chrono::steady_clock::now();
    startReport(out, files);
    std::vector<std::string> names = namesOf(files);

    std::vector<Job> jobs;
    addRuns(jobs, files, out, "", {}, true);
    // Each frame rate on Windows' tick; the same on an ideal clock; and with the
    // plug-in's old clock, GetTickCount, on Windows' tick.
    const std::string tickClockProgram = (binDir() / "zv_demo_tickclock").string();
    for (double fps : report::kFrameRates) {
        const std::string rate = report::fixed(fps, 0);
        addRuns(jobs, files, out, report::kWindowsTickRuns + rate, {"--fps", rate}, false);
        addRuns(jobs, files, out, report::kIdealClockRuns + rate, {"--fps", rate, "--ideal-clock"}, false);
        addRuns(jobs, files, out, report::kTickClockRuns + rate, {"--fps", rate}, false, "clips", tickClockProgram);
    }
    addRuns(jobs, files, out, report::kDefaultsRuns, {"--no-set"}, false);
    fs::create_directories(out / report::kPresetRuns);
    for (const presets::Preset& p : presets::all()) {
        fs::path ini = fs::path(kPresetsDir) / (std::string(p.name) + ".ini");
        fs::copy_file(ini, out / report::kPresetRuns / ini.filename(), fs::copy_options::overwrite_existing);
        size_t first = jobs.size();
        addRuns(jobs, files, out, std::string(report::kPresetRuns) + "/" + p.name, {"--no-set", "--ini", ini.string()}, false);
        const report::PresetClip* clip = report::presetClip(p.name);
        for (size_t k = first; clip && k < jobs.size(); ++k) {
            if (names[jobs[k].session].find(clip->session) == std::string::npos) continue;
            const fs::path clips = out / "clips" / report::kPresetRuns;
            fs::create_directories(clips);
            jobs[k].extra.insert(jobs[k].extra.end(), {"--clip", (clips / (std::string(p.name) + ".webp")).string(),
                                                       "--clip-from", report::fixed(clip->from, 2), "--clip-to",
                                                       report::fixed(clip->to, 2)});
            jobs[k].cost = clip->to - clip->from;
        }
    }
    fs::create_directories(out / "clips");
    int failures = runJobs(jobs, files, out);
    double played = seconds(start);

    std::printf("plots, screenshots and tables ...\n");
    report::Report r = report::build(sessionRuns(jobs, files, out), out, binDir(), true);
    const report::RunSummary summary{jobs.size(), files.size() + presets::all().size(), folderBytes(out / "clips", ".webp"),
                                     played, coreCount()};
    r.motionHtml = report::fullMotionSections(names, out, summary);
    report::writeIndex(r, out);
    std::printf("zv demo: %.1f s for %zu sessions (%zu runs; clips %.1f MB)\n", seconds(start), files.size(), jobs.size(),
                summary.clipBytes / 1e6);
    std::printf("report: %s\n", fs::absolute(out / "index.html").string().c_str());
    return failures ? 1 : 0;
}

int withSettingsFile(const fs::path& ini, const fs::path& sessionsDir, const fs::path& outRoot) {
    if (!fs::is_regular_file(ini)) {
        std::fprintf(stderr, "zv demo: no settings file %s\n", ini.string().c_str());
        return 2;
    }
    std::vector<fs::path> files = bundledSessions(sessionsDir);
    if (files.empty() || !checkSessions(files)) return 1;
    auto start = std::chrono::steady_clock::now();
    fs::path out = outRoot / ("ini-" + ini.stem().string());
    startReport(out, files);
    std::vector<std::string> names = namesOf(files);
    std::vector<Job> jobs;
    addRuns(jobs, files, out, "", {"--no-set", "--ini", fs::absolute(ini).string()}, true);
    addRuns(jobs, files, out, report::kDefaultsRuns, {"--no-set"}, true, report::kDefaultsClips);
    fs::create_directories(out / report::kDefaultsClips);
    int failures = runJobs(jobs, files, out);
    report::Report r = report::build(sessionRuns(jobs, files, out), out, binDir(), false);
    r.plots.clear();
    r.motionHtml = report::settingsFileSections(ini.filename().string(), names, out);
    report::writeIndex(r, out);
    std::printf("zv demo: %.1f s for %zu sessions with %s\n", seconds(start), files.size(), ini.string().c_str());
    std::printf("report: %s\n", fs::absolute(out / "index.html").string().c_str());
    return failures ? 1 : 0;
}

int oneSession(const fs::path& file, const fs::path& outRoot) {
    if (!checkSessions({file})) return 1;
    fs::path out = outRoot / file.stem();
    std::vector<fs::path> files{file};
    startReport(out, files);
    std::vector<std::string> names = namesOf(files);
    std::vector<Job> jobs;
    addRuns(jobs, files, out, "", {}, true);
    addRuns(jobs, files, out, report::kDefaultsRuns, {"--no-set"}, false);
    fs::create_directories(out / "clips");
    int failures = runJobs(jobs, files, out);
    report::Report r = report::build(sessionRuns(jobs, files, out), out, binDir(), false);
    r.motionHtml = report::oneSessionSections(names, out);
    report::writeIndex(r, out);
    std::printf("report: %s\n", fs::absolute(out / "index.html").string().c_str());
    return failures ? 1 : 0;
}

}  // namespace demo

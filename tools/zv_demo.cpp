// The demo: plays every bundled session (sessions/*.zvs) against the real
// plug-in in the simulator, one process per session, and writes the report to
// out/demo/: a per-frame CSV trace per session, SVG plots of the motion, the
// menu and overlay screenshots, and index.html that shows it all.
//
//   zv_demo                 all bundled sessions, the full report
//   zv_demo FILE.zvs        one session of your own, into out/demo/NAME/
//   zv_demo --play FILE CSV (internal) plays one session and writes its trace
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/scenario.h"
#include "tools/demo_report.h"
#include "tools/demo_trace.h"

namespace fs = std::filesystem;

namespace {

// ---- one session, in its own process ------------------------------------------

int playOne(const std::string& file, const std::string& csvPath) {
    scenario::Scenario session;
    scenario::ParseError error;
    if (!scenario::parseFile(file, session, error)) {
        std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), error.line, error.message.c_str());
        return 2;
    }
    trace::Recorder recorder;
    bool played = scenario::play(session, trace::observe, &recorder, error);
    recorder.write(csvPath);
    if (!played) {
        std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), error.line, error.message.c_str());
        return 2;
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

int runSessions(const std::vector<fs::path>& files, const fs::path& out, std::vector<report::SessionRun>& runs) {
    fs::create_directories(out / "traces");
    fs::create_directories(out / "sessions");
    const std::string self = selfPath();
    const bool interactive = isatty(STDOUT_FILENO);  // one rewritten progress line on a terminal
    int failures = 0;
    for (size_t k = 0; k < files.size(); ++k) {
        std::string name = files[k].stem().string();
        std::printf(interactive ? "\r\033[K[%zu/%zu] %s ..." : "[%zu/%zu] %s\n", k + 1, files.size(), name.c_str());
        std::fflush(stdout);
        auto start = std::chrono::steady_clock::now();
        fs::path csv = out / "traces" / (name + ".csv");
        fs::copy_file(files[k], out / "sessions" / files[k].filename(), fs::copy_options::overwrite_existing);
        int status = report::runProgram({self, "--play", files[k].string(), csv.string()});
        report::SessionRun run{name, files[k], csv, status, seconds(start)};
        runs.push_back(run);
        if (status != 0) {
            std::printf("\n  %s failed (exit %d)\n", name.c_str(), status);
            ++failures;
        }
    }
    std::printf("%s%zu sessions played%s\n", interactive ? "\r\033[K" : "", files.size(), failures ? ", some failed" : "");
    return failures;
}

int demoAll(const fs::path& sessionsDir, const fs::path& out) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(sessionsDir))
        if (entry.path().extension() == ".zvs") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "zv demo: no sessions in %s\n", sessionsDir.string().c_str());
        return 1;
    }
    if (!checkSessions(files)) return 1;
    auto start = std::chrono::steady_clock::now();
    fs::remove_all(out);
    std::vector<report::SessionRun> runs;
    int failures = runSessions(files, out, runs);
    std::printf("plots and screenshots ...\n");
    report::Report r = report::build(runs, out, fs::path(selfPath()).parent_path(), true);
    report::writeIndex(r, out);
    std::printf("zv demo: %.1f s for %zu sessions\n", seconds(start), files.size());
    std::printf("report: %s\n", fs::absolute(out / "index.html").string().c_str());
    return failures ? 1 : 0;
}

int demoOne(const fs::path& file, const fs::path& outRoot) {
    if (!checkSessions({file})) return 1;
    fs::path out = outRoot / file.stem();
    fs::remove_all(out);
    std::vector<report::SessionRun> runs;
    int failures = runSessions({file}, out, runs);
    report::Report r = report::build(runs, out, fs::path(selfPath()).parent_path(), false);
    report::writeIndex(r, out);
    std::printf("report: %s\n", fs::absolute(out / "index.html").string().c_str());
    return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "--play") return playOne(args[1], args[2]);
    if (args.empty()) return demoAll("sessions", "out/demo");
    if (args.size() == 1 && args[0][0] != '-') return demoOne(args[0], "out/demo");
    std::fprintf(stderr, "usage: zv_demo [SESSION.zvs]\n");
    return 2;
}

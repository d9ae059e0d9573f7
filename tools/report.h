// The demo's report: index.html with the session traces, the plots drawn from
// them, the clips, the comfort figures, the frame-rate comparison, the presets
// and the screenshots, each picture with one line saying what to look for.
// The sections are in tools/lib/report_sections.cpp, the page around them in
// tools/lib/report_index.cpp.
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace report {

// The session runs the full report reads beside the sessions as written:
// every session at each of these rates on Windows' tick (GetTickCount in
// 15.625 ms steps, as a player's machine has it), on an ideal clock, and with
// the plug-in's old clock, GetTickCount itself, on Windows' tick.
constexpr double kFrameRates[] = {60.0, 144.0, 240.0};
constexpr double kReferenceRate = 60.0;
constexpr const char* kWindowsTickRuns = "fps";      // traces/fps144/...
constexpr const char* kIdealClockRuns = "ideal";     // traces/ideal144/...
constexpr const char* kTickClockRuns = "tickclock";  // traces/tickclock144/...
constexpr const char* kDefaultsRuns = "defaults";    // traces/defaults/...: the sessions at the default settings
constexpr const char* kDefaultsClips = "clips/defaults";  // their clips, in the report of a player's settings file
constexpr const char* kPresetRuns = "presets";       // traces/presets/NAME/...: with each preset's file, and presets/NAME.ini

// The session each preset's clip shows (a part of its name), and which part of it.
struct PresetClip {
    const char* preset;
    const char* session;
    double from, to;  // seconds into the session
};
const PresetClip* presetClip(const std::string& preset);  // nullptr: the preset has no clip

// A number with a fixed count of decimals, never "-0".
std::string fixed(double v, int decimals);
// The text escaped for HTML.
std::string html(const std::string& s);
// Writes a whole file; false when it could not.
bool writeText(const std::filesystem::path& path, const std::string& text);

struct SessionRun {
    std::string name;
    std::filesystem::path file;
    std::filesystem::path csv;
    int status;
    double seconds;
};

struct Picture {
    std::string file;     // relative to the report folder
    std::string title;
    std::string lookFor;  // one line: what to look for
};

struct Report {
    std::vector<SessionRun> runs;
    std::vector<Picture> plots;
    std::vector<Picture> screenshots;
    std::vector<std::string> notes;
    std::string motionHtml;  // the sections between the sessions and the pictures
};

// The plots of the runs' traces (full: the report's own plots and the
// screenshots of the tools in binDir; otherwise each session's generic plots).
Report build(const std::vector<SessionRun>& runs, const std::filesystem::path& out, const std::filesystem::path& binDir,
             bool full);

// How the full report's runs went, for its summary line.
struct RunSummary {
    size_t runs, clips;
    uintmax_t clipBytes;
    double seconds;
    unsigned cores;
};

// The motion sections of the full report, of a session of the player's own,
// and of the bundled sessions played with a player's settings file.
std::string fullMotionSections(const std::vector<std::string>& sessions, const std::filesystem::path& out,
                               const RunSummary& summary);
std::string oneSessionSections(const std::vector<std::string>& sessions, const std::filesystem::path& out);
std::string settingsFileSections(const std::string& iniName, const std::vector<std::string>& sessions,
                                 const std::filesystem::path& out);

// Writes out/index.html.
void writeIndex(const Report& r, const std::filesystem::path& out);

}  // namespace report

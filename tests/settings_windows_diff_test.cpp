// The settings file against Windows: every case of tests/wine/settings_cases.h
// runs here through the simulator's profile reader and writer, and its
// artefacts are compared with those of settings_probe.exe, which ran the same
// plug-in code against Wine's kernel32 (the "wine" tests; ZV_WINE_SETTINGS_DIR
// names their output). Without that folder these tests are skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <unistd.h>

#include "settings/settings_file.h"
#include "sim/profile_ini.h"
#include "sim/world/os.h"
#include "tests/profile_lines.h"
#include "tests/wine/settings_cases.h"

namespace fs = std::filesystem;

namespace settings_cases {
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }  // names in test output
}  // namespace settings_cases

namespace {

bool readBytes(const fs::path& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *bytes = s.str();
    return true;
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void snapshot(const fs::path& settingsFile, const fs::path& to) {
    std::string bytes;
    if (fs::is_regular_file(settingsFile) && readBytes(settingsFile, &bytes)) writeBytes(to, bytes);
}

// The probe's sequence, on the simulated disk of folder dir.
void runCase(const settings_cases::Case& c, const fs::path& dir) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path game = dir / "game";
    fs::create_directories(game);
    sim::os.diskRoot = game.string();
    sim::os.exePath = "C:\\Games\\Probe\\probe.exe";
    const fs::path settingsFile = game / "Zentravisor.ini";
    bool exists = false;
    const std::string initial = settings_cases::initialFile(c.name, &exists);
    if (exists) writeBytes(settingsFile, initial);
    if (c.directoryAtPath) fs::create_directories(settingsFile);

    writeBytes(dir / "raw.txt", settings_cases::dumpRawReads("C:\\Games\\Probe\\Zentravisor.ini"));
    buildSettingsPath();
    writeSettingsTemplate();
    loadSettings();
    writeBytes(dir / "values.txt", settings_cases::dumpValues());
    snapshot(settingsFile, dir / "startup.ini");
    if (c.resetAllBeforeSave) resetAllSettings();
    saveSettings();
    snapshot(settingsFile, dir / "save.ini");
}

// Our artefacts for one case next to the probe's.
struct CaseRun {
    fs::path windows, ours;
    std::string read(const fs::path& dir, const char* artefact) const {
        std::string bytes;
        readBytes(dir / artefact, &bytes);
        return bytes;
    }
};

bool prepare(const settings_cases::Case& c, CaseRun* run) {
    const char* windowsDir = std::getenv("ZV_WINE_SETTINGS_DIR");
    if (!windowsDir) return false;
    run->windows = fs::path(windowsDir) / c.name;
    run->ours = fs::temp_directory_path() / ("zv-settings-diff-" + std::to_string(getpid())) / c.name;
    runCase(c, run->ours);
    return true;
}

void expectSameReadsAndValues(const CaseRun& run) {
    for (const char* artefact : {"raw.txt", "values.txt"})
        EXPECT_EQ(run.read(run.windows, artefact), run.read(run.ours, artefact)) << artefact;
}

void expectLinesKept(const std::string& before, const std::string& after, const char* what) {
    const std::string lost = profile_lines::firstLostLine(before, after);
    EXPECT_EQ(lost, "") << what << ": line lost: " << settings_cases::escaped(lost.data(), lost.size());
}

// Both files give the same text for every key the plug-in uses.
void expectSameContent(const std::string& windows, const std::string& ours, const char* what) {
    std::string keys = settings_cases::rawKeys();
    for (size_t start = 0; start < keys.size();) {
        const size_t end = keys.find('\n', start);
        const std::string key = keys.substr(start, end - start);
        start = end + 1;
        char a[32], b[32];
        profile::readString(&windows, "Camera", key, "<absent>", a, sizeof a);
        profile::readString(&ours, "Camera", key, "<absent>", b, sizeof b);
        EXPECT_STREQ(a, b) << what << ": " << key;
    }
}

std::string caseName(const testing::TestParamInfo<settings_cases::Case>& info) { return info.param.name; }

std::vector<settings_cases::Case> casesWhere(settings_cases::WineDiffers wine) {
    std::vector<settings_cases::Case> out;
    for (const settings_cases::Case& c : settings_cases::kCases)
        if (c.wine == wine) out.push_back(c);
    return out;
}

// A case played on our side next to the probe's artefacts, skipped when the
// probe has not run; the raw reads and the loaded values agree in every case.
class AgainstWindows : public testing::TestWithParam<settings_cases::Case> {
protected:
    void SetUp() override {
        if (!prepare(GetParam(), &run)) GTEST_SKIP() << "ZV_WINE_SETTINGS_DIR not set: run the wine tests";
        expectSameReadsAndValues(run);
    }
    std::string windowsFile(const char* artefact) const { return run.read(run.windows, artefact); }
    std::string ourFile(const char* artefact) const { return run.read(run.ours, artefact); }

    // Our files keep every line of the file before them that no write touched.
    void expectUntouchedLinesKept() const {
        bool exists = false;
        const std::string initial = settings_cases::initialFile(GetParam().name, &exists);
        expectLinesKept(initial, ourFile("startup.ini"), "start-up");
        expectLinesKept(ourFile("startup.ini"), ourFile("save.ini"), "save");
    }

    CaseRun run;
};

class SettingsAgainstWindows : public AgainstWindows {};

TEST_P(SettingsAgainstWindows, SameReadsValuesAndFiles) {
    for (const char* artefact : {"startup.ini", "save.ini"}) {
        EXPECT_EQ(fs::exists(run.windows / artefact), fs::exists(run.ours / artefact)) << artefact;
        EXPECT_EQ(windowsFile(artefact), ourFile(artefact)) << artefact << "; ours in " << run.ours;
    }
}
INSTANTIATE_TEST_SUITE_P(Cases, SettingsAgainstWindows,
                         testing::ValuesIn(casesWhere(settings_cases::WineDiffers::No)), caseName);

// Wine rewrites the whole file at each write; the settings file keeps every line
// that no write touches. Reads, values and the written keys still agree.
class SettingsWhereWineRewritesUntouchedLines : public AgainstWindows {};

TEST_P(SettingsWhereWineRewritesUntouchedLines, SameReadsAndKeysButUntouchedLinesKeptByteForByte) {
    for (const char* artefact : {"startup.ini", "save.ini"})
        expectSameContent(windowsFile(artefact), ourFile(artefact), artefact);
    expectUntouchedLinesKept();
}
INSTANTIATE_TEST_SUITE_P(Cases, SettingsWhereWineRewritesUntouchedLines,
                         testing::ValuesIn(casesWhere(settings_cases::WineDiffers::RewritesUntouchedLines)), caseName);

// Wine overwrites a line without '=' named like the key it writes, though it
// read that key as absent; the settings file appends the key and keeps the line.
class SettingsWhereWineWritesOverLineWithoutEquals : public AgainstWindows {};

TEST_P(SettingsWhereWineWritesOverLineWithoutEquals, SameReadsAndKeysButLineKeptAndKeyAppended) {
    expectSameContent(windowsFile("save.ini"), ourFile("save.ini"), "save.ini");
    expectUntouchedLinesKept();
    EXPECT_NE(ourFile("save.ini").find("\r\nFOV\r\n"), std::string::npos);
    EXPECT_NE(ourFile("save.ini").find("\r\nFOV=90.0000\r\n"), std::string::npos);
}
INSTANTIATE_TEST_SUITE_P(Cases, SettingsWhereWineWritesOverLineWithoutEquals,
                         testing::ValuesIn(casesWhere(settings_cases::WineDiffers::WritesOverLineWithoutEquals)),
                         caseName);

}  // namespace

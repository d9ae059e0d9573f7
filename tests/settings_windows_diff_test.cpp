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

#include "settings/settings_file.h"
#include "sim/world/os.h"
#include "tests/wine/settings_cases.h"

namespace fs = std::filesystem;

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

class SettingsAgainstWindows : public testing::TestWithParam<settings_cases::Case> {};

TEST_P(SettingsAgainstWindows, SameReadsValuesAndFiles) {
    const char* windowsDir = std::getenv("ZV_WINE_SETTINGS_DIR");
    if (!windowsDir) GTEST_SKIP() << "ZV_WINE_SETTINGS_DIR not set: run the wine tests";
    const settings_cases::Case& c = GetParam();
    const fs::path windows = fs::path(windowsDir) / c.name;
    const fs::path ours = fs::temp_directory_path() / ("zv-settings-diff-" + std::to_string(getpid())) / c.name;
    runCase(c, ours);
    for (const char* artefact : {"raw.txt", "values.txt", "startup.ini", "save.ini"}) {
        std::string expected, actual;
        const bool haveExpected = readBytes(windows / artefact, &expected);
        const bool haveActual = readBytes(ours / artefact, &actual);
        EXPECT_EQ(haveExpected, haveActual) << artefact;
        EXPECT_EQ(expected, actual) << artefact << " differs; ours in " << ours;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsAgainstWindows, testing::ValuesIn(settings_cases::kCases),
                         [](const testing::TestParamInfo<settings_cases::Case>& info) { return std::string(info.param.name); });

}  // namespace

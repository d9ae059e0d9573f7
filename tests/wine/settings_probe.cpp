// Windows side of the settings-file comparison: runs every case of
// settings_cases.h through the plug-in's own settings code, with the file and
// profile calls going to the system's kernel32, and leaves the artefacts in
// <output folder>\<case>\. Usage: settings_probe.exe <output folder>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/platform.h"
#include "settings/settings_file.h"
#include "tests/wine/settings_cases.h"

namespace {
std::string executablePath;  // the settings file goes beside it: one folder per case

bool writeFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool readFileBytes(const std::string& path, std::string* bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes->append(chunk, n);
    std::fclose(f);
    return true;
}

void snapshot(const std::string& settingsFile, const std::string& to) {
    std::string bytes;
    if (readFileBytes(settingsFile, &bytes)) writeFileBytes(to, bytes);
}
}  // namespace

// The platform calls the settings code makes, as the release build makes them,
// except that the executable path names the case's folder.
uint32_t osExecutablePath(char* buffer, uint32_t size) {
    if (size == 0) return 0;
    const uint32_t n = executablePath.size() < size - 1 ? static_cast<uint32_t>(executablePath.size()) : size - 1;
    std::memcpy(buffer, executablePath.data(), n);
    buffer[n] = '\0';
    return n;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_probe <output folder>\n");
        return 2;
    }
    const std::string out = argv[1];
    CreateDirectoryA(out.c_str(), nullptr);
    int failures = 0;
    for (const settings_cases::Case& c : settings_cases::kCases) {
        const std::string dir = out + "\\" + c.name;
        const std::string settingsFile = dir + "\\Zentravisor.ini";
        if (!CreateDirectoryA(dir.c_str(), nullptr)) { ++failures; continue; }
        bool exists = false;
        const std::string initial = settings_cases::initialFile(c.name, &exists);
        if (exists && !writeFileBytes(settingsFile, initial)) { ++failures; continue; }
        if (c.directoryAtPath) CreateDirectoryA(settingsFile.c_str(), nullptr);

        executablePath = dir + "\\probe.exe";
        writeFileBytes(dir + "\\raw.txt", settings_cases::dumpRawReads(settingsFile.c_str()));
        buildSettingsPath();
        writeSettingsTemplate();
        loadSettings();
        writeFileBytes(dir + "\\values.txt", settings_cases::dumpValues());
        snapshot(settingsFile, dir + "\\startup.ini");
        if (c.resetAllBeforeSave) resetAllSettings();
        saveSettings();
        snapshot(settingsFile, dir + "\\save.ini");
        std::printf("%s\n", c.name);
    }
    return failures == 0 ? 0 : 1;
}

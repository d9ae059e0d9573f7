// zv-check-ini: reads a player's Zentravisor.ini with the plug-in's own load
// code, prints the value each key will load as, and warns where that silently
// differs from what the file says. Exits 1 when it warned, 2 when it could not
// read the file.
//
// Built twice: on Linux against the simulator's file system, and for Windows
// (zv-check-ini.exe in the release zip) against the system's profile functions.
// The Windows build without an argument checks the Zentravisor.ini beside it.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/ini_check.h"

#ifdef _WIN32
#include <windows.h>

#include <cstring>

#include "runtime/platform.h"
#include "settings/settings_file.h"

namespace {
std::string scratchExecutable;  // the load's settings file goes beside it

// The scratch copy lives in its own folder under %TEMP%, so the player's file
// is never rewritten by the binding migration.
bool loadWithWindows(const std::string& text) {
    char temp[MAX_PATH];
    if (GetTempPathA(sizeof temp, temp) == 0) return false;
    std::string folder = std::string(temp) + "zv-check-ini-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string file = folder + "\\Zentravisor.ini";
    {
        std::ofstream out(file, std::ios::binary);
        out << text;
        if (!out) return false;
    }
    scratchExecutable = folder + "\\zv-check-ini.exe";
    buildSettingsPath();
    loadSettings();
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
    return true;
}

// The settings file beside this program: a player who copies it into the game
// folder can just double-click it.
std::string defaultPath() {
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string path(exe, n < sizeof exe ? n : 0);
    return path.substr(0, path.find_last_of('\\') + 1) + "Zentravisor.ini";
}

// Started by a double-click or a file dropped on it, the console window would
// close before the player could read it: wait for Enter then.
void holdWindowOpen() {
    DWORD processes[2];
    bool ownWindow = GetConsoleProcessList(processes, 2) == 1;
    bool onScreen = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR;
    if (!ownWindow || !onScreen) return;
    std::printf("\nPress Enter to close.");
    std::fflush(stdout);
    std::getchar();
}
}  // namespace

// The platform calls of the settings code: the system's own, except that the
// executable path names the scratch folder.
uint32_t osExecutablePath(char* buffer, uint32_t size) {
    if (size == 0) return 0;
    uint32_t n = scratchExecutable.size() < size - 1 ? static_cast<uint32_t>(scratchExecutable.size()) : size - 1;
    std::memcpy(buffer, scratchExecutable.data(), n);
    buffer[n] = '\0';
    return n;
}
#define ZV_LOAD loadWithWindows
#else
#include "tools/ini_check_sim.h"
#define ZV_LOAD inicheck::loadWithSimulator

namespace {
std::string defaultPath() { return ""; }  // on Linux the path is always given
void holdWindowOpen() {}
}  // namespace
#endif

namespace {
int checkFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        std::fprintf(stderr, "zv-check-ini: cannot read %s\n", path.c_str());
        return 2;
    }
    inicheck::Result result;
    if (!inicheck::check(text.str(), ZV_LOAD, result)) {
        std::fprintf(stderr, "zv-check-ini: could not load a copy of %s\n", path.c_str());
        return 2;
    }
    return inicheck::print(path, result, stdout);
}
}  // namespace

int main(int argc, char** argv) {
    std::string path = argc == 2 ? argv[1] : defaultPath();
    if (argc > 2 || path.empty()) {
        std::fprintf(stderr, "usage: zv-check-ini PATH-TO-Zentravisor.ini\n");
        return 2;
    }
    int status = checkFile(path);
    holdWindowOpen();
    return status;
}

// The settings checker on Windows (zv-check-ini.exe in the release zip): the
// plug-in's loadSettings against a copy of the text through the system's
// profile functions, and the console window a double-click opens.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "runtime/platform.h"
#include "settings/settings_file.h"
#include "tools/ini_check.h"

namespace {
std::string scratchExecutable;  // the load's settings file goes beside it
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

namespace inicheck {

// The scratch copy lives in its own folder under %TEMP%, so the player's file
// is never rewritten by the binding migration.
bool loadCopy(const std::string& text) {
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

}  // namespace inicheck

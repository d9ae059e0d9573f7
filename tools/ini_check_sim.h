// The settings checker's loader in the simulator: the plug-in's loadSettings
// against a copy of the text, placed as the settings file of a scratch game
// folder, so the player's own file is never touched.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "settings/settings_file.h"
#include "sim/world/os.h"

namespace inicheck {

inline bool loadWithSimulator(const std::string& text) {
    char folder[] = "/tmp/zv-check-ini-XXXXXX";
    if (!mkdtemp(folder)) return false;
    {
        std::ofstream out(std::string(folder) + "/Zentravisor.ini", std::ios::binary);
        out << text;
    }
    sim::os.exePath = "C:\\Games\\TheGame\\GameApp.exe";
    sim::os.diskRoot = folder;
    buildSettingsPath();
    loadSettings();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return true;
}

}  // namespace inicheck

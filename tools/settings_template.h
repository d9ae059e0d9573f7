// The settings template as the plug-in writes it: writeSettingsTemplate run
// against a scratch game folder in the simulator, so the file in the release
// zip and the template column of the settings reference have one source.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/settings_file.h"
#include "sim/world/os.h"

namespace templatefile {

// The plug-in's first start against a scratch game folder (it writes its
// template), then change(), then the settings file as left there; "" when the
// folder cannot be made or change() returns false. One plug-in per process.
template <typename Change>
inline std::string writtenAfter(Change change) {
    char folder[] = "/tmp/zv-template-XXXXXX";
    if (!mkdtemp(folder)) return "";
    sim::os.exePath = "C:\\Games\\TheGame\\GameApp.exe";
    sim::os.diskRoot = folder;
    buildSettingsPath();
    writeSettingsTemplate();
    const bool changed = change();
    std::ifstream in(std::string(folder) + "/Zentravisor.ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return changed ? text.str() : "";
}

inline std::string bytes() {
    return writtenAfter([] { return true; });
}

// The value text of a key in the template, or "" when it has no line for it.
inline std::string value(const std::string& text, const std::string& key) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
    }
    return "";
}

}  // namespace templatefile

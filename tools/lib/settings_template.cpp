#include "tools/settings_template.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/settings_file.h"
#include "sim/sim.h"
#include "sim/world/os.h"

namespace templatefile {

bool inScratchGameFolder(const std::function<bool()>& body) {
    char folder[] = "/tmp/zv-settings-XXXXXX";
    if (!mkdtemp(folder)) return false;
    sim::os.exePath = sim::Options().exePath;
    sim::os.diskRoot = folder;
    buildSettingsPath();
    const bool ok = body();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return ok;
}

std::string writtenAfter(const std::function<bool()>& change) {
    std::string text;
    const bool changed = inScratchGameFolder([&] {
        writeSettingsTemplate();
        if (!change()) return false;
        std::ifstream in(sim::hostPath(settingsFilePath()), std::ios::binary);
        std::ostringstream file;
        file << in.rdbuf();
        text = file.str();
        return true;
    });
    return changed ? text : "";
}

std::string bytes() {
    return writtenAfter([] { return true; });
}

std::string value(const std::string& text, const std::string& key) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
    }
    return "";
}

}  // namespace templatefile

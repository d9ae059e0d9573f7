// The settings checker on Linux: the plug-in's loadSettings against a copy of
// the text, placed as the settings file of a scratch game folder of the
// simulator, so the player's own file is never touched.
#include <fstream>

#include "settings/settings_file.h"
#include "sim/world/os.h"
#include "tools/ini_check.h"
#include "tools/settings_template.h"

namespace inicheck {

bool loadCopy(const std::string& text) {
    return templatefile::inScratchGameFolder([&text] {
        std::ofstream(sim::hostPath(settingsFilePath()), std::ios::binary) << text;
        loadSettings();
        return true;
    });
}

std::string defaultPath() { return ""; }  // on Linux the path is always given

void holdWindowOpen() {}

}  // namespace inicheck

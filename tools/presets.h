// The shipped presets: complete Zentravisor.ini files, each the plug-in's own
// first-start file loaded and saved by the plug-in's own writer with a few
// settings changed, exactly as the file looks after a player changed those
// settings in the menu and closed it. Classic changes nothing.
#pragma once
#include <string>
#include <vector>

namespace presets {

struct Change {
    const char* key;
    float value;
};

struct Preset {
    const char* name;
    const char* what;  // one line for the report
    std::vector<Change> changes;
};

// The four presets, Classic last.
const std::vector<Preset>& all();

// The preset's file as the plug-in writes it: its first-start file loaded,
// the changes made, and saved; "" when a key is unknown or the scratch folder fails.
std::string bytes(const Preset& p);

}  // namespace presets

// Heap use by the plug-in's own code. The host marks the script's pass as the
// plug-in's; the dispatcher and the simulated OS calls step outside it while
// the game's side runs. Heap allocations made inside are counted (Linux builds;
// elsewhere the count stays 0).
#pragma once
#include <cstdint>

namespace sim {

extern bool inPluginCode;
// Sets inPluginCode; under callgrind, cost is collected only while it is set
// (run with --collect-atstart=no), so a profile holds the plug-in's own code.
void setInPluginCode(bool inside);
uint64_t pluginAllocations();  // heap allocations made by plug-in code since boot
bool allocationsCounted();     // this build can count them

// While alive, what runs is the game's (or the OS's) code, not the plug-in's.
struct OutsidePlugin {
    bool was;
    OutsidePlugin() : was(inPluginCode) { setInPluginCode(false); }
    ~OutsidePlugin() { setInPluginCode(was); }
    OutsidePlugin(const OutsidePlugin&) = delete;
    OutsidePlugin& operator=(const OutsidePlugin&) = delete;
};

}  // namespace sim

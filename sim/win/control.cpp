// The control functions the Windows host calls: one plug-in, one run, driven
// frame by frame through the same simulator as on Linux.
#include "sim/win/control.h"

#include <windows.h>

#include <cstdio>

#include "sim/sim.h"
#include "sim/trace.h"
#include "sim/win/plugin_loader.h"
#include "sim/world/os.h"

SIM_CONTROL void simBoot(const char* pluginPath, uint32_t startTick, uint32_t frameMs) {
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    if (n == 0 || n == sizeof exe) sim::fail("cannot read the host's own path");
    std::string exePath(exe, n);
    sim::Options options;
    options.startTick = startTick;
    options.frameMs = frameMs;
    options.exePath = exePath;
    options.diskRoot = exePath.substr(0, exePath.find_last_of('\\'));  // the real game folder
    sim::setPluginPath(pluginPath);
    sim::boot(options);
}

SIM_CONTROL void simFrames(uint32_t count) { sim::frames(static_cast<int>(count)); }

SIM_CONTROL void simSetFrameMs(uint32_t milliseconds) { sim::setFrameMs(milliseconds); }

SIM_CONTROL void simSetKey(int virtualKey, int down) {
    if (down) sim::holdKey(virtualKey);
    else sim::releaseKey(virtualKey);
}

SIM_CONTROL void simSetPad(uint32_t slot, int connected, const PadState* state) {
    if (slot > 3) sim::fail("no controller slot " + std::to_string(slot));
    sim::os.padConnected[slot] = connected != 0;
    if (state) sim::os.pads[slot] = *state;
}

SIM_CONTROL void simStatus(SimRunStatus* status) {
    *status = SimRunStatus{};
    status->framesRun = sim::frameIndex();
    status->registered = sim::scriptRegistered() ? 1 : 0;
    status->registeredByPlugin = sim::pluginModule() != nullptr && sim::pluginModule() == sim::loadedPlugin();
    status->redirectedImports = static_cast<uint32_t>(sim::redirectedImports());
    status->missingRedirects = static_cast<uint32_t>(sim::missingRedirects());
    status->clockReads = sim::os.clockReads;
    status->nativeCalls = sim::nativeCallCount();
    status->sentKeys = static_cast<uint32_t>(sim::os.sentKeys.size());
}

SIM_CONTROL int simSentKey(uint32_t index, SimSentKey* key) {
    if (index >= sim::os.sentKeys.size()) return 0;
    const sim::SentKey& k = sim::os.sentKeys[index];
    *key = SimSentKey{k.frame, k.virtualKey, static_cast<uint8_t>(k.up ? 1 : 0)};
    return 1;
}

SIM_CONTROL int simWriteTrace(const char* path) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 0;
    sim::writeTrace(out);
    return std::fclose(out) == 0;
}

SIM_CONTROL int simUnloadPlugin() { return sim::unloadPlugin() ? 1 : 0; }

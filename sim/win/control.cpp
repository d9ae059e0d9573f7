// The control functions the Windows host calls: one plug-in, one run, driven
// frame by frame through the same simulator as on Linux.
#include "sim/win/control.h"

#include <windows.h>

#include <cstdio>

#include "settings/settings.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/trace.h"
#include "sim/win/plugin_loader.h"
#include "sim/win/wide_paths.h"
#include "sim/world/feed.h"
#include "sim/world/injector.h"
#include "sim/world/os.h"

namespace {

// Boot options for a run in the host's own folder, the real game folder.
sim::Options gameFolderOptions(const SimMachine& machine) {
    const std::string exePath = sim::modulePath(nullptr);
    if (exePath.empty()) sim::fail("cannot read the host's own path");
    sim::Options options;
    options.startTick = machine.startTick;
    options.frameUs = machine.frameUs;
    options.jitterPercent = machine.jitterPercent;
    options.idealClock = machine.idealClock != 0;
    options.pumpEvery = machine.pumpEvery;
    options.readOnlyFolder = machine.readOnlyFolder != 0;
    options.exePath = exePath;
    options.diskRoot = exePath.substr(0, exePath.find_last_of('\\'));
    return options;
}

void (*sessionFrameObserver)(uint32_t) = nullptr;

void observeSessionFrame(void*, const scenario::FrameInfo&) {
    if (sessionFrameObserver) sessionFrameObserver(sim::frameIndex());
}

int sessionFailed(char* message, uint32_t size, const std::string& text) {
    std::snprintf(message, size, "%s", text.c_str());
    return 0;
}

}  // namespace

SIM_CONTROL void simBoot(const char* pluginPath, const SimMachine* machine) {
    sim::Options options = gameFolderOptions(*machine);
    sim::setPluginPath(pluginPath);
    sim::boot(options);
}

SIM_CONTROL int simPlaySession(const char* sessionPath, void (*onFrame)(uint32_t framesRun), char* message,
                               uint32_t messageSize) {
    scenario::Scenario session;
    scenario::ParseError error;
    if (!scenario::parseFile(sessionPath, session, error))
        return sessionFailed(message, messageSize, scenario::errorMessage(sessionPath, error));
    const std::string settings = scenario::leadingSettingsFile(session);
    if (!settings.empty()) {
        const std::string ini = sim::os.diskRoot + "\\Zentravisor.ini";
        std::FILE* out = sim::openFile(ini, L"wb");
        if (!out || std::fwrite(settings.data(), 1, settings.size(), out) != settings.size() || std::fclose(out) != 0)
            return sessionFailed(message, messageSize, "cannot write " + ini);
    }
    // The session reads the menu key from its own copy of the settings: the
    // defaults, then its "set" steps.
    resetAllSettings();
    sessionFrameObserver = onFrame;
    if (!scenario::playBooted(session, observeSessionFrame, nullptr, error))
        return sessionFailed(message, messageSize, scenario::errorMessage(sessionPath, error));
    return 1;
}

SIM_CONTROL void simFrames(uint32_t count) { sim::frames(static_cast<int>(count)); }

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
    status->lensPresses = static_cast<uint32_t>(sim::injector.lensPressFrames.size());
    status->lensOn = sim::injector.lensOn ? 1 : 0;
    for (bool down : sim::os.injectedDown) status->injectedDown += down ? 1 : 0;
    for (uint64_t calls : sim::os.emptySlotCalls) status->emptySlotCalls += calls;
    for (const auto& posted : sim::feed.posted)
        status->notSavedNotifications += posted.text.find("Settings not saved") != std::string::npos ? 1 : 0;
}

SIM_CONTROL int simSentKey(uint32_t index, SimSentKey* key) {
    if (index >= sim::os.sentKeys.size()) return 0;
    const sim::SentKey& k = sim::os.sentKeys[index];
    *key = SimSentKey{k.frame, k.virtualKey, static_cast<uint8_t>(k.up ? 1 : 0), static_cast<uint8_t>(k.toGame ? 1 : 0)};
    return 1;
}

SIM_CONTROL int simWriteTrace(const char* path) {
    std::FILE* out = sim::openFile(path, L"wb");
    if (!out) return 0;
    sim::writeTrace(out);
    return std::fclose(out) == 0;
}

SIM_CONTROL int simUnloadPlugin() { return sim::unloadPlugin() ? 1 : 0; }

SIM_CONTROL void simHoldTraceWrite(uint32_t nth) { sim::holdTraceWrite(nth); }

SIM_CONTROL int simAwaitHeldTraceWrite(uint32_t milliseconds) { return sim::awaitHeldTraceWrite(milliseconds) ? 1 : 0; }

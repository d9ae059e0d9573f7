// The stand-in hook's control functions: what a Windows program calls to play a
// session with the release plug-in. Plain C names, exported by the stand-in
// ScriptHookV.dll next to the hook's six decorated ones.
#pragma once
#include <cstdint>

#include "runtime/platform.h"

#ifdef SIM_STANDIN_HOOK
#define SIM_CONTROL extern "C"  // exported through scripthook_standin.def
#else
#define SIM_CONTROL extern "C" __declspec(dllimport)
#endif

// What the host reads back after (or during) a run.
struct SimRunStatus {
    uint32_t framesRun;
    uint32_t registered;         // 1 while a script main is registered
    uint32_t registeredByPlugin; // 1 when the module that registered is the loaded .asi
    uint32_t redirectedImports;  // import slots pointed at the simulated system
    uint32_t missingRedirects;   // of the clock, window, key, pad and file functions redirected: not imported
    uint64_t clockReads;         // GetTickCount calls that reached the simulated clock
    uint64_t nativeCalls;
    uint32_t sentKeys;
    uint32_t lensPresses;        // F10 presses the injector counted
    uint32_t lensOn;             // the injector's lens effect is on
    uint32_t injectedDown;       // keys the plug-in has down now
    uint64_t emptySlotCalls;     // XInputGetState calls on slots with no controller
    uint32_t notSavedNotifications;  // ... saying that the settings file can't be written
};

struct SimSentKey {
    uint32_t frame;
    uint8_t virtualKey;
    uint8_t up;
    uint8_t toGame;  // the game's window was in front
};

// The machine a run boots on (sim/run_options.h has the meanings).
struct SimMachine {
    uint32_t startTick;
    uint32_t frameUs;
    uint32_t jitterPercent;
    uint32_t idealClock;
    uint32_t pumpEvery;
    uint32_t readOnlyFolder;
};

// Loads the plug-in at pluginPath as the hook loads plug-ins, points its clock,
// keyboard, key-press and XInput imports at the simulation, and prepares the
// script main's fiber. The game folder is the running executable's folder. A
// plug-in that cannot be loaded or does not register fails the run.
SIM_CONTROL void simBoot(const char* pluginPath, const SimMachine* machine);
SIM_CONTROL void simFrames(uint32_t count);
// Plays a session file (sim/scenario.h) on the booted plug-in, from the
// start-up frame to its last step: its leading "set" steps become the settings
// file the plug-in starts with. onFrame, when given, runs after every frame.
// Returns 0 and a message when the session cannot be read or played.
SIM_CONTROL int simPlaySession(const char* sessionPath, void (*onFrame)(uint32_t framesRun), char* message,
                               uint32_t messageSize);
SIM_CONTROL void simStatus(SimRunStatus* status);
SIM_CONTROL int simSentKey(uint32_t index, SimSentKey* key);  // 0 past the end
SIM_CONTROL int simWriteTrace(const char* path);               // 0 when the file cannot be written
// Unloads the plug-in (its entry routine runs with "process detach"). Returns 1
// when the module really left the process.
SIM_CONTROL int simUnloadPlugin();
// The trace build's slow disk, set before simBoot: the plug-in's nth WriteFile
// made off the host's thread (a thread-pool write) is held until the plug-in is
// unloaded, at most 6 s; the run fails if the plug-in leaves while it is held.
SIM_CONTROL void simHoldTraceWrite(uint32_t nth);
SIM_CONTROL int simAwaitHeldTraceWrite(uint32_t milliseconds);  // 1 once the held write has begun

// The hook's script side: registration, the script's coroutine and the frame loop.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "runtime/hook.h"
#include "sim/alloc_watch.h"
#include "sim/coroutine.h"
#include "sim/sim.h"
#include "sim/world/injector.h"
#include "sim/world/os.h"

namespace sim {

void beginFrameLog(uint32_t frame);
void loadPlugin();    // the platform's way of loading the plug-in and running its entry routine
void prepareDisk(const Options& options);

namespace {
struct Step {
    Phase phase;
    int order;
    void (*fn)();
};
std::vector<Step>& steps() {
    static std::vector<Step> s;
    return s;
}

void (*registeredMain)() = nullptr;
void* registeredModule = nullptr;
bool booted = false;
bool worldModels = true;
bool inScript = false;
void* waitSite = nullptr;  // where the script's loop calls scriptWait(0)
int yieldsThisFrame = 0;
uint32_t framesRun = 0;

void runSteps(Phase phase) {
    if (!worldModels) return;
    for (const Step& s : steps())
        if (s.phase == phase) s.fn();
}
}  // namespace

FrameStep::FrameStep(Phase phase, int order, void (*step)()) {
    steps().push_back({phase, order, step});
    std::stable_sort(steps().begin(), steps().end(), [](const Step& a, const Step& b) { return a.order < b.order; });
}

void fail(const std::string& message) {
    std::fprintf(stderr, "sim: frame %u: %s\n", framesRun, message.c_str());
    std::fflush(stderr);
    std::abort();
}

void boot(const Options& options) {
    if (booted) fail("boot called twice: one plug-in per process");
    booted = true;
    os.startTick = options.startTick;
    os.frameUs = options.frameUs != 0 ? options.frameUs : uint64_t{options.frameMs} * 1000;
    os.lastFrameUs = os.frameUs;
    os.jitterPercent = options.jitterPercent;
    os.clock = options.idealClock ? Clock::Ideal : Clock::Windows;
    os.folderReadOnly = options.readOnlyFolder;
    injector.pumpEvery = options.pumpEvery;
    os.exePath = options.exePath;
    worldModels = options.worldModels;
    prepareDisk(options);
    loadPlugin();
    if (!registeredMain) fail("the plug-in did not register a script main on attach");
    coroutineStart(registeredMain);
}

void frame() {
    if (!booted) boot();
    if (framesRun > 0) advanceFrame();  // the first frame runs at the start tick
    beginFrameLog(framesRun);
    runSteps(Phase::BeforeScripts);
    yieldsThisFrame = 0;
    inScript = true;
    setInPluginCode(true);
    coroutineResume();
    setInPluginCode(false);
    inScript = false;
    if (yieldsThisFrame != 1) fail("the script's pass did not end in exactly one scriptWait(0)");
    runSteps(Phase::AfterScripts);
    ++framesRun;
}

void frames(int count) {
    for (int k = 0; k < count; ++k) frame();
}

void runFor(uint32_t milliseconds) {
    uint32_t start = now();
    while (now() - start < milliseconds) frame();
}

uint32_t frameIndex() { return framesRun; }
uint32_t now() { return gameMilliseconds(); }
void setFrameMs(uint32_t ms) { os.frameUs = uint64_t{ms} * 1000; }

void* pluginModule() { return registeredModule; }
bool scriptRegistered() { return registeredMain != nullptr; }

}  // namespace sim

using namespace sim;

extern "C" void scriptRegister(void* module, void (*scriptMain)()) {
    if (registeredMain) fail("scriptRegister called twice");
    registeredModule = module;
    registeredMain = scriptMain;
}

extern "C" void scriptUnregister(void* module) {
    if (module != registeredModule) fail("scriptUnregister with a module that never registered");
    registeredMain = nullptr;
}

extern "C" void scriptWait(uint32_t milliseconds) {
    if (!inScript) fail("scriptWait outside the script");
    if (milliseconds != 0) fail("scriptWait with a nonzero wait");
    // Every pass ends at the loop's one scriptWait(0). A wait from any other
    // place would split one pass across two frames.
    void* site = __builtin_return_address(0);
    if (!waitSite) waitSite = site;
    if (site != waitSite) fail("scriptWait(0) called from a second place: a pass must yield once, at its end");
    ++yieldsThisFrame;
    coroutineYield();
}

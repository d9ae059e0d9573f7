// zv_wine_host.exe: plays a session with the release Zentravisor.asi under Wine.
//
// The pieces, all built by the mingw build next to the .asi:
//   ScriptHookV.dll   a stand-in hook: the simulator (sim/*.cpp, sim/world/*.cpp)
//                     plus sim/win/*.cpp, exporting the hook's six functions
//                     under their decorated names and the control functions of
//                     sim/win/control.h.
//   zv_wine_host.exe  this program: boots the run, plays frames, checks what the
//                     plug-in did and prints one summary line.
// The stand-in loads the .asi with LoadLibrary, so its entry routine registers
// with the stand-in as it would with the real hook, and runs the script main on
// a fiber. The .asi's GetTickCount, GetAsyncKeyState, keybd_event and
// XInputGetState imports are pointed at the simulated system; its settings-file
// calls go to Wine's own kernel32, in the folder this program runs from.
//
// Portability rule for the simulator: every file in sim/ and sim/world/ is built
// for Linux and for Windows. Use only standard C++ there. Code that needs one
// system's API goes in its own file: Linux-only files are listed in
// cmake/win-host.cmake and left out of this build; Windows-only files go in
// sim/win/.
//
// Usage: zv_wine_host.exe [--session FILE | --frames N] [--start-tick T] [--frame-ms MS | --frame-us US]
//                         [--jitter P] [--ideal-clock 1] [--pump-every N] [--read-only-folder 1]
//                         [--lens-presses N] [--expect-not-saved N] [--max-empty-pad-calls N]
//                         [--setting KEY=VALUE]... [--plugin PATH] [--trace FILE] [--hold-trace-write N]
// (the options are those of sim/run_options.h, shared with the Linux zv_trace).
// Exit status: 0 every check passed, 1 a check failed, 2 bad usage or missing
// files, 3 the simulator stopped the run (its reason is on stderr), 4 a crash
// (the exception and where it happened are printed), 6 a frame that never ended.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "runtime/virtual_keys.h"
#include "sim/run_options.h"
#include "sim/win/control.h"
#include "sim/win/wide_paths.h"

namespace {

constexpr int kExitChecksFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCrash = 4;
constexpr int kExitHang = 6;
constexpr DWORD kFrameStallMs = 10'000;  // wall-clock time one simulated frame may take

// As UTF-8: the game folder may be named in any script.
std::string folderOfThisProgram() {
    const std::string s = sim::modulePath(nullptr);
    return s.substr(0, s.find_last_of('\\') + 1);
}

// Without this, a crash under Wine ends in status 5 and a long debugger report.
LONG WINAPI reportCrash(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& e = *info->ExceptionRecord;
    // On the stack, as UTF-8: the heap may be what broke, and the folder may be
    // named in any script.
    constexpr DWORD kModuleUnits = 1024;  // past the old 260-character limit, as the test folders go
    char module[4 * kModuleUnits] = "(unknown module)";
    wchar_t wideModule[kModuleUnits];
    HMODULE where = nullptr;
    uintptr_t offset = reinterpret_cast<uintptr_t>(e.ExceptionAddress);
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(e.ExceptionAddress), &where)) {
        const DWORD units = GetModuleFileNameW(where, wideModule, kModuleUnits);
        if (units > 0 && units < kModuleUnits)
            WideCharToMultiByte(CP_UTF8, 0, wideModule, -1, module, sizeof module, nullptr, nullptr);
        offset -= reinterpret_cast<uintptr_t>(where);
    }
    SimRunStatus status;
    simStatus(&status);
    std::printf("zv_wine_host: CRASH: exception 0x%08lX at %s+0x%llx in frame %u\n", e.ExceptionCode, module,
                static_cast<unsigned long long>(offset), status.framesRun);
    std::fflush(stdout);
    ExitProcess(kExitCrash);
}

// A pass that never reaches scriptWait(0) would hang the run: a watchdog thread
// ends it when no frame has finished for kFrameStallMs.
std::atomic<uint32_t> framesFinished{0};
HANDLE runFinished = nullptr;

DWORD WINAPI watchFrames(void*) {
    uint32_t seen = framesFinished.load();
    while (WaitForSingleObject(runFinished, kFrameStallMs) == WAIT_TIMEOUT) {
        uint32_t finished = framesFinished.load();
        if (finished == seen) {
            std::printf("zv_wine_host: HANG: frame %u did not end within %lu ms\n", finished, kFrameStallMs);
            std::fflush(stdout);
            ExitProcess(kExitHang);
        }
        seen = finished;
    }
    return 0;
}

// Wall time per frame: frame 0 holds start-up, the slowest later one the
// menu-close save, if any.
struct FrameTimes {
    LARGE_INTEGER frequency{}, last{};
    double startupMs = 0.0, slowestMs = 0.0, totalMs = 0.0;
    uint32_t slowestFrame = 0;
};
FrameTimes times;

void startTiming() {
    QueryPerformanceFrequency(&times.frequency);
    QueryPerformanceCounter(&times.last);
}

void countFrame(uint32_t framesRun) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const double ms = 1000.0 * static_cast<double>(now.QuadPart - times.last.QuadPart) /
                      static_cast<double>(times.frequency.QuadPart);
    times.last = now;
    times.totalMs += ms;
    if (framesRun == 1) times.startupMs = ms;
    else if (ms > times.slowestMs) times.slowestMs = ms, times.slowestFrame = framesRun - 1;
    framesFinished.store(framesRun);
}

struct Checks {
    std::string failures;
    void expect(bool ok, const std::string& what) {
        if (ok) return;
        if (!failures.empty()) failures += "; ";
        failures += what;
    }
};

// Start-up's lens sync: the expected number of F10 presses, the first going
// down in the first pass; each down followed by its up no sooner than two
// passes later; no other key; and the injector, which reads keys once a frame,
// counting every press.
void checkLensPresses(int64_t expected, const SimRunStatus& status, Checks& checks) {
    checks.expect(status.sentKeys == 2 * expected,
                  std::to_string(status.sentKeys) + " key events, expected " + std::to_string(2 * expected));
    SimSentKey key;
    uint32_t downFrame = 0;
    for (uint32_t k = 0; simSentKey(k, &key); ++k) {
        std::string which = "key event " + std::to_string(k);
        checks.expect(key.virtualKey == kVkF10, which + " is not F10");
        checks.expect(key.up == (k % 2 == 1), which + (key.up ? " is an up without its down" : " is a down without its up"));
        if (k == 0) checks.expect(key.frame == 0, "the first F10 went down in frame " + std::to_string(key.frame));
        if (!key.up) downFrame = key.frame;
        if (key.up) checks.expect(key.frame >= downFrame + 2, which + " came up " + std::to_string(key.frame - downFrame) +
                                                                  " frame(s) after its down");
    }
    checks.expect(status.lensPresses == expected,
                  "the injector saw " + std::to_string(status.lensPresses) + " F10 press(es)");
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(reportCrash);

    sim::RunOptions run;
    if (!sim::parseRunOptions(argc, argv, 1, run)) {
        std::printf("usage: zv_wine_host.exe [--session FILE | --frames N>=1] [--start-tick T] [--frame-ms MS] "
                    "[--lens-presses N] [--setting KEY=VALUE]... [--plugin PATH] [--trace FILE] "
                    "[--hold-trace-write N] (sim/run_options.h has them all)\n");
        return kExitUsage;
    }
    if (run.plugin.empty()) run.plugin = folderOfThisProgram() + "Zentravisor.asi";
    if (GetFileAttributesW(sim::widened(run.plugin).c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("zv_wine_host: no plug-in at %s\n", run.plugin.c_str());
        return kExitUsage;
    }

    // The settings file the run starts with, in the game folder.
    const std::string settings = sim::settingsFileText(run);
    if (!settings.empty()) {
        std::FILE* ini = sim::openFile(folderOfThisProgram() + "Zentravisor.ini", L"wb");
        if (!ini || std::fwrite(settings.data(), 1, settings.size(), ini) != settings.size() || std::fclose(ini) != 0) {
            std::printf("zv_wine_host: cannot write the settings file\n");
            return kExitUsage;
        }
    }

    Checks checks;
    // Load: the entry routine registers the script main with the module handle
    // the loader gave it, and nothing runs yet.
    SimMachine machine{};
    sim::applyMachine(run, machine);
    SimRunStatus status;
    if (run.holdTraceWrite != 0) simHoldTraceWrite(run.holdTraceWrite);
    simBoot(run.plugin.c_str(), &machine);
    simStatus(&status);
    checks.expect(status.registered && status.registeredByPlugin, "the plug-in did not register with its own module");
    checks.expect(status.missingRedirects == 0,
                  std::to_string(status.missingRedirects) + " of the clock, key and pad functions are not imported");
    checks.expect(status.nativeCalls == 0 && status.sentKeys == 0, "the entry routine did more than register");

    // Play: the simulator stops the run if a pass does not end in exactly one
    // scriptWait(0).
    runFinished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE watchdog = CreateThread(nullptr, 0, watchFrames, nullptr, 0, nullptr);
    startTiming();
    if (run.session.empty()) {
        for (uint32_t k = 0; k < run.frames; ++k) {
            simFrames(1);
            countFrame(k + 1);
        }
    } else {
        char message[512] = "";
        const bool played = simPlaySession(run.session.c_str(), countFrame, message, sizeof message) != 0;
        checks.expect(played, message);
    }
    SetEvent(runFinished);
    WaitForSingleObject(watchdog, INFINITE);
    simStatus(&status);
    if (run.session.empty()) checks.expect(status.framesRun == run.frames, "ran " + std::to_string(status.framesRun) + " frames");
    if (run.lensPresses >= 0) checkLensPresses(run.lensPresses, status, checks);
    checks.expect(status.clockReads >= status.framesRun, "the plug-in's clock reads did not reach the simulated clock");
    checks.expect(status.injectedDown == 0, "the plug-in left a key down");
    checks.expect(status.lensPresses == status.sentKeys / 2, std::to_string(status.sentKeys / 2) + " F10 press(es) sent, " +
                                                                 std::to_string(status.lensPresses) + " seen by the injector");
    if (run.expectNotSaved >= 0)
        checks.expect(status.notSavedNotifications == run.expectNotSaved,
                      std::to_string(status.notSavedNotifications) + " not-saved notification(s), expected " +
                          std::to_string(run.expectNotSaved));
    if (run.maxEmptyPadCalls >= 0)
        checks.expect(static_cast<int64_t>(status.emptySlotCalls) <= run.maxEmptyPadCalls,
                      std::to_string(status.emptySlotCalls) + " calls on empty pad slots, at most " +
                          std::to_string(run.maxEmptyPadCalls) + " allowed");
    if (!run.trace.empty()) checks.expect(simWriteTrace(run.trace.c_str()) != 0, "cannot write " + run.trace);

    // Unload: the entry routine unregisters, and nothing keeps the module loaded.
    // With a held trace write, the unload comes while that write is still running.
    if (run.holdTraceWrite != 0)
        checks.expect(simAwaitHeldTraceWrite(kFrameStallMs) != 0, "no trace write was in flight at the unload");
    bool unloaded = simUnloadPlugin() != 0;
    SimRunStatus after;
    simStatus(&after);
    checks.expect(after.registered == 0, "process detach did not unregister the script main");
    checks.expect(unloaded, "the plug-in stayed loaded after FreeLibrary");

    std::printf("zv_wine_host: %s: %u frames from tick %u, %u F10 pair(s), %u lens press(es) seen, lens %s, "
                "%u imports redirected, %llu clock reads, %llu empty pad calls, %u not-saved notification(s), "
                "%llu natives%s%s\n",
                checks.failures.empty() ? "OK" : "FAILED", status.framesRun, run.startTick, status.sentKeys / 2,
                status.lensPresses, status.lensOn ? "on" : "off", status.redirectedImports,
                static_cast<unsigned long long>(status.clockReads),
                static_cast<unsigned long long>(status.emptySlotCalls), status.notSavedNotifications,
                static_cast<unsigned long long>(status.nativeCalls), checks.failures.empty() ? "" : ": ",
                checks.failures.c_str());
    std::printf("zv_wine_host: timing: start-up %.3f ms, slowest later frame %u %.3f ms, %u frames in %.1f ms, "
                "%.4f ms per frame\n",
                times.startupMs, times.slowestFrame, times.slowestMs, status.framesRun, times.totalMs,
                times.totalMs / (status.framesRun ? status.framesRun : 1));
    std::fflush(stdout);
    return checks.failures.empty() ? 0 : kExitChecksFailed;
}

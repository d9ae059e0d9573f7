// The script's coroutine on Windows: a fiber, as the hook runs script mains.
// scriptWait switches back to the thread's own fiber, which runs the frames.
#include <windows.h>

#include <cstdlib>

#include "sim/coroutine.h"
#include "sim/sim.h"

namespace sim {
namespace {
constexpr SIZE_T kStackBytes = 1 << 20;
void* hostFiber = nullptr;
void* scriptFiber = nullptr;
void (*scriptEntry)() = nullptr;

void WINAPI runScript(void*) {
    scriptEntry();
    std::abort();  // a script main never returns
}
}  // namespace

void coroutineStart(void (*entry)()) {
    scriptEntry = entry;
    hostFiber = ConvertThreadToFiber(nullptr);
    if (!hostFiber) fail("cannot turn the host thread into a fiber: error " + std::to_string(GetLastError()));
    scriptFiber = CreateFiber(kStackBytes, runScript, nullptr);
    if (!scriptFiber) fail("cannot create the script's fiber: error " + std::to_string(GetLastError()));
}

void coroutineResume() { SwitchToFiber(scriptFiber); }

void coroutineYield() { SwitchToFiber(hostFiber); }

}  // namespace sim

// The script's coroutine on POSIX: ucontext, with the sanitizer annotations that
// let AddressSanitizer follow the stack switches.
#include <ucontext.h>

#include <cstdlib>
#include <vector>

#include "sim/coroutine.h"

#if defined(__SANITIZE_ADDRESS__)
#define SIM_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SIM_ASAN 1
#endif
#endif

#ifdef SIM_ASAN
extern "C" void __sanitizer_start_switch_fiber(void** fakeStackSave, const void* bottom, size_t size);
extern "C" void __sanitizer_finish_switch_fiber(void* fakeStackSave, const void** bottomOld, size_t* sizeOld);
#endif

namespace sim {
namespace {
constexpr size_t kStackBytes = 1 << 20;
ucontext_t hostContext;
ucontext_t scriptContext;
std::vector<char> scriptStack;
void (*scriptEntry)();
#ifdef SIM_ASAN
const void* hostStackBottom;
size_t hostStackSize;
#endif

void trampoline() {
#ifdef SIM_ASAN
    __sanitizer_finish_switch_fiber(nullptr, &hostStackBottom, &hostStackSize);
#endif
    scriptEntry();
    std::abort();  // a script main never returns
}
}  // namespace

void coroutineStart(void (*entry)()) {
    scriptEntry = entry;
    scriptStack.assign(kStackBytes, 0);
    getcontext(&scriptContext);
    scriptContext.uc_stack.ss_sp = scriptStack.data();
    scriptContext.uc_stack.ss_size = scriptStack.size();
    scriptContext.uc_link = nullptr;
    makecontext(&scriptContext, trampoline, 0);
}

void coroutineResume() {
#ifdef SIM_ASAN
    void* fake = nullptr;
    __sanitizer_start_switch_fiber(&fake, scriptStack.data(), scriptStack.size());
#endif
    swapcontext(&hostContext, &scriptContext);
#ifdef SIM_ASAN
    __sanitizer_finish_switch_fiber(fake, nullptr, nullptr);
#endif
}

void coroutineYield() {
#ifdef SIM_ASAN
    void* fake = nullptr;
    __sanitizer_start_switch_fiber(&fake, hostStackBottom, hostStackSize);
#endif
    swapcontext(&scriptContext, &hostContext);
#ifdef SIM_ASAN
    __sanitizer_finish_switch_fiber(fake, &hostStackBottom, &hostStackSize);
#endif
}

}  // namespace sim

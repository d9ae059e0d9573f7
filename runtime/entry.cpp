// The library entry routine: register the script main on attach, unregister on
// detach (letting up an F10 press still down; the trace build also closes its
// trace file), nothing else. In particular it reads no settings: the loader
// lock is held here.
#include <cstdint>

#include "recorder/recorder.h"
#include "runtime/hook.h"
#include "runtime/runtime.h"

namespace {
constexpr uint32_t kProcessDetach = 0;
constexpr uint32_t kProcessAttach = 1;
}  // namespace

// The loader's third argument is non-null when the process is ending.
extern "C" int DllMain(void* module, uint32_t reason, void* reserved) {
    if (reason == kProcessAttach) {
        scriptRegister(module, scriptMain);
    } else if (reason == kProcessDetach) {
        releaseLensKey();  // an F10 press in progress comes up: the system never keeps it down
        recordStop(reserved != nullptr);  // trace build: the last complete frames reach the file, no write left running
        scriptUnregister(module);
    }
    return 1;
}

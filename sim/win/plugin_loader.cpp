// Loads the release plug-in the way the hook loads plug-ins, then points the
// imports that read or change the machine's input and clock at the simulated
// system. The settings file's calls keep their real targets.
#include "sim/win/plugin_loader.h"

#include <windows.h>
#include <xinput.h>

#include <cstring>

#include "sim/sim.h"
#include "sim/world/os.h"

namespace sim {
namespace {

std::string pluginPath;
HMODULE plugin = nullptr;
int redirected = 0;
int missing = 0;

// A slow disk under the trace build's background writes, for its unload test:
// the nth WriteFile the plug-in makes off the host's thread (a thread-pool
// write) is held until the plug-in has been unloaded, or kHeldWriteMs at most.
// A write still held when the plug-in has already left would return into code
// that is gone: the run fails right there.
constexpr DWORD kHeldWriteMs = 6000;
DWORD hostThread = 0;
uint32_t heldWriteNumber = 0;  // 0 = no write is held
volatile LONG offThreadWrites = 0;
HANDLE heldWriteBegun = nullptr;  // event
HANDLE pluginGone = nullptr;      // event: FreeLibrary has returned

BOOL WINAPI simulatedWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    if (GetCurrentThreadId() != hostThread &&
        static_cast<uint32_t>(InterlockedIncrement(&offThreadWrites)) == heldWriteNumber) {
        SetEvent(heldWriteBegun);
        if (WaitForSingleObject(pluginGone, kHeldWriteMs) == WAIT_OBJECT_0)
            fail("the plug-in was unloaded while its trace write was still running");
    }
    return WriteFile(file, bytes, size, written, overlapped);
}

DWORD WINAPI simulatedGetTickCount() { return tickCount(); }

SHORT WINAPI simulatedGetAsyncKeyState(int virtualKey) { return asyncKeyState(virtualKey); }

VOID WINAPI simulatedKeybdEvent(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) {
    // The lens sync sends bare virtual-key transitions: scan code 0, no extra information.
    if (scanCode != 0 || extraInfo != 0) fail("keybd_event with a scan code or extra information");
    keyEvent(virtualKey, flags);
}

DWORD WINAPI simulatedXInputGetState(DWORD slot, XINPUT_STATE* state) {
    static_assert(sizeof(XINPUT_STATE) == sizeof(PadState), "same layout as XINPUT_STATE");
    return padState(slot, reinterpret_cast<PadState*>(state));
}

struct Redirect {
    const char* dll;
    const char* function;
    void* target;
    bool found;
};
Redirect redirects[] = {
    {"KERNEL32.dll", "GetTickCount", reinterpret_cast<void*>(simulatedGetTickCount), false},
    {"USER32.dll", "GetAsyncKeyState", reinterpret_cast<void*>(simulatedGetAsyncKeyState), false},
    {"USER32.dll", "keybd_event", reinterpret_cast<void*>(simulatedKeybdEvent), false},
    {"XINPUT1_4.dll", "XInputGetState", reinterpret_cast<void*>(simulatedXInputGetState), false},
};

template <typename T>
T* atRva(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

void patchSlot(IMAGE_THUNK_DATA64* slot, void* target) {
    DWORD protection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) fail("cannot unprotect an import slot");
    slot->u1.Function = reinterpret_cast<ULONGLONG>(target);
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

// Walks the loaded module's import directory: for each imported DLL, the name
// table (by name) runs beside the address table the loader filled in.
void redirectImports(HMODULE module) {
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = atRva<IMAGE_NT_HEADERS64>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) fail("the plug-in imports nothing");
    for (auto* d = atRva<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress); d->Name != 0; ++d) {
        const char* dll = atRva<char>(module, d->Name);
        if (d->OriginalFirstThunk == 0) fail(std::string("no import name table for ") + dll);
        auto* names = atRva<IMAGE_THUNK_DATA64>(module, d->OriginalFirstThunk);
        auto* slots = atRva<IMAGE_THUNK_DATA64>(module, d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) continue;
            auto* byName = atRva<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
            for (Redirect& r : redirects) {
                if (_stricmp(dll, r.dll) != 0 || std::strcmp(reinterpret_cast<const char*>(byName->Name), r.function) != 0)
                    continue;
                patchSlot(slots, r.target);
                r.found = true;
                ++redirected;
            }
        }
    }
    for (const Redirect& r : redirects) missing += r.found ? 0 : 1;
}

// Points one more import at the simulation; false when the plug-in does not import it.
bool redirectImport(HMODULE module, const char* dll, const char* function, void* target) {
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = atRva<IMAGE_NT_HEADERS64>(module, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = atRva<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress); d->Name != 0; ++d) {
        if (_stricmp(atRva<char>(module, d->Name), dll) != 0) continue;
        auto* names = atRva<IMAGE_THUNK_DATA64>(module, d->OriginalFirstThunk);
        auto* slots = atRva<IMAGE_THUNK_DATA64>(module, d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal)) continue;
            auto* byName = atRva<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            patchSlot(slots, target);
            return true;
        }
    }
    return false;
}

}  // namespace

void setPluginPath(const std::string& path) { pluginPath = path; }
void* loadedPlugin() { return plugin; }
int redirectedImports() { return redirected; }
int missingRedirects() { return missing; }

// The loader runs the plug-in's entry routine, which registers its script main
// with this hook. The imports are redirected before the script main first runs:
// compiled code may keep an import's address in a register across its loop.
void loadPlugin() {
    plugin = LoadLibraryA(pluginPath.c_str());
    if (!plugin) fail("cannot load " + pluginPath + ": error " + std::to_string(GetLastError()));
    redirectImports(plugin);
    hostThread = GetCurrentThreadId();
    if (heldWriteNumber != 0 &&
        !redirectImport(plugin, "KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(simulatedWriteFile)))
        fail("the plug-in does not import WriteFile");
}

bool unloadPlugin() {
    if (!plugin) return false;
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(plugin, path, sizeof path);
    FreeLibrary(plugin);
    plugin = nullptr;
    if (pluginGone) SetEvent(pluginGone);
    return n > 0 && GetModuleHandleA(path) == nullptr;
}

void holdTraceWrite(uint32_t nth) {
    heldWriteNumber = nth;
    heldWriteBegun = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    pluginGone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

bool awaitHeldTraceWrite(uint32_t ms) {
    return heldWriteBegun != nullptr && WaitForSingleObject(heldWriteBegun, ms) == WAIT_OBJECT_0;
}

}  // namespace sim

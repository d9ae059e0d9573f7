// Loads the release plug-in the way the hook loads plug-ins, then points the
// imports that read or change the machine's input, clocks and windows at the
// simulated system. The settings file's calls keep their real targets (Wine's
// own), except that a read-only game folder refuses their writes.
#include "sim/win/plugin_loader.h"

#include <windows.h>
#include <xinput.h>

#include <cstring>

#include "sim/sim.h"
#include "sim/win/wide_paths.h"
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

BOOL WINAPI simulatedQueryPerformanceCounter(LARGE_INTEGER* counter) {
    counter->QuadPart = performanceCounter();
    return TRUE;
}

BOOL WINAPI simulatedQueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = performanceFrequency();
    return TRUE;
}

// The two windows of the simulated desktop: the game's and another program's.
HWND const kGameWindow = reinterpret_cast<HWND>(0x10010);
HWND const kOtherWindow = reinterpret_cast<HWND>(0x20020);

HWND WINAPI simulatedGetForegroundWindow() {
    const uint32_t process = foregroundProcessId();
    if (process == 0) return nullptr;
    return process == currentProcessId() ? kGameWindow : kOtherWindow;
}

DWORD WINAPI simulatedGetWindowThreadProcessId(HWND window, DWORD* process) {
    const DWORD owner = window == kGameWindow ? currentProcessId() : window == kOtherWindow ? kOtherProcessId : 0;
    if (process) *process = owner;
    return owner == 0 ? 0 : owner + 4;  // a thread of that process
}

DWORD WINAPI simulatedGetCurrentProcessId() { return currentProcessId(); }

// A folder under Program Files, for a program that is not elevated: opening a
// file for writing, and every profile write, is refused.
HANDLE WINAPI simulatedCreateFileW(const wchar_t* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                                   DWORD disposition, DWORD flags, HANDLE templateFile) {
    constexpr DWORD kWriteAccess = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE;
    const bool makes = disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    if (os.folderReadOnly && ((access & kWriteAccess) != 0 || makes)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path, access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI simulatedWritePrivateProfileStringW(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                                const wchar_t* path) {
    if (os.folderReadOnly) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return WritePrivateProfileStringW(section, key, value, path);
}

SHORT WINAPI simulatedGetAsyncKeyState(int virtualKey) { return asyncKeyState(virtualKey); }

VOID WINAPI simulatedKeybdEvent(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) {
    // The lens sync sends bare virtual-key transitions: scan code 0, no extra information.
    if (scanCode != 0 || extraInfo != 0) fail("keybd_event with a scan code or extra information");
    keyEvent(virtualKey, flags);
}

DWORD WINAPI simulatedXInputGetState(DWORD slot, XINPUT_STATE* state) {
    static_assert(sizeof(XINPUT_STATE) == sizeof(PadState), "same layout as XINPUT_STATE");
    return padState(slot, state);
}

struct Redirect {
    const char* dll;
    const char* function;
    void* target;
    bool found;
};
Redirect redirects[] = {
    {"KERNEL32.dll", "GetTickCount", reinterpret_cast<void*>(simulatedGetTickCount), false},
    {"KERNEL32.dll", "QueryPerformanceCounter", reinterpret_cast<void*>(simulatedQueryPerformanceCounter), false},
    {"KERNEL32.dll", "QueryPerformanceFrequency", reinterpret_cast<void*>(simulatedQueryPerformanceFrequency), false},
    {"KERNEL32.dll", "GetCurrentProcessId", reinterpret_cast<void*>(simulatedGetCurrentProcessId), false},
    {"KERNEL32.dll", "CreateFileW", reinterpret_cast<void*>(simulatedCreateFileW), false},
    {"KERNEL32.dll", "WritePrivateProfileStringW", reinterpret_cast<void*>(simulatedWritePrivateProfileStringW), false},
    {"USER32.dll", "GetForegroundWindow", reinterpret_cast<void*>(simulatedGetForegroundWindow), false},
    {"USER32.dll", "GetWindowThreadProcessId", reinterpret_cast<void*>(simulatedGetWindowThreadProcessId), false},
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
// table (by name) runs beside the address table the loader filled in. Calls
// visit(dll, function, slot) for every import by name, until visit returns false.
template <typename Visit>
void forEachImportByName(HMODULE module, Visit visit) {
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
            if (!visit(dll, reinterpret_cast<const char*>(byName->Name), slots)) return;
        }
    }
}

bool sameImport(const char* dll, const char* function, const char* wantedDll, const char* wantedFunction) {
    return _stricmp(dll, wantedDll) == 0 && std::strcmp(function, wantedFunction) == 0;
}

void redirectImports(HMODULE module) {
    forEachImportByName(module, [](const char* dll, const char* function, IMAGE_THUNK_DATA64* slot) {
        for (Redirect& r : redirects) {
            if (!sameImport(dll, function, r.dll, r.function)) continue;
            patchSlot(slot, r.target);
            r.found = true;
            ++redirected;
        }
        return true;
    });
    for (const Redirect& r : redirects) missing += r.found ? 0 : 1;
}

// Points one more import at the simulation; false when the plug-in does not import it.
bool redirectImport(HMODULE module, const char* wantedDll, const char* wantedFunction, void* target) {
    bool found = false;
    forEachImportByName(module, [&](const char* dll, const char* function, IMAGE_THUNK_DATA64* slot) {
        if (!sameImport(dll, function, wantedDll, wantedFunction)) return true;
        patchSlot(slot, target);
        found = true;
        return false;
    });
    return found;
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
    plugin = LoadLibraryW(widened(pluginPath).c_str());
    if (!plugin) fail("cannot load " + pluginPath + ": error " + std::to_string(GetLastError()));
    redirectImports(plugin);
    hostThread = GetCurrentThreadId();
    if (heldWriteNumber != 0 &&
        !redirectImport(plugin, "KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(simulatedWriteFile)))
        fail("the plug-in does not import WriteFile");
}

bool unloadPlugin() {
    if (!plugin) return false;
    const std::wstring path = widened(modulePath(plugin));
    FreeLibrary(plugin);
    plugin = nullptr;
    if (pluginGone) SetEvent(pluginGone);
    return !path.empty() && GetModuleHandleW(path.c_str()) == nullptr;
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

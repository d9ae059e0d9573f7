// Win32 side of the recorder's file and clock. A block write is copied and
// handed to the system thread pool, so the game's frame never waits on the
// disk; the frame only reads a flag to see whether the last write is done (no
// kernel object on the frame's path).
//
// The unload (the entry routine, under the loader lock) must leave none of this
// library's code to run on the pool afterwards, and must not wait for anything
// that needs the loader lock. So a write not yet begun, which may be waiting
// for a pool thread that cannot start while the lock is held, is cancelled and
// done on the unloading thread; a write already under way is waited for until
// its callback has returned, with no time limit. That callback takes no lock.
// The trace file is shared for reading: a player can copy it while the game runs.
#include <windows.h>

#include <cstring>

#include "recorder/recorder_file.h"
#include "runtime/utf16_win32.h"

namespace {

HANDLE traceFile = INVALID_HANDLE_VALUE;
PTP_WORK writer = nullptr;           // the block write, run on a pool thread
HANDLE callbacksReturned = nullptr;  // semaphore: one count per write callback that has returned
uint32_t callbacksUnawaited = 0;     // submitted callbacks whose count has not been taken
uint8_t block[kTraceWriteMax];
uint32_t blockSize = 0;
volatile LONG writing = 0;  // 1 from a hand-off until its write is done
volatile LONG writeFailed = 0;
constexpr DWORD kWriteWaitMs = 2000;  // a frame that must wait gives a write in flight this long

void writeBlockHere() {
    DWORD written = 0;
    if (!WriteFile(traceFile, block, blockSize, &written, nullptr) || written != blockSize)
        InterlockedExchange(&writeFailed, 1);
}

void CALLBACK writeBlock(PTP_CALLBACK_INSTANCE instance, void*, PTP_WORK) {
    writeBlockHere();
    ReleaseSemaphoreWhenCallbackReturns(instance, callbacksReturned, 1);
    InterlockedExchange(&writing, 0);
}

// Takes one returned callback's count; false when none came in time.
bool awaitCallback() {
    if (callbacksUnawaited == 0 || WaitForSingleObject(callbacksReturned, kWriteWaitMs) != WAIT_OBJECT_0) return false;
    --callbacksUnawaited;
    return true;
}

WidePath widePath, widePreviousPath;  // one call at a time, on the script thread

}  // namespace

bool traceFileCreate(const char* path, const char* previousPath) {
    if (!widenPath(path, widePath) || !widenPath(previousPath, widePreviousPath)) return false;
    if (GetFileAttributesW(widePath.text) != INVALID_FILE_ATTRIBUTES)
        MoveFileExW(widePath.text, widePreviousPath.text, MOVEFILE_REPLACE_EXISTING);
    traceFile = CreateFileW(widePath.text, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
    callbacksReturned = CreateSemaphoreA(nullptr, 0, 0x7FFFFFFF, nullptr);
    writer = CreateThreadpoolWork(writeBlock, nullptr, nullptr);
    return traceFile != INVALID_HANDLE_VALUE && callbacksReturned != nullptr && writer != nullptr;
}

void traceFileWriteBehind(const void* bytes, uint32_t size) {
    std::memcpy(block, bytes, size);
    blockSize = size;
    InterlockedExchange(&writing, 1);
    SubmitThreadpoolWork(writer);
    ++callbacksUnawaited;
}

bool traceFileBusy() { return InterlockedCompareExchange(&writing, 0, 0) != 0; }

bool traceFileWait() {
    while (traceFileBusy())
        if (!awaitCallback()) {
            InterlockedExchange(&writeFailed, 1);
            break;
        }
    return writeFailed == 0;
}

bool traceFileSettle() {
    if (writer != nullptr) WaitForThreadpoolWorkCallbacks(writer, TRUE);
    if (traceFileBusy()) {  // cancelled before a pool thread took it up
        if (writeFailed == 0) writeBlockHere();
        InterlockedExchange(&writing, 0);
    }
    return writeFailed == 0;
}

bool traceFileWriteNow(const void* bytes, uint32_t size) {
    DWORD written = 0;
    return WriteFile(traceFile, bytes, size, &written, nullptr) && written == size;
}

void traceFileClose(bool processEnding) {
    if (!processEnding && writer != nullptr) {
        traceFileSettle();
        CloseThreadpoolWork(writer);
        writer = nullptr;
    }
    if (traceFile != INVALID_HANDLE_VALUE) CloseHandle(traceFile);
    traceFile = INVALID_HANDLE_VALUE;
}

uint32_t traceFileReadAll(const char* path, void* buffer, uint32_t size) {
    if (!widenPath(path, widePath)) return kTraceNoFile;
    HANDLE file = CreateFileW(widePath.text, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return kTraceNoFile;
    LARGE_INTEGER length;
    uint32_t result = kTraceNoFile;
    if (GetFileSizeEx(file, &length)) {
        if (length.QuadPart > size) {
            result = size + 1;
        } else {
            DWORD got = 0;
            if (ReadFile(file, buffer, static_cast<DWORD>(length.QuadPart), &got, nullptr)) result = got;
        }
    }
    CloseHandle(file);
    return result;
}

// The recorder's own time, looked up at run time rather than imported: a test
// host that points the plug-in's counter imports at a simulated clock leaves
// this one measuring real time.
namespace {
using CounterFunction = BOOL(WINAPI*)(LARGE_INTEGER*);
CounterFunction queryCounter = nullptr;
LARGE_INTEGER counterFrequency{};

CounterFunction kernelFunction(const char* name) {
    return reinterpret_cast<CounterFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}
}  // namespace

uint64_t traceClockMicros() {
    if (!queryCounter) {
        const CounterFunction queryFrequency = kernelFunction("QueryPerformanceFrequency");
        if (!queryFrequency || !queryFrequency(&counterFrequency) || counterFrequency.QuadPart <= 0) return 0;
        queryCounter = kernelFunction("QueryPerformanceCounter");
        if (!queryCounter) return 0;
    }
    const LARGE_INTEGER frequency = counterFrequency;
    LARGE_INTEGER now;
    queryCounter(&now);
    return static_cast<uint64_t>(now.QuadPart / frequency.QuadPart * 1'000'000 +
                                 now.QuadPart % frequency.QuadPart * 1'000'000 / frequency.QuadPart);
}

// Win32 side of the recorder's file and clock. The trace file is shared for
// reading, so a player can copy it while the game runs.
#include <windows.h>

#include "recorder/recorder_file.h"

namespace {
HANDLE traceFile = INVALID_HANDLE_VALUE;
}

bool traceFileCreate(const char* path, const char* previousPath) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) MoveFileExA(path, previousPath, MOVEFILE_REPLACE_EXISTING);
    traceFile = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return traceFile != INVALID_HANDLE_VALUE;
}

bool traceFileWrite(const void* bytes, uint32_t size) {
    DWORD written = 0;
    return traceFile != INVALID_HANDLE_VALUE && WriteFile(traceFile, bytes, size, &written, nullptr) && written == size;
}

void traceFileClose() {
    if (traceFile != INVALID_HANDLE_VALUE) CloseHandle(traceFile);
    traceFile = INVALID_HANDLE_VALUE;
}

uint32_t traceFileReadAll(const char* path, void* buffer, uint32_t size) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
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

uint64_t traceClockMicros() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<uint64_t>(now.QuadPart / frequency.QuadPart * 1'000'000 +
                                 now.QuadPart % frequency.QuadPart * 1'000'000 / frequency.QuadPart);
}

// The recorder's file and clock in the simulator: the trace file lands on the
// simulated disk beside the settings file and each write runs at once; the
// clock is the host's.
#include <chrono>
#include <cstdio>
#include <string>

#include "recorder/recorder_file.h"
#include "sim/alloc_watch.h"
#include "sim/world/os.h"

namespace {
std::FILE* traceFile = nullptr;
bool writeFailed = false;
}

bool traceFileCreate(const char* path, const char* previousPath) {
    const sim::OutsidePlugin system;
    const std::string host = sim::hostPath(path);
    std::rename(host.c_str(), sim::hostPath(previousPath).c_str());
    traceFile = std::fopen(host.c_str(), "wb");
    return traceFile != nullptr;
}

bool traceFileWriteNow(const void* bytes, uint32_t size) {
    const sim::OutsidePlugin system;
    if (!traceFile || std::fwrite(bytes, 1, size, traceFile) != size || std::fflush(traceFile) != 0) writeFailed = true;
    return !writeFailed;
}

void traceFileWriteBehind(const void* bytes, uint32_t size) { traceFileWriteNow(bytes, size); }

bool traceFileBusy() { return false; }

bool traceFileWait() { return !writeFailed; }

void traceFileClose(bool) {
    const sim::OutsidePlugin system;
    if (traceFile) std::fclose(traceFile);
    traceFile = nullptr;
}

uint32_t traceFileReadAll(const char* path, void* buffer, uint32_t size) {
    const sim::OutsidePlugin system;
    std::FILE* file = std::fopen(sim::hostPath(path).c_str(), "rb");
    if (!file) return kTraceNoFile;
    const size_t got = std::fread(buffer, 1, size, file);
    const bool more = got == size && std::fgetc(file) != EOF;
    std::fclose(file);
    return more ? size + 1 : static_cast<uint32_t>(got);
}

uint64_t traceClockMicros() {
    const sim::OutsidePlugin system;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

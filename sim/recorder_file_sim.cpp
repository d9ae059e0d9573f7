// The recorder's file and clock in the simulator: the trace file lands on the
// simulated disk beside the settings file and each write runs at once, unless
// a test slows the disk down (sim/trace_disk.h); the clock is the host's.
#include <chrono>
#include <cstdio>
#include <string>

#include "recorder/recorder_file.h"
#include "sim/alloc_watch.h"
#include "sim/sim.h"
#include "sim/trace_disk.h"
#include "sim/world/os.h"

namespace {
std::FILE* traceFile = nullptr;
bool writeFailed = false;

// The slow disk: a block handed off stays in flight for writeMs of virtual
// time. A frame that must wait gives it at most kFrameWaitMs, as the Win32
// writer does; the unload's settle waits for it however long it takes.
uint32_t writeMs = 0;
constexpr uint32_t kFrameWaitMs = 2000;
std::string inFlight;
uint32_t handedOffAt = 0;  // virtual tick

bool writeHere(const void* bytes, uint32_t size) {
    if (!traceFile || std::fwrite(bytes, 1, size, traceFile) != size || std::fflush(traceFile) != 0) writeFailed = true;
    return !writeFailed;
}

void land() {
    if (!writeFailed) writeHere(inFlight.data(), static_cast<uint32_t>(inFlight.size()));
    inFlight.clear();
}

uint32_t remainingMs() {
    const uint32_t elapsed = sim::now() - handedOffAt;
    return elapsed >= writeMs ? 0 : writeMs - elapsed;
}
}  // namespace

namespace sim {
void setTraceWriteMs(uint32_t ms) { writeMs = ms; }
bool traceWriteInFlight() { return !inFlight.empty(); }
}  // namespace sim

bool traceFileCreate(const char* path, const char* previousPath) {
    const sim::OutsidePlugin system;
    if (sim::os.folderReadOnly) return false;  // the game folder takes no new file, as under Program Files
    const std::string host = sim::hostPath(path);
    std::rename(host.c_str(), sim::hostPath(previousPath).c_str());
    traceFile = std::fopen(host.c_str(), "wb");
    return traceFile != nullptr;
}

bool traceFileWriteNow(const void* bytes, uint32_t size) {
    const sim::OutsidePlugin system;
    return writeHere(bytes, size);
}

void traceFileWriteBehind(const void* bytes, uint32_t size) {
    const sim::OutsidePlugin system;
    if (writeMs == 0) {
        writeHere(bytes, size);
        return;
    }
    inFlight.assign(static_cast<const char*>(bytes), size);
    handedOffAt = sim::now();
}

bool traceFileBusy() {
    const sim::OutsidePlugin system;
    if (!inFlight.empty() && remainingMs() == 0) land();
    return !inFlight.empty();
}

bool traceFileWait() {
    const sim::OutsidePlugin system;
    if (!inFlight.empty()) {
        if (remainingMs() > kFrameWaitMs) writeFailed = true;
        else land();
    }
    return !writeFailed;
}

bool traceFileSettle() {
    const sim::OutsidePlugin system;
    if (!inFlight.empty()) land();
    return !writeFailed;
}

void traceFileClose(bool processEnding) {
    if (!processEnding) traceFileSettle();
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

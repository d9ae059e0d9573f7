// The recorder's contact with the system: the trace file and a microsecond
// clock. The trace build implements it with Win32 (recorder_file_win32.cpp),
// where block writes run on a thread-pool thread, off the game's frame; the
// simulator with its disk (sim/recorder_file_sim.cpp), where they run at once.
#pragma once
#include <cstdint>

// Creates the trace file at path, empty. A trace already there is first moved
// to previousPath (replacing any older one), so a restart after a crash keeps it.
bool traceFileCreate(const char* path, const char* previousPath);

// Appends bytes behind the caller's back: they are copied, and the write runs
// elsewhere. At most kTraceWriteMax bytes; only when no write is in flight.
constexpr uint32_t kTraceWriteMax = 1u << 20;
void traceFileWriteBehind(const void* bytes, uint32_t size);
bool traceFileBusy();  // a write is in flight
bool traceFileWait();  // waits for the write in flight; false once any write has failed
bool traceFileWriteNow(const void* bytes, uint32_t size);  // appends on the calling thread
// Closes the file; first waits for the writes handed off when waitForWrites
// (not at process exit, when the threads that ran them are gone).
void traceFileClose(bool waitForWrites);

// The whole file at path into buffer: the byte count, kTraceNoFile when it
// cannot be read, or size + 1 when it holds more than size bytes.
constexpr uint32_t kTraceNoFile = 0xFFFFFFFFu;
uint32_t traceFileReadAll(const char* path, void* buffer, uint32_t size);

uint64_t traceClockMicros();  // a monotonic clock, microseconds

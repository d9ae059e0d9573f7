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
// Waits a while for the write in flight (a frame whose buffer is full); false
// once any write has failed or this one took too long.
bool traceFileWait();
// Settles the write in flight with no time limit: one under way is waited for,
// one not yet begun is taken over and done on the calling thread. Afterwards no
// code of the recorder runs anywhere else, so the library may be unloaded; safe
// under the loader lock. False once any write has failed.
bool traceFileSettle();
bool traceFileWriteNow(const void* bytes, uint32_t size);  // appends on the calling thread
// Closes the file, first settling the write in flight, except at process exit
// (the threads that ran the writes are gone then).
void traceFileClose(bool processEnding);

// The whole file at path into buffer: the byte count, kTraceNoFile when it
// cannot be read, or size + 1 when it holds more than size bytes.
constexpr uint32_t kTraceNoFile = 0xFFFFFFFFu;
uint32_t traceFileReadAll(const char* path, void* buffer, uint32_t size);

uint64_t traceClockMicros();  // a monotonic clock, microseconds

#include "runtime/clock.h"

#include "runtime/platform.h"

#ifdef ZV_TICK_CLOCK

// The clock as the plug-in once had it, GetTickCount itself: built only to
// measure what players saw before (the demo's frame-rate report).
uint32_t readMillisecondClock() { return osTickCount(); }

#else

namespace {

constexpr int64_t kMillisecondsPerSecond = 1000;

bool started = false;
int64_t counterAtStart = 0;   // the counter's first reading
int64_t countsPerSecond = 0;  // 0: no usable counter, and GetTickCount stands in
uint32_t tickAtStart = 0;     // GetTickCount at the first reading
uint32_t lastElapsedMs = 0;   // milliseconds since the start, as last returned

// Whole milliseconds in a span of the counter, without overflow for any span.
int64_t wholeMilliseconds(int64_t counts) {
    return counts / countsPerSecond * kMillisecondsPerSecond +
           counts % countsPerSecond * kMillisecondsPerSecond / countsPerSecond;
}

}  // namespace

uint32_t readMillisecondClock() {
    const int64_t counter = osPerformanceCounter();
    if (!started) {
        started = true;
        counterAtStart = counter;
        countsPerSecond = osPerformanceFrequency();
        if (countsPerSecond < 0) countsPerSecond = 0;
        tickAtStart = osTickCount();
    }
    if (countsPerSecond == 0) return osTickCount();
    // A counter that stepped back (it should never) holds the clock where it was.
    const int64_t counts = counter - counterAtStart;
    const uint32_t elapsedMs = counts > 0 ? static_cast<uint32_t>(wholeMilliseconds(counts)) : 0;
    if (elapsedMs - lastElapsedMs < 0x80000000u) lastElapsedMs = elapsedMs;
    return tickAtStart + lastElapsedMs;
}

#endif

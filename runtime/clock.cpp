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
int64_t lastCounter = 0;      // the counter's previous reading
int64_t countsSinceStart = 0; // the counter's forward steps since its first reading
int64_t countsPerSecond = 0;  // 0: no usable counter, and GetTickCount stands in
uint32_t tickAtStart = 0;     // GetTickCount at the first reading

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
        lastCounter = counter;
        countsPerSecond = osPerformanceFrequency();
        if (countsPerSecond < 0) countsPerSecond = 0;
        tickAtStart = osTickCount();
    }
    if (countsPerSecond == 0) return osTickCount();
    // A counter that stepped back (it should never) adds nothing: the clock
    // neither runs backwards nor stalls, and goes on from where it was.
    if (counter > lastCounter) countsSinceStart += counter - lastCounter;
    lastCounter = counter;
    return tickAtStart + static_cast<uint32_t>(wholeMilliseconds(countsSinceStart));
}

#endif

// The plug-in's millisecond clock: what every timer, debounce and frame time
// of the plug-in is measured with.
//
// GetTickCount is not fit for frame times: it moves only at the system timer's
// interrupt, 64 times a second, so at 144 frames a second most frames see no
// change and the rest see 15 or 16 ms at once. This clock counts whole
// milliseconds of the high-resolution counter since its first reading, added to
// GetTickCount's value at that moment: it reads like GetTickCount (32-bit,
// wrapping every 49.7 days, in step with the system's tick at start) but moves
// with the frames.
#pragma once
#include <cstdint>

// Milliseconds, 32-bit, wrapping. Never goes backwards.
uint32_t readMillisecondClock();

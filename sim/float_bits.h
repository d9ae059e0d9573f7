// Float words as the traces hold them (the raw 32 bits), and how far apart two
// of them lie: the replay and the comparison of Linux and Wine traces both
// allow a few units in the last place, which is how far two C libraries' sine
// and cosine may disagree.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace sim {

inline float floatFromBits(uint32_t bits) {
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The number of representable floats between two words: their bits laid on
// one ordered line, so that neighbours differ by 1 (and +0 and -0 by 0).
inline int64_t ulpDistance(uint32_t a, uint32_t b) {
    auto ordered = [](uint32_t bits) {
        return (bits & 0x80000000u) ? -static_cast<int64_t>(bits & 0x7FFFFFFFu) : static_cast<int64_t>(bits);
    };
    return std::llabs(ordered(a) - ordered(b));
}

}  // namespace sim

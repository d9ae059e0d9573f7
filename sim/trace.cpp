#include "sim/trace.h"

#include <cinttypes>

#include "sim/sim.h"
#include "sim/world/os.h"

namespace sim {
namespace {

// Floats as their IEEE bits: exact, and the same text on every C library.
void writeWord(std::FILE* out, char kind, uint64_t word, const CallRecord& c, size_t& text) {
    uint32_t low = static_cast<uint32_t>(word);
    switch (kind) {
        case 'f': std::fprintf(out, " f:%08" PRIX32, low); break;
        case 'b': std::fprintf(out, " b:%u", low != 0 ? 1u : 0u); break;
        case 's': std::fprintf(out, " s:\"%s\"", c.text(static_cast<int>(text++)).c_str()); break;
        default:
            if (isOutPointer(kind)) std::fprintf(out, " p");  // where it points differs per build
            else std::fprintf(out, " i:%" PRId32, static_cast<int32_t>(low));
            break;
    }
}

void writeResult(std::FILE* out, char kind, const uint64_t* result) {
    switch (kind) {
        case 'v': break;
        case 'f': std::fprintf(out, " -> f:%08" PRIX32, static_cast<uint32_t>(result[0])); break;
        case 'b': std::fprintf(out, " -> b:%u", static_cast<uint32_t>(result[0]) != 0 ? 1u : 0u); break;
        case '3':
            std::fprintf(out, " -> v:%08" PRIX32 ",%08" PRIX32 ",%08" PRIX32, static_cast<uint32_t>(result[0]),
                         static_cast<uint32_t>(result[1]), static_cast<uint32_t>(result[2]));
            break;
        default: std::fprintf(out, " -> i:%" PRId32, static_cast<int32_t>(static_cast<uint32_t>(result[0]))); break;
    }
}

}  // namespace

void writeTrace(std::FILE* out) {
    for (const CallRecord& c : callLog()) {
        const NativeInfo& info = c.info();
        std::fprintf(out, "%" PRIu32 " 0x%016" PRIX64 " %s", c.frame, c.hash, info.name);
        size_t text = 0;
        for (int k = 0; k < c.argc; ++k) writeWord(out, info.argKinds[k], c.args[k], c, text);
        writeResult(out, info.resultKind, c.result);
        std::fputc('\n', out);
    }
    for (const SentKey& k : os.sentKeys)
        std::fprintf(out, "%" PRIu32 " key 0x%02X %s\n", k.frame, k.virtualKey, k.up ? "up" : "down");
}

}  // namespace sim

#include "sim/replay.h"

#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "recorder/zvt_format.h"
#include "sim/float_bits.h"

namespace sim::replay {
namespace {

const zvt::Trace* trace = nullptr;
size_t frameIndex = 0;
size_t next = 0;  // the next record of the frame
uint64_t natives = 0;
uint64_t platform = 0;
constexpr size_t kCallsBefore = 4;  // recorded calls shown before a divergence

std::string hex(uint64_t v, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*" PRIX64, digits, v);
    return text;
}

std::string floatText(uint32_t bits) {
    char text[48];
    std::snprintf(text, sizeof text, "%.9g [%08" PRIX32 "]", static_cast<double>(floatFromBits(bits)), bits);
    return text;
}

std::string nativeName(uint64_t hash) {
    const NativeInfo* info = findNative(hash);
    return info ? info->name : hex(hash, 16);
}

std::string valueText(char kind, uint32_t v) {
    switch (kind) {
        case 'i': return std::to_string(static_cast<int32_t>(v));
        case 'h': return hex(v, 8);
        case 'b': return v ? "true" : "false";
        case 'f': return floatText(v);
        default: return "?";
    }
}

std::string recordText(const zvt::Record& r) {
    switch (r.kind) {
        case zvt::RecordKind::Tick: return "GetTickCount() -> " + std::to_string(r.value);
        case zvt::RecordKind::KeyState: return "GetAsyncKeyState(" + hex(r.key, 2) + ") -> " + hex(r.value, 4);
        case zvt::RecordKind::KeyEvent: return "keybd_event(" + hex(r.key, 2) + ", flags " + std::to_string(r.value) + ")";
        case zvt::RecordKind::Pad: return "XInputGetState(" + std::to_string(r.key) + ") -> " + std::to_string(r.value);
        case zvt::RecordKind::Random: return "rand() -> " + std::to_string(r.value);
        case zvt::RecordKind::Counter: return "QueryPerformanceCounter() -> " + std::to_string(r.counter);
        case zvt::RecordKind::CounterFrequency: return "QueryPerformanceFrequency() -> " + std::to_string(r.counter);
        case zvt::RecordKind::Foreground: return "the process of the window in front -> " + std::to_string(r.value);
        case zvt::RecordKind::ProcessId: return "GetCurrentProcessId() -> " + std::to_string(r.value);
        case zvt::RecordKind::Native: break;
    }
    const zvt::NativeDef& def = trace->natives[r.key];
    std::string out = nativeName(def.hash) + "(";
    size_t text = 0;
    for (size_t k = 0; k < def.argKinds.size(); ++k) {
        if (k > 0) out += ", ";
        const char kind = def.argKinds[k];
        if (kind == 's') out += "\"" + r.texts[text++] + "\"";
        else if (kind == 'p') out += "&out";
        else out += valueText(kind, r.args[k]);
    }
    out += ")";
    if (def.resultKind == '3') {
        out += " -> (" + floatText(r.result[0]) + ", " + floatText(r.result[1]) + ", " + floatText(r.result[2]) + ")";
    } else if (def.resultKind != 'v') {
        out += " -> " + valueText(def.resultKind, r.result[0]);
    }
    return out;
}

// A live native call, with the simulator's table of argument kinds.
std::string liveText(const NativeCall& call) {
    std::string out = std::string(call.info->name) + "(";
    for (int k = 0; k < call.argc; ++k) {
        if (k > 0) out += ", ";
        const char kind = k < call.info->argc ? call.info->argKinds[k] : 'i';
        const uint32_t low = static_cast<uint32_t>(call.args[k]);
        if (kind == 's' && call.s(k)) out.append("\"").append(call.s(k)).append("\"");
        else if (kind == 's') out += "null";
        else if (isOutPointer(kind)) out += "&out";
        else out += valueText(kind, low);
    }
    return out + ")";
}

[[noreturn]] void diverge(const std::string& live, const std::string& why) {
    const zvt::Frame& frame = trace->frames[frameIndex];
    std::printf("zv replay: DIVERGED in frame %zu, call %zu of the frame: %s\n", frameIndex, next + 1, why.c_str());
    std::printf("  recorded: %s\n", next < frame.records.size() ? recordText(frame.records[next]).c_str()
                                                                 : "(nothing: the frame ended here)");
    std::printf("  replayed: %s\n", live.c_str());
    // The calls just before, which matched.
    std::vector<std::string> before;
    size_t f = frameIndex, r = next;
    while (before.size() < kCallsBefore) {
        if (r == 0) {
            if (f == 0) break;
            --f;
            r = trace->frames[f].records.size();
            continue;
        }
        --r;
        before.push_back("frame " + std::to_string(f) + " #" + std::to_string(r + 1) + ": " +
                         recordText(trace->frames[f].records[r]));
    }
    if (!before.empty()) std::printf("  before it (matched):\n");
    for (size_t k = before.size(); k-- > 0;) std::printf("    %s\n", before[k].c_str());
    std::printf("zv replay: %" PRIu64 " natives and %" PRIu64 " clock, focus, key, pad and random calls matched before it\n", natives,
                platform);
    std::fflush(stdout);
    std::_Exit(kExitDiverged);  // from inside the plug-in's coroutine: no unwinding, no destructors
}

// The next record when it is of this kind; otherwise the run diverges with the
// live call's text (made only then: the common path builds no strings).
template <typename LiveText>
const zvt::Record& expect(zvt::RecordKind kind, const LiveText& live) {
    const zvt::Frame& frame = trace->frames[frameIndex];
    if (next >= frame.records.size()) diverge(live(), "the plug-in made more calls in this frame than were recorded");
    const zvt::Record& r = frame.records[next];
    if (r.kind != kind) diverge(live(), "a different call");
    return r;
}

}  // namespace

bool floatsClose(uint32_t a, uint32_t b, uint32_t maxUlps) {
    if (a == b) return true;
    const float x = floatFromBits(a), y = floatFromBits(b);
    if (std::isnan(x) || std::isnan(y)) return false;
    return ulpDistance(a, b) <= maxUlps || std::fabs(x - y) <= static_cast<float>(maxUlps) * FLT_EPSILON;
}

void begin(const zvt::Trace& t) { trace = &t; }
bool active() { return trace != nullptr; }

void beginFrame(size_t frame) {
    frameIndex = frame;
    next = 0;
}

void endFrame() {
    const zvt::Frame& frame = trace->frames[frameIndex];
    if (next < frame.records.size()) diverge("(nothing: the pass ended)", "the plug-in made fewer calls in this frame than were recorded");
}

namespace {
// The next record, of a kind that needs no check beyond its kind.
const zvt::Record& take(zvt::RecordKind kind, const char* live) {
    const zvt::Record& r = expect(kind, [live] { return std::string(live); });
    ++next, ++platform;
    return r;
}
}  // namespace

uint32_t tickCount() { return take(zvt::RecordKind::Tick, "GetTickCount()").value; }
int64_t performanceCounter() { return take(zvt::RecordKind::Counter, "QueryPerformanceCounter()").counter; }
int64_t performanceFrequency() {
    return take(zvt::RecordKind::CounterFrequency, "QueryPerformanceFrequency()").counter;
}
uint32_t foregroundProcessId() {
    return take(zvt::RecordKind::Foreground, "the process of the window in front").value;
}
uint32_t currentProcessId() { return take(zvt::RecordKind::ProcessId, "GetCurrentProcessId()").value; }

int16_t asyncKeyState(int virtualKey) {
    auto live = [&] { return "GetAsyncKeyState(" + hex(static_cast<uint32_t>(virtualKey), 2) + ")"; };
    const zvt::Record& r = expect(zvt::RecordKind::KeyState, live);
    if (r.key != static_cast<uint32_t>(virtualKey)) diverge(live(), "another key");
    ++next, ++platform;
    return static_cast<int16_t>(static_cast<uint16_t>(r.value));
}

void keyEvent(uint8_t virtualKey, uint32_t flags) {
    auto live = [&] { return "keybd_event(" + hex(virtualKey, 2) + ", flags " + std::to_string(flags) + ")"; };
    const zvt::Record& r = expect(zvt::RecordKind::KeyEvent, live);
    if (r.key != virtualKey || r.value != flags) diverge(live(), "another key press");
    ++next, ++platform;
}

uint32_t padState(uint32_t slot, void* state16) {
    auto live = [&] { return "XInputGetState(" + std::to_string(slot) + ")"; };
    const zvt::Record& r = expect(zvt::RecordKind::Pad, live);
    if (r.key != slot) diverge(live(), "another controller slot");
    if (r.value == 0) std::memcpy(state16, r.pad, sizeof r.pad);
    ++next, ++platform;
    return r.value;
}

int32_t random() { return static_cast<int32_t>(take(zvt::RecordKind::Random, "rand()").value); }

void native(NativeCall& call) {
    auto live = [&] { return liveText(call); };
    const zvt::Record& r = expect(zvt::RecordKind::Native, live);
    const zvt::NativeDef& def = trace->natives[r.key];
    if (def.hash != call.info->hash) diverge(live(), "a different native");
    if (def.argKinds.size() != static_cast<size_t>(call.argc)) diverge(live(), "a different argument count");
    size_t text = 0;
    for (int k = 0; k < call.argc; ++k) {
        const uint32_t low = static_cast<uint32_t>(call.args[k]);
        bool same = true;
        switch (def.argKinds[k]) {
            case 'f': same = floatsClose(low, r.args[k], kMaxUlps); break;
            case 'b': same = (low != 0) == (r.args[k] != 0); break;
            case 's': {
                // The recorder keeps at most kMaxText bytes of a text.
                const std::string& recorded = r.texts[text++];
                const char* liveString = call.s(k) ? call.s(k) : "";
                same = std::strncmp(liveString, recorded.c_str(), zvt::kMaxText) == 0;
                break;
            }
            case 'p': break;
            default: same = low == r.args[k]; break;
        }
        if (!same) diverge(live(), "argument " + std::to_string(k + 1) + " differs");
    }
    std::memset(call.result, 0, sizeof call.result);
    if (def.resultKind == '3') {
        for (int k = 0; k < 3; ++k) call.result[k] = r.result[k];
    } else {
        call.result[0] = r.result[0];
    }
    size_t at = 0, out = 0;
    for (int k = 0; k < call.argc; ++k) {
        if (def.argKinds[k] != 'p') continue;
        const uint8_t size = def.outSizes[out++];
        if (void* target = call.p<void>(k)) std::memcpy(target, r.outBytes.data() + at, size);
        at += size;
    }
    ++next, ++natives;
}

uint64_t matchedCalls() { return natives; }
uint64_t matchedPlatformCalls() { return platform; }

}  // namespace sim::replay

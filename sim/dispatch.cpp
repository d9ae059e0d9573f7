// The hook's native interface: nativeInit / nativePush64 / nativeCall, dispatched
// by hash to the models' handlers (or, in a replay, answered from the trace),
// checked against the native table, recorded.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/hook.h"
#include "sim/alloc_watch.h"
#include "sim/hostile.h"
#include "sim/replay.h"
#include "sim/sim.h"

namespace sim {
namespace {

#define SIM_NATIVE_ROW(HASH, NAME, ARGC, KINDS, RESULT) NativeInfo{HASH, NAME, ARGC, KINDS, RESULT},
const NativeInfo kNativeTable[] = {
#include "native_table.inc"
};
#undef SIM_NATIVE_ROW
constexpr size_t kNativeCount = sizeof kNativeTable / sizeof kNativeTable[0];

struct Registry {
    NativeHandler handlers[kNativeCount] = {};
};
Registry& registry() {
    static Registry r;
    return r;
}

size_t indexOf(uint64_t hash) {
    for (size_t k = 0; k < kNativeCount; ++k)
        if (kNativeTable[k].hash == hash) return k;
    return kNativeCount;
}

char hex(uint64_t hash, char* out) {
    std::snprintf(out, 24, "0x%016llX", static_cast<unsigned long long>(hash));
    return 0;
}

// The call being assembled.
bool started = false;
NativeCall current;
size_t currentIndex = 0;

Recording recording = Recording::All;
std::vector<CallRecord> log;
size_t frameStart = 0;
uint64_t callCount = 0;
uint64_t frameCallStart = 0;  // callCount when this frame began

}  // namespace

// Recording mode and frame boundaries, used by the host.
void beginFrameLog(uint32_t) {
    if (recording != Recording::All) log.clear();
    frameStart = log.size();
    frameCallStart = callCount;
}

const NativeInfo* findNative(uint64_t hash) {
    size_t k = indexOf(hash);
    return k < kNativeCount ? &kNativeTable[k] : nullptr;
}

NativeRegistrar::NativeRegistrar(uint64_t hash, NativeHandler handler) {
    size_t k = indexOf(hash);
    char h[24];
    hex(hash, h);
    if (k == kNativeCount) {
        std::fprintf(stderr, "sim: a model simulates native %s, which is not in natives.tsv\n", h);
        std::abort();
    }
    if (registry().handlers[k]) {
        std::fprintf(stderr, "sim: native %s (%s) is simulated twice\n", h, kNativeTable[k].name);
        std::abort();
    }
    registry().handlers[k] = handler;
}

float NativeCall::f(int n) const {
    uint32_t bits = static_cast<uint32_t>(args[n]);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
float CallRecord::f(int n) const {
    uint32_t bits = static_cast<uint32_t>(args[n]);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
void NativeCall::failOutKind(int n, char wanted) const {
    fail(std::string(info->name) + " argument " + std::to_string(n) + " is of kind '" + info->argKinds[n] +
         "', not the out-pointer '" + wanted + "' its model writes");
}
void NativeCall::ret(int32_t v) { result[0] = static_cast<uint32_t>(v); }
void NativeCall::ret(uint32_t v) { result[0] = v; }
void NativeCall::ret(bool v) { result[0] = v ? 1 : 0; }
void NativeCall::ret(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    result[0] = bits;
}
void NativeCall::ret(float x, float y, float z) {
    float v[6] = {x, 0, y, 0, z, 0};
    std::memcpy(result, v, sizeof result);
}

void setRecording(Recording mode) { recording = mode; }
const std::vector<CallRecord>& callLog() { return log; }
size_t lastFrameStart() { return frameStart; }
uint64_t nativeCallCount() { return callCount; }

std::vector<const CallRecord*> calls(uint64_t hash) {
    std::vector<const CallRecord*> out;
    for (const CallRecord& c : log)
        if (c.hash == hash) out.push_back(&c);
    return out;
}
std::vector<const CallRecord*> frameCalls(uint64_t hash) {
    std::vector<const CallRecord*> out;
    for (size_t k = frameStart; k < log.size(); ++k)
        if (log[k].hash == hash) out.push_back(&log[k]);
    return out;
}

}  // namespace sim

using namespace sim;

extern "C" void nativeInit(uint64_t hash) {
    const OutsidePlugin hookSide;
    char h[24];
    if (started) fail(std::string("native ") + (hex(hash, h), h) + " started before the previous one was called");
    currentIndex = indexOf(hash);
    if (currentIndex == kNativeCount) fail(std::string("unknown native ") + (hex(hash, h), h));
    started = true;
    current = NativeCall{};
    current.info = &kNativeTable[currentIndex];
}

extern "C" void nativePush64(uint64_t value) {
    const OutsidePlugin hookSide;
    if (!started) fail("nativePush64 outside a native call");
    if (current.argc >= 16) fail(std::string("too many arguments for ") + current.info->name);
    current.args[current.argc++] = value;
}

extern "C" uint64_t* nativeCall() {
    const OutsidePlugin hookSide;
    if (!started) fail("nativeCall without nativeInit");
    started = false;
    const NativeInfo& info = *current.info;
    char h[24];
    if (current.argc != info.argc || !registry().handlers[currentIndex]) hex(info.hash, h);
    if (current.argc != info.argc)
        fail(std::string("native ") + h + " (" + info.name + ") called with " + std::to_string(current.argc) +
             " arguments; it takes " + std::to_string(info.argc));
    if (replay::active()) {
        replay::native(current);  // the recorded result and out-writes, after checking the arguments
    } else {
        NativeHandler handler = registry().handlers[currentIndex];
        if (!handler) fail(std::string("native ") + h + " (" + info.name + ") is not simulated");
        if (callCount - frameCallStart >= kMaxNativesPerFrame)
            fail("the pass called more than " + std::to_string(kMaxNativesPerFrame) + " natives: it does not finish");
        checkArguments(current);
        handler(current);
        disturbResult(current);
    }
    ++callCount;
    if (recording != Recording::Off) {
        CallRecord r{};
        r.frame = frameIndex();
        r.hash = info.hash;
        r.argc = current.argc;
        std::memcpy(r.args, current.args, sizeof r.args);
        std::memcpy(r.result, current.result, sizeof r.result);
        for (int k = 0; k < info.argc; ++k)
            if (info.argKinds[k] == 's') r.texts.emplace_back(current.s(k) ? current.s(k) : "(null)");
        log.push_back(std::move(r));
    }
    static uint64_t area[3];
    std::memcpy(area, current.result, sizeof area);
    return area;
}

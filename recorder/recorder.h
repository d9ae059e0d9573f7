// The recorder's hooks. The trace build (ZV_RECORDER) keeps everything the
// plug-in takes from the outside in Zentravisor-trace.zvt: the hooks sit in the
// native-call layer (runtime/native_call.h), the platform layer
// (runtime/platform.h: clocks, focus, keys, key presses, pads, random draws), the script
// main's start-up and frame end, and the unload. In every other build they are
// empty inline functions and compile to nothing.
#pragma once
#include <cstdint>

#ifdef ZV_RECORDER
#include <cstring>
#include <type_traits>

struct Vec3;

// The C++ types of a native's arguments and result, as the trace's kind letters.
template <typename T>
constexpr char traceKind() {
    if constexpr (std::is_same_v<T, int32_t>) return 'i';
    else if constexpr (std::is_same_v<T, uint32_t>) return 'h';
    else if constexpr (std::is_same_v<T, bool>) return 'b';
    else if constexpr (std::is_same_v<T, float>) return 'f';
    else if constexpr (std::is_same_v<T, const char*>) return 's';
    else if constexpr (std::is_pointer_v<T>) return 'p';
    else if constexpr (std::is_void_v<T>) return 'v';
    else if constexpr (std::is_same_v<T, Vec3>) return '3';
    else static_assert(sizeof(T) == 0, "a native argument or result type the trace has no kind for");
}

template <typename T>
constexpr uint8_t traceOutSize() {
    if constexpr (traceKind<T>() == 'p') return sizeof(std::remove_pointer_t<T>);
    else return 0;
}

struct TraceSignature {
    uint8_t argc;
    const char* argKinds;
    const uint8_t* outSizes;  // per argument; 0 except for out-pointers
    char resultKind;
};

template <typename R, typename... Args>
struct TraceSignatureOf {
    static constexpr char kinds[] = {traceKind<Args>()..., '\0'};
    static constexpr uint8_t sizes[] = {traceOutSize<Args>()..., 0};
    static constexpr TraceSignature value = {sizeof...(Args), kinds, sizes, traceKind<R>()};
};

void recordStart(const char* settingsPath);
void recordFrameEnd();
void recordStop(bool processEnding);
uint32_t recordTick(uint32_t tick);
int64_t recordCounter(int64_t counter);
int64_t recordCounterFrequency(int64_t frequency);
uint32_t recordForegroundProcess(uint32_t processId);
uint32_t recordProcessId(uint32_t processId);
int16_t recordKeyState(int virtualKey, int16_t state);
void recordKeyEvent(uint8_t virtualKey, uint32_t flags);
uint32_t recordPadState(uint32_t slot, uint32_t result, const void* state16);
int32_t recordRandom(int32_t value);
// A native call's record is encoded inline at each call site, argument by
// argument from its C++ type (recorder/zvt_format.h has the encodings):
// recordNativeBegin writes the record's tag (and the native's definition on its
// first call) and returns where the arguments go, or nullptr when nothing is
// being recorded; recordNativeEnd takes the position after the last byte.
uint8_t* recordNativeBegin(uint64_t hash, const TraceSignature& signature);
void recordNativeEnd(uint8_t* end);
void traceText(uint8_t*& at, const char* text);

inline void traceVarint(uint8_t*& at, uint32_t v) {
    while (v >= 0x80) {
        *at++ = static_cast<uint8_t>(v | 0x80);
        v >>= 7;
    }
    *at++ = static_cast<uint8_t>(v);
}
inline void traceVarint64(uint8_t*& at, uint64_t v) {
    while (v >= 0x80) {
        *at++ = static_cast<uint8_t>(v | 0x80);
        v >>= 7;
    }
    *at++ = static_cast<uint8_t>(v);
}
inline void traceWord32(uint8_t*& at, uint32_t v) {
    std::memcpy(at, &v, 4);  // both builds are little-endian
    at += 4;
}
inline void traceArg(uint8_t*& at, int32_t v) {
    traceVarint(at, (static_cast<uint32_t>(v) << 1) ^ static_cast<uint32_t>(v >> 31));
}
inline void traceArg(uint8_t*& at, uint32_t v) { traceWord32(at, v); }
inline void traceArg(uint8_t*& at, bool v) { *at++ = v ? 1 : 0; }
inline void traceArg(uint8_t*& at, float v) {
    std::memcpy(at, &v, 4);
    at += 4;
}
inline void traceArg(uint8_t*& at, const char* text) { traceText(at, text); }
template <typename T>
inline void traceArg(uint8_t*&, T*) {}  // an out-pointer: its bytes follow the result

template <typename T>
inline void traceOut(uint8_t*&, T) {}
inline void traceOut(uint8_t*&, const char*) {}
template <typename T>
inline void traceOut(uint8_t*& at, T* out) {
    static_assert(sizeof(T) <= 64, "the trace format takes out-pointers of up to 64 bytes");
    if (out) std::memcpy(at, out, sizeof(T));
    else std::memset(at, 0, sizeof(T));
    at += sizeof(T);
}

template <typename R>
inline void traceResult(uint8_t*& at, const uint64_t* area) {
    constexpr char kind = traceKind<R>();
    const uint32_t low = static_cast<uint32_t>(area[0]);
    if constexpr (kind == 'i') traceArg(at, static_cast<int32_t>(low));
    else if constexpr (kind == 'b') traceArg(at, low != 0);
    else if constexpr (kind == '3') {
        for (int k = 0; k < 3; ++k) traceWord32(at, static_cast<uint32_t>(area[k]));
    } else if constexpr (kind != 'v') traceWord32(at, low);  // 'h', 'f'
}

// One native call: its arguments as passed, its result area as returned.
template <typename R, typename... Args>
inline void recordNative(uint64_t hash, const uint64_t* result, Args... args) {
    uint8_t* at = recordNativeBegin(hash, TraceSignatureOf<R, Args...>::value);
    if (!at) return;
    (traceArg(at, args), ...);
    traceResult<R>(at, result);
    (traceOut(at, args), ...);
    recordNativeEnd(at);
}

#else

inline void recordStart(const char*) {}
inline void recordFrameEnd() {}
inline void recordStop(bool) {}
inline uint32_t recordTick(uint32_t tick) { return tick; }
inline int64_t recordCounter(int64_t counter) { return counter; }
inline int64_t recordCounterFrequency(int64_t frequency) { return frequency; }
inline uint32_t recordForegroundProcess(uint32_t processId) { return processId; }
inline uint32_t recordProcessId(uint32_t processId) { return processId; }
inline int16_t recordKeyState(int, int16_t state) { return state; }
inline void recordKeyEvent(uint8_t, uint32_t) {}
inline uint32_t recordPadState(uint32_t, uint32_t result, const void*) { return result; }
inline int32_t recordRandom(int32_t value) { return value; }
template <typename R, typename... Args>
inline void recordNative(uint64_t, const uint64_t*, Args...) {}

#endif

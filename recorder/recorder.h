// The recorder's hooks. The trace build (ZV_RECORDER) keeps everything the
// plug-in takes from the outside in Zentravisor-trace.zvt: the hooks sit in the
// native-call layer (runtime/native_call.h), the platform layer
// (runtime/platform.h: clock, keys, key presses, pads, random draws) and the script main's start-up and frame end. In every
// other build they are empty inline functions and compile to nothing.
#pragma once
#include <cstdint>

#ifdef ZV_RECORDER
#include <type_traits>

// The C++ types of a native's arguments and result, as the trace's kind letters.
template <typename T>
struct TraceKind;
template <>
struct TraceKind<int32_t> {
    static constexpr char kind = 'i';
};
template <>
struct TraceKind<uint32_t> {
    static constexpr char kind = 'h';
};
template <>
struct TraceKind<bool> {
    static constexpr char kind = 'b';
};
template <>
struct TraceKind<float> {
    static constexpr char kind = 'f';
};
template <>
struct TraceKind<const char*> {
    static constexpr char kind = 's';
};
template <typename T>
struct TraceKind<T*> {
    static constexpr char kind = 'p';
};
template <>
struct TraceKind<void> {
    static constexpr char kind = 'v';
};
struct Vec3;
template <>
struct TraceKind<Vec3> {
    static constexpr char kind = '3';
};

template <typename T>
constexpr uint8_t traceOutSize() {
    if constexpr (TraceKind<T>::kind == 'p') return sizeof(std::remove_pointer_t<T>);
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
    static constexpr char kinds[] = {TraceKind<Args>::kind..., '\0'};
    static constexpr uint8_t sizes[] = {traceOutSize<Args>()..., 0};
    static constexpr TraceSignature value = {sizeof...(Args), kinds, sizes, TraceKind<R>::kind};
};

void recordStart(const char* settingsPath);
void recordFrameEnd();
void recordStop();
uint32_t recordTick(uint32_t tick);
int16_t recordKeyState(int virtualKey, int16_t state);
void recordKeyEvent(uint8_t virtualKey, uint32_t flags);
uint32_t recordPadState(uint32_t slot, uint32_t result, const void* state16);
int32_t recordRandom(int32_t value);
void recordNativeCall(uint64_t hash, const TraceSignature& signature, const uint64_t* words, const uint64_t* result);

// One native call: its words as pushed, its result area as returned.
template <typename R, typename... Args>
inline void recordNative(uint64_t hash, const uint64_t* result, Args... args) {
    const uint64_t words[] = {nativeWord(args)..., 0};
    recordNativeCall(hash, TraceSignatureOf<R, Args...>::value, words, result);
}

#else

inline void recordStart(const char*) {}
inline void recordFrameEnd() {}
inline void recordStop() {}
inline uint32_t recordTick(uint32_t tick) { return tick; }
inline int16_t recordKeyState(int, int16_t state) { return state; }
inline void recordKeyEvent(uint8_t, uint32_t) {}
inline uint32_t recordPadState(uint32_t, uint32_t result, const void*) { return result; }
inline int32_t recordRandom(int32_t value) { return value; }
template <typename R, typename... Args>
inline void recordNative(uint64_t, const uint64_t*, Args...) {}

#endif

// The native-call layer: how one game native is invoked through the script hook.
//
// A call is nativeInit(hash), one nativePush64 per argument in order, then
// nativeCall(), whose result area is read before the next call starts (the hook
// reuses it). Every argument travels as one 64-bit word:
//   ints, handles, hashes  the 32-bit value zero-extended (handle -1 -> 0x00000000FFFFFFFF)
//   bools                  0 or 1
//   floats                 the IEEE single bits in the low half, upper half zero
//   text, out-parameters   the pointer itself
// Results: ints and bools in the low 32 bits of word 0, floats as the low 32
// bits' IEEE bits, vectors as x, y, z floats at byte offsets 0, 8 and 16.
#pragma once
#include <cstdint>
#include <cstring>

#include "runtime/hook.h"

using Ped = int32_t;
using Vehicle = int32_t;
using Entity = int32_t;
using Cam = int32_t;
using Player = int32_t;
using Hash = uint32_t;

struct Vec3 {
    float x, y, z;
};

// The game's own vector layout: each component padded to 8 bytes. Used for
// out-parameters that the game writes a whole vector into.
struct NativeVector3 {
    float x;
    uint32_t padX;
    float y;
    uint32_t padY;
    float z;
    uint32_t padZ;
};
static_assert(sizeof(NativeVector3) == 24, "the game writes 24 bytes per vector");

inline uint64_t nativeWord(int32_t v) { return static_cast<uint32_t>(v); }
inline uint64_t nativeWord(uint32_t v) { return v; }
inline uint64_t nativeWord(bool v) { return v ? 1u : 0u; }
inline uint64_t nativeWord(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}
inline uint64_t nativeWord(const char* text) { return reinterpret_cast<uintptr_t>(text); }
template <typename T>
inline uint64_t nativeWord(T* out) { return reinterpret_cast<uintptr_t>(out); }

template <typename R>
inline R nativeResult(const uint64_t* area);
template <>
inline void nativeResult<void>(const uint64_t*) {}
template <>
inline int32_t nativeResult<int32_t>(const uint64_t* area) { return static_cast<int32_t>(static_cast<uint32_t>(area[0])); }
template <>
inline uint32_t nativeResult<uint32_t>(const uint64_t* area) { return static_cast<uint32_t>(area[0]); }
template <>
inline bool nativeResult<bool>(const uint64_t* area) { return static_cast<uint32_t>(area[0]) != 0; }
template <>
inline float nativeResult<float>(const uint64_t* area) {
    uint32_t bits = static_cast<uint32_t>(area[0]);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
template <>
inline Vec3 nativeResult<Vec3>(const uint64_t* area) {
    NativeVector3 raw;
    std::memcpy(&raw, area, sizeof raw);  // copied out whole before the area is reused
    return {raw.x, raw.y, raw.z};
}

// The trace build's recorder sees every call here, after the game answered.
#include "recorder/recorder.h"

// One native call: hash, arguments in order, typed result.
template <typename R, typename... Args>
inline R callNative(uint64_t hash, Args... args) {
    nativeInit(hash);
    (nativePush64(nativeWord(args)), ...);
    const uint64_t* result = nativeCall();
    recordNative<R>(hash, result, args...);
    return nativeResult<R>(result);
}

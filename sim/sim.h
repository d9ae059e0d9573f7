// The simulator: a deterministic stand-in for the game and its script hook.
//
// The plug-in's own script main runs on a coroutine. Each sim::frame() advances
// the virtual clock, lets the game-side models prepare the frame, resumes the
// script until it yields at scriptWait(0), then lets the models finish the frame
// (render the camera, clear per-frame flags). One plug-in per process: its state
// is module-level, exactly as in the game, so every test runs in its own process.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "native_hashes.h"

struct NativeVector3;

namespace sim {

// ---- the run ---------------------------------------------------------------

struct Options {
    uint32_t startTick = 1'000'000;  // the clock may start anywhere, even just below 2^32
    uint32_t frameMs = 16;           // virtual milliseconds per frame...
    uint32_t frameUs = 0;            // ...or microseconds, when not 0 (16667 for 60 fps, 6944 for 144)
    uint32_t jitterPercent = 0;      // each frame's length varies by up to this share either way (a real game: 15)
    bool idealClock = false;         // GetTickCount exact to the millisecond, not in Windows' 15.625 ms steps
    uint32_t pumpEvery = 1;          // the game pumps its window messages every this many frames
    bool readOnlyFolder = false;     // the game folder takes no writes
    std::string exePath = "C:\\Games\\TheGame\\GameApp.exe";
    std::string diskRoot{};          // host folder standing in for the game folder; "" = a fresh temp folder
    bool worldModels = true;         // false: no model runs around the script's pass (a replay)
};

void boot(const Options& options = {});  // loads the plug-in (entry routine, registration)
void frame();                            // runs one game frame
void frames(int count);
void runFor(uint32_t milliseconds);      // frames until at least this much virtual time passed
uint32_t frameIndex();                   // frames run so far
uint32_t now();                          // the game's milliseconds: the start tick plus the time played
void setFrameMs(uint32_t ms);            // frame time from the next frame on
void* pluginModule();                    // the module handle the plug-in registered with
bool scriptRegistered();                 // a script main is registered: attached, not yet detached

[[noreturn]] void fail(const std::string& message);  // the run is broken: print and abort

// Game-side logic that runs around the script's pass, registered by each model.
enum class Phase : uint8_t { BeforeScripts, AfterScripts };
struct FrameStep {
    FrameStep(Phase phase, int order, void (*step)());
};

// ---- natives ---------------------------------------------------------------

// One row of the native table, generated from sim/natives.tsv.
struct NativeInfo {
    uint64_t hash;
    const char* name;
    int argc;
    const char* argKinds;  // one letter per argument: i int/handle/hash, f float, b bool, s text, or an out kind
    char resultKind;       // v none, i int, b bool, f float, 3 vector
};
const NativeInfo* findNative(uint64_t hash);

// Out-pointers, by what the game writes through them.
constexpr char kOutFloat = 'F';   // a float
constexpr char kOutVector = 'V';  // a NativeVector3
constexpr char kOutInt = 'I';     // a 32-bit integer: a bool, hash or handle
constexpr bool isOutPointer(char kind) { return kind == kOutFloat || kind == kOutVector || kind == kOutInt; }
template <typename T>
constexpr char outKindOf();  // the out kind that holds a T
template <>
constexpr char outKindOf<float>() { return kOutFloat; }
template <>
constexpr char outKindOf<NativeVector3>() { return kOutVector; }
template <>
constexpr char outKindOf<int32_t>() { return kOutInt; }
template <>
constexpr char outKindOf<uint32_t>() { return kOutInt; }

// The arguments and result of the native being run.
struct NativeCall {
    const NativeInfo* info;
    uint64_t args[16];
    int argc;
    uint64_t result[3];

    int32_t i(int n) const { return static_cast<int32_t>(static_cast<uint32_t>(args[n])); }
    uint32_t u(int n) const { return static_cast<uint32_t>(args[n]); }
    bool b(int n) const { return static_cast<uint32_t>(args[n]) != 0; }
    float f(int n) const;
    const char* s(int n) const { return reinterpret_cast<const char*>(static_cast<uintptr_t>(args[n])); }
    template <typename T>
    T* p(int n) const { return reinterpret_cast<T*>(static_cast<uintptr_t>(args[n])); }
    // Out-pointer n, for writing a T: the run fails when the table gives it another kind.
    template <typename T>
    T* out(int n) const {
        if (info->argKinds[n] != outKindOf<T>()) failOutKind(n, outKindOf<T>());
        return p<T>(n);
    }
    [[noreturn]] void failOutKind(int n, char wanted) const;

    void ret(int32_t v);
    void ret(uint32_t v);
    void ret(bool v);
    void ret(float v);
    void ret(float x, float y, float z);
};

using NativeHandler = void (*)(NativeCall& call);
struct NativeRegistrar {
    NativeRegistrar(uint64_t hash, NativeHandler handler);
};

#define SIM_CAT2(a, b) a##b
#define SIM_CAT(a, b) SIM_CAT2(a, b)
// Defines the simulated behaviour of one native, once, beside the model it touches:
//   SIM_NATIVE(native::kPlayerPedId) { call.ret(player.ped); }
#define SIM_NATIVE(HASH)                                                                          \
    static void SIM_CAT(simNative, __LINE__)(::sim::NativeCall & call);                           \
    static const ::sim::NativeRegistrar SIM_CAT(simRegistrar, __LINE__)(HASH, SIM_CAT(simNative, __LINE__)); \
    static void SIM_CAT(simNative, __LINE__)([[maybe_unused]] ::sim::NativeCall & call)

// ---- the call log ----------------------------------------------------------

struct CallRecord {
    uint32_t frame;
    uint64_t hash;
    int argc;
    uint64_t args[16];
    std::vector<std::string> texts;  // copies of the text arguments, in order
    uint64_t result[3];

    const NativeInfo& info() const { return *findNative(hash); }
    int32_t i(int n) const { return static_cast<int32_t>(static_cast<uint32_t>(args[n])); }
    float f(int n) const;
    const std::string& text(int k = 0) const { return texts.at(k); }
};

enum class Recording : uint8_t { All, LastFrame, Off };
void setRecording(Recording mode);
const std::vector<CallRecord>& callLog();                  // everything recorded so far
std::vector<const CallRecord*> calls(uint64_t hash);       // recorded calls of one native
std::vector<const CallRecord*> frameCalls(uint64_t hash);  // ... made in the last frame
size_t lastFrameStart();                                   // index in callLog() where the last frame began
uint64_t nativeCallCount();                                // natives called since boot

}  // namespace sim

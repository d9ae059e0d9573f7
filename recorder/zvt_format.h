// The trace file, Zentravisor-trace.zvt: what the trace build of the plug-in
// took from the game and the system, frame by frame. docs/trace-format.md
// describes it for readers in other languages; this header is the one
// definition the recorder and the replay share.
//
// A 64-byte header, then frames. A frame is a run of records closed by a frame
// end that carries the frame's number and a checksum of its bytes, so a reader
// can tell a complete frame from a torn one and stop at the last complete frame.
// Numbers are little-endian; "varint" is LEB128 (7 bits per byte, low first);
// "zigzag" maps a signed value onto a varint (0, -1, 1, -2 -> 0, 1, 2, 3);
// "varint64" is LEB128 of up to 64 bits (at most 10 bytes).
#pragma once
#include <cstdint>
#include <cstring>

namespace zvt {

constexpr char kMagic[8] = {'Z', 'V', 'T', 'R', 'A', 'C', 'E', '\0'};
// Version 2 added the performance counter and the window in front, which the
// plug-in's clock and key reads depend on; a version 1 recording was made by a
// plug-in that made other calls, and cannot be replayed by this one.
constexpr uint16_t kFormatVersion = 2;
constexpr uint32_t kHeaderBytes = 64;
// Header layout: magic[8], u16 format version, u16 header size, u32 zero,
// plug-in version (16 bytes, NUL-padded), build (32 bytes, NUL-padded).
constexpr uint32_t kVersionOffset = 16;
constexpr uint32_t kVersionBytes = 16;
constexpr uint32_t kBuildOffset = 32;
constexpr uint32_t kBuildBytes = 32;

// Record tags. A byte at or above kNativeTag is a native call of native id
// (byte - kNativeTag); the id was given by an earlier Define record.
enum Tag : uint8_t {
    kTick = 0x01,       // varint: GetTickCount's value
    kKeyState = 0x02,   // u8 virtual key, u16 GetAsyncKeyState's value
    kKeyEvent = 0x03,   // u8 virtual key, varint flags: a key_event the plug-in sent
    kPad = 0x04,        // u8 slot, varint XInputGetState's result; when 0, the 16-byte state
    kDefine = 0x05,     // u8 id, u64 hash, u8 argc, argc kind bytes, u8 result kind,
                        // then one u8 size per out-pointer argument
    kFrameEnd = 0x06,   // varint frame number, u32 checksum, varint microseconds the
                        // previous frame end spent in the recorder (checksum and writes)
    kSettings = 0x07,   // u8 state (kSettings*), varint length, the settings file's bytes
    kEnd = 0x08,        // u8 reason (kEnd*): the recording stopped; nothing follows
    kRandom = 0x09,     // varint: a draw of the C runtime's rand()
    kCounter = 0x0A,    // zigzag varint64: QueryPerformanceCounter's value minus the
                        // previous counter record's (the first: minus 0)
    kCounterFrequency = 0x0B,  // varint64: QueryPerformanceFrequency's value
    kForeground = 0x0C, // varint: the process of the window in front, 0 for none
    kProcessId = 0x0D,  // varint: GetCurrentProcessId's value
    kNativeTag = 0x80,
};
constexpr uint32_t kMaxNatives = 0x80;

// Argument kinds, by the C++ type the plug-in passes:
//   'i' int32 (zigzag)   'h' uint32 (4 bytes)   'b' bool (1 byte)   'f' float (4 bytes, IEEE)
//   's' text (varint length, bytes; at most kMaxText bytes kept)
//   'p' out-pointer: nothing at the call; after the results, the bytes the
//       pointed-to object holds once the native has returned
// Result kinds: 'v' none, 'i', 'h', 'b', 'f' as above, '3' a vector (three floats).
constexpr uint32_t kMaxText = 255;
constexpr uint32_t kMaxArgs = 16;
constexpr uint32_t kMaxOutBytes = 64;

enum SettingsState : uint8_t {
    kSettingsMissing = 0,   // no settings file could be read: the plug-in ran on its template
    kSettingsPresent = 1,   // the bytes follow
    kSettingsTooLarge = 2,  // larger than kMaxSettingsBytes: not kept
};
constexpr uint32_t kMaxSettingsBytes = 64 * 1024;

enum EndReason : uint8_t {
    kEndUnload = 1,       // the plug-in was unloaded
    kEndSizeCap = 2,      // the file reached its size cap
    kEndTooManyNatives = 3,
    kEndFrameTooLarge = 4,
};

// The frame checksum: 64-bit multiply-xor over 8-byte words, folded to 32
// bits. Cheap enough to run over every frame.
inline uint32_t checksum(const uint8_t* bytes, uint32_t size) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ size;
    uint32_t k = 0;
    for (; k + 8 <= size; k += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + k, sizeof word);  // both builds are little-endian
        h = (h ^ word) * 0x100000001B3ull;
        h ^= h >> 29;
    }
    for (; k < size; ++k) h = (h ^ bytes[k]) * 0x100000001B3ull;
    return static_cast<uint32_t>(h ^ (h >> 32));
}

}  // namespace zvt

// The trace build's recorder: every value the plug-in takes from the game and
// the system, appended to a static buffer as it arrives and written to
// Zentravisor-trace.zvt in large blocks, handed off at frame ends and written
// off the frame (recorder/recorder_file.h). The format is in
// recorder/zvt_format.h. Nothing here allocates. The time each frame end spends
// here (checksum, hand-off) goes into the next frame end record.
#include "recorder/recorder.h"

#include <cstring>

#include "recorder/recorder_file.h"
#include "recorder/zvt_format.h"
#include "runtime/platform.h"

#ifndef ZV_BUILD
#define ZV_BUILD "trace"
#endif

namespace {

constexpr uint32_t kBufferBytes = kTraceWriteMax;  // complete frames waiting, plus the one being recorded
constexpr uint32_t kBlockBytes = 64u * 1024;      // a frame end writes once this much waits...
constexpr uint32_t kMaxFramesWaiting = 60;        // ...or this many frames (a second of play)
constexpr uint64_t kFileCapBytes = 256ull << 20;  // the file stops growing here (the players' readme says so)
constexpr uint32_t kEndRecordBytes = 2;
// The largest single record: a native with every argument a full text, every
// out-pointer at its largest, and a Define record before it.
constexpr uint32_t kMaxRecordBytes =
    64 + 1 + zvt::kMaxArgs * (5 + zvt::kMaxText) + 3 * 4 + zvt::kMaxArgs * zvt::kMaxOutBytes;
constexpr char kTraceName[] = "Zentravisor-trace.zvt";
constexpr char kPreviousName[] = "Zentravisor-trace.previous.zvt";
constexpr uint32_t kPathBytes = kMaxPathBytes;  // as long as the settings file's path

uint8_t buffer[kBufferBytes];
uint32_t used = 0;        // bytes in the buffer
uint32_t frameBegin = 0;  // where the frame being recorded starts in the buffer
uint32_t framesWaiting = 0;
uint64_t fileBytes = 0;   // bytes already in the file
uint32_t frameNumber = 0;
uint32_t lastEndMicros = 0;
bool recording = false;
bool frameTooLarge = false;

// Native ids by hash: open addressing, slot value id + 1 (0 = empty).
constexpr uint32_t kIdSlots = 256;
uint64_t slotHash[kIdSlots];
uint8_t slotId[kIdSlots];
uint32_t nativesDefined = 0;

uint8_t settingsBytes[zvt::kMaxSettingsBytes];
int64_t lastCounter = 0;  // the counter's previous record: each stores the step from it

// Appends to the buffer through a local cursor, so that a record is written
// with its position in a register; the fill level is stored once, at the end.
// The caller has checked room() for the record.
struct Out {
    uint8_t* p = buffer + used;
    Out() = default;
    Out(const Out&) = delete;
    Out& operator=(const Out&) = delete;
    ~Out() { used = static_cast<uint32_t>(p - buffer); }

    void u8(uint32_t v) { *p++ = static_cast<uint8_t>(v); }
    void u16(uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(uint32_t v) { traceWord32(p, v); }
    void varint(uint32_t v) { traceVarint(p, v); }
    void varint64(uint64_t v) { traceVarint64(p, v); }
    void bytes(const void* from, uint32_t size) {
        std::memcpy(p, from, size);
        p += size;
    }
};

// Hands the complete frames to the file and keeps the one being recorded. With
// a write still in flight, waits for it only when mayWait.
void writeCompleteFrames(bool mayWait) {
    if (frameBegin == 0 || (!mayWait && traceFileBusy())) return;
    if (!traceFileWait()) {
        recording = false;  // a full disk: the file stays readable up to its last whole frame
        traceFileClose(false);
        return;
    }
    traceFileWriteBehind(buffer, frameBegin);
    fileBytes += frameBegin;
    std::memmove(buffer, buffer + frameBegin, used - frameBegin);
    used -= frameBegin;
    frameBegin = 0;
    framesWaiting = 0;
}

// Drops the frame being recorded and writes the rest with an end record, on
// this thread; then closes the file. The block handed off last reaches the file
// first: finished where it runs, or taken over here if it had not begun, with
// no time limit, so that no write of this library outlives it at an unload. At
// process exit the threads that ran the handed-off writes are gone: with one
// cut off mid-write nothing more is written, so the file still ends at whole frames.
void stop(zvt::EndReason reason, bool processEnding = false) {
    if (!recording) return;
    recording = false;
    used = frameBegin;
    {
        Out out;
        out.u8(zvt::kEnd);
        out.u8(reason);
    }
    if (processEnding ? !traceFileBusy() : traceFileSettle()) traceFileWriteNow(buffer, used);
    traceFileClose(processEnding);
}

// Room for one more record; false when the recording cannot take it.
bool room() {
    if (!recording || frameTooLarge) return false;
    if (kBufferBytes - used >= kMaxRecordBytes) return true;
    writeCompleteFrames(true);  // the disk is slower than the game: the frame waits, and the wait is measured
    if (kBufferBytes - used >= kMaxRecordBytes) return true;
    frameTooLarge = true;  // one frame larger than the buffer: the recording ends before it
    return false;
}

// The id of a native, defined in the trace on its first call; kMaxNatives when
// the table is full.
uint32_t nativeId(Out& out, uint64_t hash, const TraceSignature& signature) {
    uint32_t slot = static_cast<uint32_t>(hash ^ (hash >> 29)) % kIdSlots;
    while (slotId[slot] != 0) {
        if (slotHash[slot] == hash) return slotId[slot] - 1u;
        slot = (slot + 1) % kIdSlots;
    }
    if (nativesDefined == zvt::kMaxNatives) return zvt::kMaxNatives;
    const uint32_t id = nativesDefined++;
    slotHash[slot] = hash;
    slotId[slot] = static_cast<uint8_t>(id + 1);
    out.u8(zvt::kDefine);
    out.u8(id);
    out.bytes(&hash, 8);
    out.u8(signature.argc);
    out.bytes(signature.argKinds, signature.argc);
    out.u8(static_cast<uint8_t>(signature.resultKind));
    for (uint32_t k = 0; k < signature.argc; ++k)
        if (signature.argKinds[k] == 'p') out.u8(signature.outSizes[k]);
    return id;
}

// The path of a file in the settings file's folder.
bool besideSettings(const char* settingsPath, const char* name, char* out) {
    const char* slash = std::strrchr(settingsPath, '\\');
    const size_t folder = slash ? static_cast<size_t>(slash - settingsPath) + 1 : 0;
    const size_t nameLength = std::strlen(name);
    if (folder + nameLength + 1 > kPathBytes) return false;
    std::memcpy(out, settingsPath, folder);
    std::memcpy(out + folder, name, nameLength + 1);
    return true;
}

void putHeader() {
    uint8_t header[zvt::kHeaderBytes] = {};
    std::memcpy(header, zvt::kMagic, sizeof zvt::kMagic);
    const uint16_t version = zvt::kFormatVersion, size = zvt::kHeaderBytes;
    std::memcpy(header + 8, &version, 2);
    std::memcpy(header + 10, &size, 2);
    std::strncpy(reinterpret_cast<char*>(header + zvt::kVersionOffset), ZV_VERSION, zvt::kVersionBytes - 1);
    std::strncpy(reinterpret_cast<char*>(header + zvt::kBuildOffset), ZV_BUILD " " __DATE__, zvt::kBuildBytes - 1);
    Out out;
    out.bytes(header, sizeof header);
}

char tracePath[kPathBytes], previousPath[kPathBytes];  // far too large for the script's stack

}  // namespace

void recordStart(const char* settingsPath) {
    if (recording || !besideSettings(settingsPath, kTraceName, tracePath) ||
        !besideSettings(settingsPath, kPreviousName, previousPath) || !traceFileCreate(tracePath, previousPath))
        return;
    recording = true;
    putHeader();
    frameBegin = used;  // the header belongs to no frame
    writeCompleteFrames(true);  // the file's first write, which may be slow, happens in start-up
    traceFileWait();
    const uint32_t n = traceFileReadAll(settingsPath, settingsBytes, sizeof settingsBytes);
    Out out;
    out.u8(zvt::kSettings);
    if (n == kTraceNoFile) {
        out.u8(zvt::kSettingsMissing);
        out.varint(0);
    } else if (n > sizeof settingsBytes) {
        out.u8(zvt::kSettingsTooLarge);
        out.varint(0);
    } else {
        out.u8(zvt::kSettingsPresent);
        out.varint(n);
        out.bytes(settingsBytes, n);
    }
}

void recordFrameEnd() {
    if (!recording) return;
    const uint64_t began = traceClockMicros();
    if (frameTooLarge) return stop(zvt::kEndFrameTooLarge);
    if (!room()) return;
    const uint32_t sum = zvt::checksum(buffer + frameBegin, used - frameBegin);
    {
        Out out;
        out.u8(zvt::kFrameEnd);
        out.varint(frameNumber);
        out.u32(sum);
        out.varint(lastEndMicros);
    }
    // A frame that would pass the cap is dropped: the recording ends before it.
    if (fileBytes + used + kEndRecordBytes > kFileCapBytes) return stop(zvt::kEndSizeCap);
    ++frameNumber;
    ++framesWaiting;
    frameBegin = used;
    if (used >= kBlockBytes || framesWaiting >= kMaxFramesWaiting) writeCompleteFrames(false);
    lastEndMicros = static_cast<uint32_t>(traceClockMicros() - began);
}

void recordStop(bool processEnding) { stop(zvt::kEndUnload, processEnding); }

namespace {
// A record of one tag and one varint: the tick, a process id, a random draw.
uint32_t recordVarint(zvt::Tag tag, uint32_t value) {
    if (!room()) return value;
    Out out;
    out.u8(tag);
    out.varint(value);
    return value;
}
}  // namespace

uint32_t recordTick(uint32_t tick) { return recordVarint(zvt::kTick, tick); }

int64_t recordCounter(int64_t counter) {
    if (!room()) return counter;
    const uint64_t step = static_cast<uint64_t>(counter) - static_cast<uint64_t>(lastCounter);
    lastCounter = counter;
    Out out;
    out.u8(zvt::kCounter);
    out.varint64((step << 1) ^ (0 - (step >> 63)));
    return counter;
}

int64_t recordCounterFrequency(int64_t frequency) {
    if (!room()) return frequency;
    Out out;
    out.u8(zvt::kCounterFrequency);
    out.varint64(static_cast<uint64_t>(frequency));
    return frequency;
}

uint32_t recordForegroundProcess(uint32_t processId) { return recordVarint(zvt::kForeground, processId); }

uint32_t recordProcessId(uint32_t processId) { return recordVarint(zvt::kProcessId, processId); }

int16_t recordKeyState(int virtualKey, int16_t state) {
    if (!room()) return state;
    Out out;
    out.u8(zvt::kKeyState);
    out.u8(static_cast<uint32_t>(virtualKey));
    out.u16(static_cast<uint16_t>(state));
    return state;
}

void recordKeyEvent(uint8_t virtualKey, uint32_t flags) {
    if (!room()) return;
    Out out;
    out.u8(zvt::kKeyEvent);
    out.u8(virtualKey);
    out.varint(flags);
}

uint32_t recordPadState(uint32_t slot, uint32_t result, const void* state16) {
    if (!room()) return result;
    Out out;
    out.u8(zvt::kPad);
    out.u8(slot);
    out.varint(result);
    if (result == 0) out.bytes(state16, 16);
    return result;
}

int32_t recordRandom(int32_t value) {
    return static_cast<int32_t>(recordVarint(zvt::kRandom, static_cast<uint32_t>(value)));
}

uint8_t* recordNativeBegin(uint64_t hash, const TraceSignature& signature) {
    if (!room()) return nullptr;
    uint32_t id;
    {
        Out out;
        id = nativeId(out, hash, signature);
        if (id != zvt::kMaxNatives) out.u8(zvt::kNativeTag + id);
    }
    if (id == zvt::kMaxNatives) {
        stop(zvt::kEndTooManyNatives);
        return nullptr;
    }
    return buffer + used;
}

void recordNativeEnd(uint8_t* end) { used = static_cast<uint32_t>(end - buffer); }

void traceText(uint8_t*& at, const char* text) {
    uint32_t n = 0;
    while (text && n < zvt::kMaxText && text[n] != '\0') ++n;
    traceVarint(at, n);
    if (n > 0) std::memcpy(at, text, n);
    at += n;
}

// Reads a trace file written by the trace build's recorder (recorder/zvt_format.h)
// into memory. Every read is bounds checked: a damaged file gives a message
// naming the byte and the frame, never a crash. A file that ends inside a frame
// (the game crashed, the copy was cut short) reads up to its last complete frame.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zvt {

struct NativeDef {
    uint64_t hash = 0;
    std::string argKinds;          // one letter per argument (recorder/zvt_format.h)
    char resultKind = 'v';
    std::vector<uint8_t> outSizes;  // one per out-pointer argument, in order
};

enum class RecordKind : uint8_t {
    Tick, KeyState, KeyEvent, Pad, Random, Native, Counter, CounterFrequency, Foreground, ProcessId,
};

struct Record {
    RecordKind kind = RecordKind::Tick;
    uint32_t key = 0;    // virtual key, pad slot or native id
    uint32_t value = 0;  // tick, key state (16 bits), key-event flags, pad result, random draw or process id
    int64_t counter = 0; // the performance counter's value or frequency
    uint8_t pad[16] = {};
    std::vector<uint32_t> args;      // per argument: its value for i, h, b, f; 0 for s and p
    std::vector<std::string> texts;  // per text argument, in order
    uint32_t result[3] = {};
    std::string outBytes;            // every out-pointer's bytes, in argument order
};

struct Frame {
    uint32_t endMicros = 0;  // time the previous frame end spent in the recorder
    std::vector<Record> records;
};

struct Trace {
    uint16_t formatVersion = 0;
    std::string pluginVersion;
    std::string build;
    uint8_t settingsState = 0;
    std::string settings;             // the settings file's bytes as loaded
    std::vector<NativeDef> natives;   // by id
    std::vector<Frame> frames;        // the complete frames
    uint8_t endReason = 0;            // 0: the file has no end record
    uint64_t incompleteBytes = 0;     // bytes after the last complete frame
    uint64_t fileBytes = 0;
};

bool read(const std::string& bytes, Trace& out, std::string& error);
bool readFile(const std::string& path, Trace& out, std::string& error);
const char* endReasonText(uint8_t reason);

}  // namespace zvt

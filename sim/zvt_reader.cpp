#include "sim/zvt_reader.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "recorder/zvt_format.h"

namespace zvt {
namespace {

struct Cursor {
    const std::string& bytes;
    size_t at = 0;

    bool has(size_t n) const { return bytes.size() - at >= n; }
    bool u8(uint32_t& v) {
        if (!has(1)) return false;
        v = static_cast<uint8_t>(bytes[at++]);
        return true;
    }
    bool u32(uint32_t& v) {
        if (!has(4)) return false;
        std::memcpy(&v, bytes.data() + at, 4);
        at += 4;
        return true;
    }
    bool raw(void* out, size_t n) {
        if (!has(n)) return false;
        std::memcpy(out, bytes.data() + at, n);
        at += n;
        return true;
    }
    bool text(std::string& out, size_t n) {
        if (!has(n)) return false;
        out.assign(bytes, at, n);
        at += n;
        return true;
    }
    // LEB128 of at most maxBytes bytes.
    bool leb128(uint64_t& v, int maxBytes) {
        v = 0;
        for (int k = 0; k < maxBytes; ++k) {
            uint32_t b;
            if (!u8(b)) return false;
            v |= static_cast<uint64_t>(b & 0x7F) << (7 * k);
            if (!(b & 0x80)) return true;
        }
        return false;
    }
    bool varint(uint32_t& v) {  // 32 bits: five bytes at most
        uint64_t wide = 0;
        const bool ok = leb128(wide, 5);
        v = static_cast<uint32_t>(wide);
        return ok;
    }
    bool varint64(uint64_t& v) { return leb128(v, 10); }
};

// How parsing a frame ended.
enum class Outcome { Frame, End, OutOfBytes, Damaged };

struct Parser {
    Cursor c;
    Trace& trace;
    std::string problem;  // for Damaged
    size_t frameStart = 0;
    uint64_t lastCounter = 0;  // the counter records are steps from the one before

    Outcome damaged(const std::string& what) {
        problem = what;
        return Outcome::Damaged;
    }

    // An out-of-bytes inside a record reads as a frame cut short.
    Outcome native(uint32_t id, Frame& frame) {
        if (id >= trace.natives.size()) return damaged("native id " + std::to_string(id) + " used before it was defined");
        const NativeDef& def = trace.natives[id];
        Record r;
        r.kind = RecordKind::Native;
        r.key = id;
        for (char kind : def.argKinds) {
            uint32_t v = 0;
            bool ok = true;
            switch (kind) {
                case 'i': ok = c.varint(v); v = (v >> 1) ^ (0u - (v & 1)); break;
                case 'b': ok = c.u8(v); break;
                case 's': {
                    uint32_t n = 0;
                    std::string text;
                    ok = c.varint(n);
                    if (ok && n > kMaxText) return damaged("a text argument of " + std::to_string(n) + " bytes");
                    ok = ok && c.text(text, n);
                    r.texts.push_back(text);
                    break;
                }
                case 'p': break;
                default: ok = c.u32(v); break;
            }
            if (!ok) return Outcome::OutOfBytes;
            r.args.push_back(v);
        }
        bool ok = true;
        switch (def.resultKind) {
            case 'v': break;
            case 'i': ok = c.varint(r.result[0]); r.result[0] = (r.result[0] >> 1) ^ (0u - (r.result[0] & 1)); break;
            case 'b': ok = c.u8(r.result[0]); break;
            case '3': ok = c.u32(r.result[0]) && c.u32(r.result[1]) && c.u32(r.result[2]); break;
            default: ok = c.u32(r.result[0]); break;
        }
        size_t outBytes = 0;
        for (uint8_t size : def.outSizes) outBytes += size;
        if (!ok || !c.text(r.outBytes, outBytes)) return Outcome::OutOfBytes;
        frame.records.push_back(std::move(r));
        return Outcome::Frame;
    }

    Outcome define() {
        uint32_t id, argc, resultKind;
        NativeDef def;
        if (!c.u8(id) || !c.raw(&def.hash, 8) || !c.u8(argc)) return Outcome::OutOfBytes;
        if (id != trace.natives.size())
            return damaged("native id " + std::to_string(id) + " defined where " + std::to_string(trace.natives.size()) +
                           " comes next");
        if (argc > kMaxArgs) return damaged("a native with " + std::to_string(argc) + " arguments");
        if (!c.text(def.argKinds, argc) || !c.u8(resultKind)) return Outcome::OutOfBytes;
        if (def.argKinds.find_first_not_of("ihbfsp") != std::string::npos)
            return damaged("an unknown argument kind in '" + def.argKinds + "'");
        if (std::strchr("vihbf3", static_cast<int>(resultKind)) == nullptr || resultKind == 0)
            return damaged("an unknown result kind");
        def.resultKind = static_cast<char>(resultKind);
        for (char kind : def.argKinds) {
            if (kind != 'p') continue;
            uint32_t size;
            if (!c.u8(size)) return Outcome::OutOfBytes;
            if (size == 0 || size > kMaxOutBytes) return damaged("an out-pointer of " + std::to_string(size) + " bytes");
            def.outSizes.push_back(static_cast<uint8_t>(size));
        }
        trace.natives.push_back(std::move(def));
        return Outcome::Frame;
    }

    Outcome settings(bool first) {
        uint32_t state, n;
        if (!first) return damaged("a settings record after the first record");
        if (!c.u8(state) || !c.varint(n)) return Outcome::OutOfBytes;
        if (state > kSettingsTooLarge || n > kMaxSettingsBytes || (state != kSettingsPresent && n != 0))
            return damaged("a bad settings record");
        trace.settingsState = static_cast<uint8_t>(state);
        if (!c.text(trace.settings, n)) return Outcome::OutOfBytes;
        return Outcome::Frame;
    }

    // One frame, up to and including its frame end record.
    Outcome frame(Frame& frame) {
        frameStart = c.at;
        for (;;) {
            const size_t recordStart = c.at;
            uint32_t tag;
            if (!c.u8(tag)) return Outcome::OutOfBytes;
            Outcome o = Outcome::Frame;
            if (tag >= kNativeTag) {
                o = native(tag - kNativeTag, frame);
            } else if (tag == kFrameEnd) {
                uint32_t number, sum, micros;
                if (!c.varint(number) || !c.u32(sum) || !c.varint(micros)) return Outcome::OutOfBytes;
                if (number != trace.frames.size())
                    return damaged("frame end numbered " + std::to_string(number) + " where " +
                                   std::to_string(trace.frames.size()) + " comes next");
                const uint8_t* start = reinterpret_cast<const uint8_t*>(c.bytes.data()) + frameStart;
                if (checksum(start, static_cast<uint32_t>(recordStart - frameStart)) != sum)
                    return damaged("the frame's checksum does not match its bytes");
                frame.endMicros = micros;
                return Outcome::Frame;
            } else if (tag == kEnd) {
                uint32_t reason;
                if (recordStart != frameStart) return damaged("an end record inside a frame");
                if (!c.u8(reason)) return Outcome::OutOfBytes;
                if (reason < kEndUnload || reason > kEndFrameTooLarge) return damaged("an unknown end reason");
                trace.endReason = static_cast<uint8_t>(reason);
                return Outcome::End;
            } else {
                Record r;
                uint32_t a = 0, b = 0;
                bool ok = true;
                switch (tag) {
                    case kTick: r.kind = RecordKind::Tick; ok = c.varint(r.value); break;
                    case kKeyState:
                        r.kind = RecordKind::KeyState;
                        ok = c.u8(r.key) && c.u8(a) && c.u8(b);
                        r.value = a | (b << 8);
                        break;
                    case kKeyEvent: r.kind = RecordKind::KeyEvent; ok = c.u8(r.key) && c.varint(r.value); break;
                    case kPad:
                        r.kind = RecordKind::Pad;
                        ok = c.u8(r.key) && c.varint(r.value) && (r.value != 0 || c.raw(r.pad, sizeof r.pad));
                        break;
                    case kRandom: r.kind = RecordKind::Random; ok = c.varint(r.value); break;
                    case kCounter: {
                        uint64_t zigzag = 0;
                        r.kind = RecordKind::Counter;
                        ok = c.varint64(zigzag);
                        lastCounter += (zigzag >> 1) ^ (0 - (zigzag & 1));
                        r.counter = static_cast<int64_t>(lastCounter);
                        break;
                    }
                    case kCounterFrequency: {
                        uint64_t frequency = 0;
                        r.kind = RecordKind::CounterFrequency;
                        ok = c.varint64(frequency);
                        r.counter = static_cast<int64_t>(frequency);
                        break;
                    }
                    case kForeground: r.kind = RecordKind::Foreground; ok = c.varint(r.value); break;
                    case kProcessId: r.kind = RecordKind::ProcessId; ok = c.varint(r.value); break;
                    case kDefine: o = define(); break;
                    case kSettings: o = settings(trace.frames.empty() && recordStart == frameStart); break;
                    default: return damaged("an unknown record tag " + std::to_string(tag));
                }
                if (!ok) return Outcome::OutOfBytes;
                if (o == Outcome::Frame && tag != kDefine && tag != kSettings)
                    frame.records.push_back(std::move(r));
            }
            if (o != Outcome::Frame) return o;
        }
    }
};

bool allZero(const std::string& bytes, size_t from) {
    return bytes.find_first_not_of('\0', from) == std::string::npos;
}

}  // namespace

const char* endReasonText(uint8_t reason) {
    switch (reason) {
        case kEndUnload: return "the plug-in was unloaded";
        case kEndSizeCap: return "the file reached its size cap";
        case kEndTooManyNatives: return "more natives than the format numbers";
        case kEndFrameTooLarge: return "a frame larger than the recorder's buffer";
        default: return "the recording was cut off (no end record)";
    }
}

bool read(const std::string& bytes, Trace& out, std::string& error) {
    out = Trace{};
    out.fileBytes = bytes.size();
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        error = "not a Zentravisor trace (no ZVTRACE header)";
        return false;
    }
    uint16_t headerBytes;
    std::memcpy(&out.formatVersion, bytes.data() + 8, 2);
    std::memcpy(&headerBytes, bytes.data() + 10, 2);
    if (out.formatVersion < kFormatVersion) {
        error = "format version " + std::to_string(out.formatVersion) + ", from an earlier Zentravisor-trace.asi "
                "that read its clock and keys differently, so this plug-in cannot replay it call for call; this "
                "replay reads version " + std::to_string(kFormatVersion) + ": record the session again with the "
                "trace build of this version";
        return false;
    }
    if (out.formatVersion > kFormatVersion) {
        error = "format version " + std::to_string(out.formatVersion) + "; this replay reads version " +
                std::to_string(kFormatVersion) + ": replay it with a newer Zentravisor";
        return false;
    }
    if (headerBytes != kHeaderBytes) {
        error = "a header of " + std::to_string(headerBytes) + " bytes";
        return false;
    }
    out.pluginVersion = std::string(bytes.data() + kVersionOffset, kVersionBytes).c_str();
    out.build = std::string(bytes.data() + kBuildOffset, kBuildBytes).c_str();

    Parser p{Cursor{bytes, kHeaderBytes}, out, "", 0};
    for (;;) {
        Frame frame;
        const size_t definedBefore = out.natives.size();
        const Outcome o = p.frame(frame);
        if (o == Outcome::Frame) {
            out.frames.push_back(std::move(frame));
            continue;
        }
        if (o == Outcome::End) {
            if (p.c.at != bytes.size()) {
                error = "bytes after the end record, at byte " + std::to_string(p.c.at);
                return false;
            }
            return true;
        }
        // A cut-off file, or a torn last write that left zeros from the point
        // where reading failed to the end, ends the trace at its last complete
        // frame. Anything else is damage.
        if (o == Outcome::OutOfBytes || allZero(bytes, p.c.at - 1)) {
            out.natives.resize(definedBefore);
            out.incompleteBytes = bytes.size() - p.frameStart;
            return true;
        }
        error = "damaged at byte " + std::to_string(p.c.at) + " in frame " + std::to_string(out.frames.size()) + ": " +
                p.problem;
        return false;
    }
}

bool readFile(const std::string& path, Trace& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::stringstream bytes;
    bytes << in.rdbuf();
    return read(bytes.str(), out, error);
}

}  // namespace zvt

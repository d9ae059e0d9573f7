#include "sim/profile_ini.h"

#include <cstring>

namespace profile {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

// One line: its text [start, end) and where the next line begins (after CR LF, LF or CR).
struct Line {
    size_t start, end, next;
};

Line lineAt(std::string_view file, size_t start) {
    size_t end = start;
    while (end < file.size() && file[end] != '\r' && file[end] != '\n') ++end;
    size_t next = end;
    if (next < file.size()) next += (file[next] == '\r' && next + 1 < file.size() && file[next + 1] == '\n') ? 2 : 1;
    return {start, end, next};
}

enum class LineKind : uint8_t { Other, Header, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section name or key
    std::string_view value;  // entries only: trimmed and unquoted
    size_t equals = 0;       // entries only: offset of '=' within the line text
};

ParsedLine parseLine(std::string_view text) {
    ParsedLine parsed;
    std::string_view body = trim(text);
    if (!body.empty() && body.front() == '[') {
        size_t close = body.rfind(']');
        if (close == std::string_view::npos) return parsed;
        parsed.kind = LineKind::Header;
        parsed.name = trim(body.substr(1, close - 1));
        return parsed;
    }
    size_t equals = text.find('=');
    if (equals == std::string_view::npos) return parsed;
    parsed.kind = LineKind::Entry;
    parsed.name = trim(text.substr(0, equals));
    parsed.value = trim(text.substr(equals + 1));
    if (parsed.value.size() >= 2 && (parsed.value.front() == '"' || parsed.value.front() == '\'') &&
        parsed.value.back() == parsed.value.front())
        parsed.value = parsed.value.substr(1, parsed.value.size() - 2);
    parsed.equals = equals;
    return parsed;
}

// Where a key stands in the first section of the name, or where it would go.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine{};
    size_t keyEquals = 0;        // absolute offset of the key's '='
    std::string_view value;
    Line lastFilledLine{};       // last non-blank line of the section (the header at least)
};

Location locate(std::string_view file, std::string_view section, std::string_view key) {
    Location at;
    bool inSection = false;
    for (size_t pos = 0; pos < file.size();) {
        const Line line = lineAt(file, pos);
        pos = line.next;
        std::string_view text = file.substr(line.start, line.end - line.start);
        if (line.start == 0 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            text.remove_prefix(kByteOrderMark.size());
        const ParsedLine parsed = parseLine(text);
        if (parsed.kind == LineKind::Header) {
            if (inSection) break;  // the first section of the name has ended
            if (sameName(parsed.name, section)) {
                inSection = at.sectionFound = true;
                at.lastFilledLine = line;
            }
            continue;
        }
        if (!inSection) continue;
        if (!trim(text).empty()) at.lastFilledLine = line;
        if (parsed.kind == LineKind::Entry && sameName(parsed.name, key)) {
            at.keyFound = true;
            at.keyLine = line;
            at.keyEquals = line.end - text.size() + parsed.equals;
            at.value = parsed.value;
            break;
        }
    }
    return at;
}

}  // namespace

bool findValue(std::string_view file, std::string_view section, std::string_view key, std::string_view* value) {
    const Location at = locate(file, section, key);
    if (at.keyFound) *value = at.value;
    return at.keyFound;
}

uint32_t readString(const std::string* file, std::string_view section, std::string_view key,
                    const char* defaultText, char* buffer, uint32_t size) {
    if (size == 0) return 0;
    std::string_view text;
    if (file && findValue(*file, section, key, &text)) {
        text = text.substr(0, text.find('\0'));  // the value is a C string: a NUL ends it
    } else {
        text = defaultText ? std::string_view(defaultText) : std::string_view();
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    }
    const size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

std::string writeString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value) {
    const Location at = locate(file, section, key);
    std::string out;
    out.reserve(file.size() + section.size() + key.size() + value.size() + 8);
    if (at.keyFound) {
        out.append(file.substr(0, at.keyEquals + 1));
        out.append(value);
        out.append(file.substr(at.keyLine.end));
        return out;
    }
    if (at.sectionFound) {
        const Line last = at.lastFilledLine;
        out.append(file.substr(0, last.next));
        if (last.next == last.end) out.append(kLineEnd);  // the section's last line had no end
        out.append(key).append("=").append(value).append(kLineEnd);
        out.append(file.substr(last.next));
        return out;
    }
    out.append(file);
    if (!file.empty() && file.back() != '\n' && file.back() != '\r') out.append(kLineEnd);
    out.append("[").append(section).append("]").append(kLineEnd);
    out.append(key).append("=").append(value).append(kLineEnd);
    return out;
}

}  // namespace profile

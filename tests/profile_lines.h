// Line-level checks on profile files shared by the file tests.
#pragma once
#include <string>
#include <vector>

namespace profile_lines {

// Lines with their ends (CR LF, LF or a lone CR).
inline std::vector<std::string> split(const std::string& bytes) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        else end += (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        out.push_back(bytes.substr(start, end - start));
        start = end;
    }
    return out;
}

// Every line of before is still in after, in order and byte for byte, except
// that a key line may carry a new value after its first '=' and a last line
// without an end may have gained one. Lines may have been added. Returns the
// first lost line, or "" when none is lost.
inline std::string firstLostLine(const std::string& before, const std::string& after) {
    const std::vector<std::string> old = split(before), now = split(after);
    size_t j = 0;
    for (const std::string& line : old) {
        const size_t equals = line.find('=');
        const bool unended = line.empty() || (line.back() != '\n' && line.back() != '\r');
        auto kept = [&](const std::string& candidate) {
            if (candidate == line) return true;
            if (equals != std::string::npos && candidate.compare(0, equals + 1, line, 0, equals + 1) == 0) return true;
            return unended && candidate.compare(0, line.size(), line) == 0;
        };
        while (j < now.size() && !kept(now[j])) ++j;
        if (j == now.size()) return line.empty() ? std::string("(empty)") : line;
        ++j;
    }
    return {};
}

}  // namespace profile_lines

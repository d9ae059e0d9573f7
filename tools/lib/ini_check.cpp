#include "tools/ini_check.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace inicheck {

namespace {

constexpr int kBindingVersion = 5;       // the binding scheme the plug-in expects in BindVer
constexpr size_t kFloatChars = 31;       // the load's read buffers, less the NUL
constexpr size_t kFlagChars = 3;
constexpr size_t kIntChars = 15;

// One key=value line of the file, as the profile functions see it.
struct Entry {
    int line;
    std::string section;
    std::string key;
    std::string value;
    bool firstCamera;  // in the first [Camera] section, the only one the load reads
};

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool sameName(const std::string& a, const std::string& b) { return lower(a) == lower(b); }

std::vector<Entry> readEntries(const std::string& text) {
    std::vector<Entry> out;
    std::string section;
    bool inSection = false;
    int cameraSections = 0;
    int number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
        ++number;
        std::string t = trim(line);
        if (number == 1 && t.compare(0, 3, "\xEF\xBB\xBF") == 0) t = trim(t.substr(3));
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            size_t close = t.find_last_of(']');
            section = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = true;
            if (sameName(section, "Camera")) ++cameraSections;
            continue;
        }
        size_t eq = t.find('=');
        if (eq == std::string::npos) continue;
        std::string value = trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        std::string sec = inSection ? section : "";
        out.push_back({number, sec, trim(t.substr(0, eq)), value, sameName(sec, "Camera") && cameraSections == 1});
    }
    return out;
}

size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t up = row[j];
            bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) == std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

// The file keys the plug-in reads or keeps: the 72 settings, BindVer, and the
// template's MenuKey line that nothing reads.
std::vector<std::string> knownKeys() {
    std::vector<std::string> keys;
    for (const Setting& s : kSettings) keys.push_back(s.key);
    keys.push_back("BindVer");
    keys.push_back("MenuKey");
    return keys;
}

// The known key nearest in edits; a key written with its parts the other way
// round ("FOV_Veh" for Veh_FOV) counts as near.
std::string closestKey(const std::string& key) {
    std::string best;
    size_t bestDistance = SIZE_MAX;
    for (const std::string& k : knownKeys()) {
        size_t d = editDistance(key, k);
        size_t underscore = k.find('_');
        if (underscore != std::string::npos)
            d = std::min(d, editDistance(key, k.substr(underscore + 1) + "_" + k.substr(0, underscore)));
        if (d < bestDistance) bestDistance = d, best = k;
    }
    return best;
}

// The length of the number at the start of the text as the load's conversion
// reads it: blanks, a sign, then decimal digits with an optional fraction and
// exponent, or the word inf or infinity in any case. 0 when there is none, so
// the text reads 0 (that includes nan and hexadecimal beyond its "0").
size_t numberLength(const std::string& text, bool* infinityWord = nullptr) {
    auto digit = [&](size_t k) { return k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])); };
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) return 0;
    if (text[i] == '+' || text[i] == '-') ++i;
    if (infinityWord) *infinityWord = false;
    for (const char* word : {"infinity", "inf"}) {
        if (lower(text.substr(i, std::strlen(word))) != word) continue;
        if (infinityWord) *infinityWord = true;
        return i + std::strlen(word);
    }
    bool anyDigit = false;
    for (; digit(i); ++i) anyDigit = true;
    if (i < text.size() && text[i] == '.')
        for (++i; digit(i); ++i) anyDigit = true;
    if (!anyDigit) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (digit(j)) {
            i = j;
            while (digit(i)) ++i;
        }
    }
    return i;
}

// Strict reading: the whole text is one decimal number (not inf or nan). A
// number too large for a double reads as an infinity here.
bool wholeNumber(const std::string& text, double& out) {
    bool infinityWord = false;
    if (text.empty() || numberLength(text, &infinityWord) != text.size() || infinityWord) return false;
    out = std::strtod(text.c_str(), nullptr);
    return true;
}

// The value of a float text that is one number, infinities included.
double floatValue(const std::string& text) {
    bool infinityWord = false;
    numberLength(text, &infinityWord);
    if (!infinityWord) return std::strtod(text.c_str(), nullptr);
    return text.find('-') != std::string::npos ? -HUGE_VAL : HUGE_VAL;
}

std::string fmt(const char* format, double v) {
    char b[64];
    std::snprintf(b, sizeof b, format, v);
    return b;
}

}  // namespace

std::string loadedText(const Setting& s) {
    switch (s.kind) {
        case SettingKind::Float: return fmt("%.4f", *s.floatField);
        case SettingKind::Flag: return *s.flagField ? "1 (on)" : "0 (off)";
        case SettingKind::Int: return std::to_string(*s.intField);
    }
    return "";
}


namespace {

std::string where(const Entry& e) { return "line " + std::to_string(e.line) + ": "; }

// What a player wrote for one setting against what the load made of it.
void checkValue(const Setting& s, const Entry& e, Result& r) {
    const std::string written = e.key + "=" + e.value;
    const std::string loaded = loadedText(s);
    double number = 0.0;
    bool isNumber = wholeNumber(e.value, number);
    switch (s.kind) {
        case SettingKind::Float: {
            const std::string range = fmt("%g", s.minimum) + " .. " + fmt("%g", s.maximum);
            const size_t length = numberLength(e.value);
            const double value = length == e.value.size() ? floatValue(e.value) : 0.0;
            if (e.value.size() > kFloatChars) {
                r.warnings.push_back(where(e) + e.key + " is longer than " + std::to_string(kFloatChars) +
                                     " characters and is cut before it is read: loads as " + loaded);
            } else if (length == 0) {
                r.warnings.push_back(where(e) + written + " is not a number: it reads as 0, so it loads as " + loaded);
            } else if (length < e.value.size()) {
                r.warnings.push_back(where(e) + written + " has text after the number, which is ignored: loads as " +
                                     loaded);
            } else if (!(std::fabs(value) <= FLT_MAX)) {
                // 1e999 and inf: beyond any float, read as the largest one, then clamped.
                r.warnings.push_back(where(e) + written + " is out of range: loads as " + loaded +
                                     ", the end of its range " + range);
            } else if (value < s.minimum || value > s.maximum) {
                r.warnings.push_back(where(e) + written + " is outside " + range + ": clamped, loads as " + loaded);
            }
            break;
        }
        case SettingKind::Flag: {
            bool integer = isNumber && number == std::floor(number) && e.value.find_first_of(".eE") == std::string::npos;
            if (!isNumber) {
                r.warnings.push_back(where(e) + written + " is not a number: the flag reads as " + loaded +
                                     "; write 1 for on or 0 for off");
            } else if (e.value.size() > kFlagChars) {
                r.warnings.push_back(where(e) + written + " is cut to its first " + std::to_string(kFlagChars) +
                                     " characters before it is read: loads as " + loaded);
            } else if (!integer) {
                r.warnings.push_back(where(e) + written + " is not a whole number: only the digits before the " +
                                     "point count, so it loads as " + loaded);
            }
            break;
        }
        case SettingKind::Int: {
            bool integer = isNumber && number == std::floor(number) && e.value.find_first_of(".eE") == std::string::npos;
            if (!isNumber || !integer) {
                r.warnings.push_back(where(e) + written + " is not a whole number: loads as " + loaded);
            } else if (e.value.size() > kIntChars) {
                r.warnings.push_back(where(e) + written + " is cut to " + std::to_string(kIntChars) +
                                     " characters before it is read: loads as " + loaded);
            } else if (s.intField == &MenuKeyVK && (number == 13 || number < 1)) {
                r.warnings.push_back(where(e) + written + " cannot open the menu (ENTER and codes below 1 are " +
                                     "refused): the menu key is F6 (117)");
            }
            break;
        }
    }
}

// The binding migration: a file from before the current binding scheme gets its
// menu key and controller button reset at the next start.
void checkBindings(const std::vector<const Entry*>& found, const Entry* bindVer, Result& r) {
    // Read as the load reads an int: the leading whole number, 0 when there is none.
    long version = bindVer ? std::strtol(bindVer->value.substr(0, kIntChars).c_str(), nullptr, 10) : 0;
    if (version >= kBindingVersion) return;
    std::string reset;
    for (int k = 0; k < kSettingCount; ++k) {
        const Setting& s = kSettings[k];
        if (s.kind != SettingKind::Int || !found[k]) continue;
        double wrote = 0.0;
        if (wholeNumber(found[k]->value, wrote) && wrote != *s.intField)
            reset += std::string(reset.empty() ? "" : ", ") + s.key + " " + found[k]->value + " -> " +
                     std::to_string(*s.intField);
    }
    std::string why = bindVer ? where(*bindVer) + "BindVer=" + bindVer->value + " is older than the current bindings (" +
                                    std::to_string(kBindingVersion) + ")"
                              : std::string("there is no BindVer line");
    if (!reset.empty())
        r.warnings.push_back(why + ": the plug-in resets the bindings at its next start: " + reset +
                             ". Add BindVer=" + std::to_string(kBindingVersion) + " to keep yours.");
    else
        r.notes.push_back(why + ": at its next start the plug-in writes BindVer=5, MenuKeyVK=117 and PadOpenBtn=0.");
}

}  // namespace

bool check(const std::string& text, bool (*load)(const std::string& text), Result& r) {
    if (!load(text)) return false;
    std::vector<Entry> entries = readEntries(text);
    std::vector<const Entry*> found(kSettingCount, nullptr);
    const Entry* bindVer = nullptr;
    std::vector<const Entry*> seen;
    for (const Entry& e : entries) {
        if (!e.firstCamera) {
            if (editDistance(e.key, closestKey(e.key)) == 0)
                r.warnings.push_back(where(e) + e.key + " is outside the first [Camera] section and is not read");
            continue;
        }
        const Entry* first = nullptr;
        for (const Entry* s : seen)
            if (sameName(s->key, e.key)) first = s;
        if (first) {
            r.warnings.push_back(where(e) + e.key + " appears again (first on line " + std::to_string(first->line) +
                                 "); only the first is read");
            continue;
        }
        seen.push_back(&e);
        int index = -1;
        for (int k = 0; k < kSettingCount; ++k)
            if (sameName(e.key, kSettings[k].key)) index = k;
        if (index >= 0) {
            found[index] = &e;
        } else if (sameName(e.key, "BindVer")) {
            bindVer = &e;
        } else if (!sameName(e.key, "MenuKey")) {
            r.warnings.push_back(where(e) + "unknown key '" + e.key + "': the plug-in ignores it. Did you mean " +
                                 closestKey(e.key) + "?");
        }
    }
    for (int k = 0; k < kSettingCount; ++k) {
        const Setting& s = kSettings[k];
        char line[160];
        std::snprintf(line, sizeof line, "%-24s %-12s %s", s.key, loadedText(s).c_str(),
                      found[k] ? ("line " + std::to_string(found[k]->line)).c_str() : "not in the file: default");
        r.values.push_back(line);
        if (found[k]) checkValue(s, *found[k], r);
    }
    checkBindings(found, bindVer, r);
    // In file order; warnings about the file as a whole last.
    auto lineOf = [](const std::string& w) { return w.rfind("line ", 0) == 0 ? std::atoi(w.c_str() + 5) : INT32_MAX; };
    std::stable_sort(r.warnings.begin(), r.warnings.end(),
                     [&](const std::string& a, const std::string& b) { return lineOf(a) < lineOf(b); });
    return true;
}

int print(const std::string& path, const Result& r, FILE* out) {
    std::fprintf(out, "%s: the values Zentravisor will load\n\n", path.c_str());
    for (const std::string& v : r.values) std::fprintf(out, "  %s\n", v.c_str());
    std::fprintf(out, "\n");
    for (const std::string& n : r.notes) std::fprintf(out, "note: %s\n", n.c_str());
    for (const std::string& w : r.warnings) std::fprintf(out, "warning: %s\n", w.c_str());
    if (r.warnings.empty()) std::fprintf(out, "No problems found.\n");
    else std::fprintf(out, "%zu warning%s.\n", r.warnings.size(), r.warnings.size() == 1 ? "" : "s");
    return r.warnings.empty() ? 0 : 1;
}

}  // namespace inicheck

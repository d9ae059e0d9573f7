// Settings-file sequences run twice: on Windows (Wine's kernel32) by the probe
// settings_probe.exe, and on Linux through the simulator's profile reader and
// writer by settings_windows_diff_test.cpp. Both sides produce, per case, the
// same four artefacts, which the Linux side compares:
//   raw.txt      GetPrivateProfileStringA of every key on the untouched file
//   values.txt   every setting after the start-up (template, load, migration)
//   startup.ini  the file after the start-up      (absent when unreadable)
//   save.ini     the file after one saveSettings  (absent when unreadable)
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "runtime/platform.h"
#include "settings/settings.h"

namespace settings_cases {

// Where Wine's kernel32 does not do what the settings file needs. Reads and
// loaded values agree in every case; only the bytes of the written file differ.
enum class WineDiffers : uint8_t {
    No,
    // Each write rewrites the whole file from its parsed form: blanks around
    // keys, values and section names trimmed, blank lines dropped, LF and lone
    // CR turned into CR LF, bytes after a NUL in a line lost. The project keeps
    // every line that no write touches byte for byte.
    RewritesUntouchedLines,
    // A line without '=' reads as absent, yet a write of that key overwrites
    // the line. The project reads and writes alike: the key is absent, so the
    // write appends it and the line stays.
    WritesOverLineWithoutEquals,
};

struct Case {
    const char* name;
    WineDiffers wine;
    bool resetAllBeforeSave;   // the menu's "Reset All" between start-up and save
    bool directoryAtPath;      // a folder named Zentravisor.ini instead of a file
};

// Every case starts from the file that initialFile() gives for its name.
inline constexpr Case kCases[] = {
    {"first_startup", WineDiffers::No, false, false},
    {"save_after_reset_all", WineDiffers::No, true, false},
    {"migrating_startup", WineDiffers::No, false, false},
    {"current_bindings", WineDiffers::No, false, false},
    {"menu_key_cases", WineDiffers::No, false, false},
    {"conversions", WineDiffers::No, false, false},
    {"number_edges", WineDiffers::No, false, false},
    {"blanks_quotes_and_case", WineDiffers::RewritesUntouchedLines, false, false},
    {"duplicate_keys_and_sections", WineDiffers::No, false, false},
    {"utf8_bom_before_section", WineDiffers::No, false, false},
    {"lf_line_ends", WineDiffers::RewritesUntouchedLines, false, false},
    {"cr_line_ends", WineDiffers::RewritesUntouchedLines, false, false},
    {"no_camera_section", WineDiffers::No, false, false},
    {"empty_file", WineDiffers::No, false, false},
    {"unterminated_last_line", WineDiffers::No, false, false},
    {"blank_lines_and_next_section", WineDiffers::RewritesUntouchedLines, false, false},
    {"lines_without_equals", WineDiffers::WritesOverLineWithoutEquals, false, false},
    {"nul_bytes", WineDiffers::RewritesUntouchedLines, false, false},
    {"megabyte_line", WineDiffers::No, false, false},
    {"binary_garbage", WineDiffers::RewritesUntouchedLines, false, false},
    {"values_filling_read_buffers", WineDiffers::No, false, false},
    {"directory_at_settings_path", WineDiffers::No, false, true},
};

// Keys read raw from the untouched file: every setting, the file-only keys and
// two spellings that only match without regard to case.
inline std::string rawKeys() {
    std::string keys;
    for (const Setting& s : kSettings) keys.append(s.key).push_back('\n');
    keys.append("BindVer\nMenuKey\nfov\nHEADBOB\n");
    return keys;
}

inline std::string lines(std::initializer_list<std::string_view> parts, std::string_view end = "\r\n") {
    std::string text;
    for (std::string_view p : parts) text.append(p).append(end);
    return text;
}

// A template-like file that predates the current bindings or not.
inline std::string fileWithBindings(std::string_view bindVer) {
    return lines({"; Zentravisor v2", "[Camera]", "FOV=75.5", "HeadBob=1", "MenuKey=1", "MenuKeyVK=70",
                  "PadOpenBtn=199"}) +
           std::string(bindVer);
}

inline std::string templateLike(std::string_view end) {
    return lines({"; Zentravisor v2", "[Camera]", "FOV=100.0", "Height=0.20", "HeadBob=1", "MenuKey=1",
                  "MC_YawLimit=45.0"},
                 end);
}

// Deterministic bytes of every value 0..255.
inline std::string garbage(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 0x2545F491u;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

// The file a case starts from; *exists is false when there is none.
inline std::string initialFile(std::string_view name, bool* exists) {
    *exists = true;
    if (name == "first_startup" || name == "save_after_reset_all" || name == "directory_at_settings_path") {
        *exists = false;
        return {};
    }
    if (name == "migrating_startup") return fileWithBindings("BindVer=4\r\n");
    if (name == "current_bindings") return fileWithBindings("BindVer=5\r\n");
    if (name == "menu_key_cases")
        return lines({"[Camera]", "BindVer=5", "MenuKeyVK=12345678", "PadOpenBtn=-7"});
    if (name == "conversions")
        return lines({"[Camera]", "HeadBob=true", "WeaponLead=2", "AimSway=-1", "RecoilShake= 1",
                      "CrouchLower=0.9", "FOV=", "Veh_FOV=1e2", "MC_FOV=95abc", "ADSZoomAmount=abc",
                      "BindVer=5", "MenuKeyVK=13"});
    if (name == "number_edges")
        return lines({"[Camera]", "FOV=nan", "Veh_FOV=inf", "MC_FOV=0x1A", "Veh_YawLimit=1e999",
                      "MC_YawLimit=-1e999", "Height=0.1", "Side=-.5", "Forward=+.25e+0", "HeadBobSpeed=2.",
                      "AimSwayAmount=1e", "HeadBobAmount=-Infinity", "Veh_Side=INF", "MC_Side=infinite",
                      "HeadBob=inf", "RecoilAmount=3.999999999999999999999", "Hand3DAmount=1.30000001",
                      "DeadzoneAngle=000000000000000000000000007.5", "FollowAmount=0.00000000000000000000000001",
                      "BindVer=5", "MenuKeyVK=99999999999", "PadOpenBtn=-99999999999"});
    if (name == "blanks_quotes_and_case")
        return lines({" [ camera ] ", "  fov  =  100  ", "\tHEIGHT\t=\t0.3\t", "Side=\"0.25\"", "Forward='0.5'",
                      "AimSway=\"1", "BindVer = 5 ", "menukeyvk=70"});
    if (name == "duplicate_keys_and_sections")
        return lines({"[Camera]", "FOV=100", "FOV=50", "BindVer=5", "[Other]", "Height=0.5", "[Camera]",
                      "Side=0.5", "FOV=40"});
    if (name == "utf8_bom_before_section") return "\xEF\xBB\xBF" + lines({"[Camera]", "FOV=100", "BindVer=5"});
    if (name == "lf_line_ends") return templateLike("\n");
    if (name == "cr_line_ends") return templateLike("\r");
    if (name == "no_camera_section") return lines({"; other tool", "[Other]", "FOV=100", "BindVer=5"});
    if (name == "empty_file") return {};
    if (name == "unterminated_last_line") return "[Camera]\r\nFOV=100";
    if (name == "blank_lines_and_next_section")
        return lines({"; Zentravisor v2", "", "[Camera]", "FOV=100", "", "", "[Other]", "Key=1", ""});
    if (name == "lines_without_equals")
        return lines({"[Camera]", "FOV", "Height 0.3", "HeadBob", "BindVer=5"});
    if (name == "nul_bytes") {
        static constexpr char kWithNuls[] = "[Camera]\r\nFOV=1\0" "00\r\nHe\0ight=0.3\r\nSide=0.2\r\n\0\r\nBindVer=5\r\n";
        return std::string(kWithNuls, sizeof kWithNuls - 1);
    }
    if (name == "megabyte_line")
        return lines({"[Camera]", "FOV=100", std::string(1u << 20, 'x'), "Height=0.3",
                      "Side=" + std::string(1u << 20, '7'), "BindVer=5"});
    if (name == "binary_garbage") return garbage(4096);
    if (name == "values_filling_read_buffers")
        return lines({"[Camera]",
                      "FOV=100.00000000000000000000000000",   // 31 characters: fits 32 bytes
                      "Height=0.300000000000000000000000009",  // 36 characters: cut to 31
                      "Side=0.2500000000000000000000000007",   // 32 characters: cut to 31
                      "HeadBob=001",                            // 3 characters: fits 4 bytes
                      "WeaponLead=0001",                        // 4 characters: cut to "000"
                      "BindVer=000000000000005",                // 15 characters: fits 16 bytes
                      "MenuKeyVK=0000000000000070",             // 16 characters: cut to 15
                      "PadOpenBtn=1000000000000001"});          // 16 characters: cut to 15
    return {};
}

inline std::string escaped(const char* bytes, size_t size) {
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        char hex[8];
        if (c >= 0x20 && c < 0x7F && c != '\\') out.push_back(static_cast<char>(c));
        else { std::snprintf(hex, sizeof hex, "\\x%02X", c); out.append(hex); }
    }
    return out;
}

// Raw profile reads: value text, its length as returned, for a 32-byte buffer.
inline std::string dumpRawReads(const char* path) {
    std::string out, keys = rawKeys();
    for (size_t start = 0; start < keys.size();) {
        const size_t end = keys.find('\n', start);
        const std::string key = keys.substr(start, end - start);
        start = end + 1;
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        const uint32_t n = osReadProfileString("Camera", key.c_str(), "<absent>", buffer, sizeof buffer, path);
        out += key + "=" + escaped(buffer, std::strlen(buffer)) + " (" + std::to_string(n) + ")\n";
    }
    return out;
}

// Every setting: floats by their bits, flags and ints as numbers.
inline std::string dumpValues() {
    std::string out;
    for (const Setting& s : kSettings) {
        char text[64];
        switch (s.kind) {
            case SettingKind::Float: {
                uint32_t bits;
                std::memcpy(&bits, s.floatField, sizeof bits);
                std::snprintf(text, sizeof text, "%s=0x%08X\n", s.key, static_cast<unsigned>(bits));
                break;
            }
            case SettingKind::Flag: std::snprintf(text, sizeof text, "%s=%d\n", s.key, *s.flagField); break;
            case SettingKind::Int: std::snprintf(text, sizeof text, "%s=%d\n", s.key, static_cast<int>(*s.intField)); break;
        }
        out += text;
    }
    return out;
}

}  // namespace settings_cases

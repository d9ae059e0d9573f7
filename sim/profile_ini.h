// A reader and writer for Windows profile files (INI text), with the behaviour
// of GetPrivateProfileStringA and WritePrivateProfileStringA that the settings
// file relies on. Portable and free of simulator state, so that the simulator,
// fuzzers and the Windows comparison tools share it.
//
// How a file is read:
// - Lines end with CR LF, LF or a lone CR; the last line may have no end.
//   A UTF-8 byte-order mark at the very start is skipped.
// - "[name]" (blanks allowed around it and the name) starts a section; the name
//   runs to the last ']' of the line. Lines before the first header belong to
//   no section.
// - Any other line with '=' is key=value; blanks around the key and the value
//   are trimmed and a value enclosed in a matching pair of quotes loses them.
//   Comment lines need no rule: ";x=1" is a key named ";x", which no lookup uses.
// - Section and key names match without regard to ASCII case, as on Windows.
// - A lookup takes the first matching key of the first matching section; keys
//   of a later section of the same name are not seen, and neither are lines
//   without '='.
// - NUL and any other byte are ordinary characters of a line; nothing is
//   interpreted as text encoding. A value read ends at its first NUL.
//
// How a write changes a file (every byte not named here stays as it was):
// - An existing key keeps its line up to and including '=', gets the new value,
//   and keeps its own line end.
// - An absent key is inserted as "key=value" CR LF after the last non-blank line
//   of the section (after the header when the section is empty).
// - An absent section is appended at the end of the file as "[section]" CR LF
//   and the key line; a last line without an end first gets CR LF.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace profile {

// Files beyond this size are treated as unreadable and are never rewritten, so
// that memory and time stay bounded whatever lies at the settings path.
constexpr size_t kMaxFileBytes = 16u << 20;

// The value text of key in section, or false when the section or key is absent.
bool findValue(std::string_view file, std::string_view section, std::string_view key, std::string_view* value);

// GetPrivateProfileStringA over file text (nullptr: no readable file): copies the
// value, or defaultText (trailing blanks trimmed) when absent, cut to size - 1
// bytes and NUL-terminated. Returns the number of bytes copied.
uint32_t readString(const std::string* file, std::string_view section, std::string_view key,
                    const char* defaultText, char* buffer, uint32_t size);

// The file text after WritePrivateProfileStringA(section, key, value).
std::string writeString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace profile

#include "runtime/utf16_win32.h"

#include <cstring>

namespace {
constexpr uint32_t kOldPathLimit = 260;  // MAX_PATH: longer paths need the prefix
constexpr wchar_t kLongPathPrefix[] = L"\\\\?\\";
constexpr uint32_t kPrefixUnits = 4;
}  // namespace

bool widenText(const char* utf8, wchar_t* out, uint32_t units) {
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, out, static_cast<int>(units));
    if (n <= 0) {
        if (units > 0) out[0] = L'\0';
        return false;
    }
    return true;
}

bool widenPath(const char* utf8, WidePath& out) {
    constexpr uint32_t units = sizeof out.text / sizeof out.text[0];
    wchar_t* body = out.text + kPrefixUnits;
    if (!widenText(utf8, body, units - kPrefixUnits)) {
        out.text[0] = L'\0';
        return false;
    }
    const size_t length = wcslen(body);
    // Already prefixed, or a network path (\\server\share), which takes
    // another prefix: left as it is.
    const bool prefixed = body[0] == L'\\' && body[1] == L'\\';
    if (length < kOldPathLimit || prefixed) {
        std::memmove(out.text, body, (length + 1) * sizeof(wchar_t));
    } else {
        std::memcpy(out.text, kLongPathPrefix, kPrefixUnits * sizeof(wchar_t));
    }
    return true;
}

uint32_t narrowText(const wchar_t* wide, char* out, uint32_t size, UINT codePage) {
    if (size == 0) return 0;
    // Character by character, so that a cut never splits one.
    uint32_t used = 0;
    for (const wchar_t* at = wide; *at != L'\0';) {
        const int units = (at[0] >= 0xD800 && at[0] <= 0xDBFF && at[1] >= 0xDC00 && at[1] <= 0xDFFF) ? 2 : 1;
        char bytes[4];
        const int n = WideCharToMultiByte(codePage, 0, at, units, bytes, sizeof bytes, nullptr, nullptr);
        if (n <= 0 || used + static_cast<uint32_t>(n) + 1 > size) break;
        std::memcpy(out + used, bytes, static_cast<size_t>(n));
        used += static_cast<uint32_t>(n);
        at += units;
    }
    out[used] = '\0';
    return used;
}

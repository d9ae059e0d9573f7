// UTF-8 paths for the Windows-side stand-ins: the game folder may be named in
// any script, which the ANSI functions would turn into "?".
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

namespace sim {

inline std::wstring widened(const std::string& utf8) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units > 0 ? units : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), units);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

inline std::string narrowed(const wchar_t* wide, int units) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, units, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

// The full path of a module (nullptr: the running program), as UTF-8.
inline std::string modulePath(HMODULE module) {
    static wchar_t path[32768];
    const DWORD n = GetModuleFileNameW(module, path, 32768);
    return n == 0 || n == 32768 ? std::string() : narrowed(path, static_cast<int>(n));
}

inline std::FILE* openFile(const std::string& utf8, const wchar_t* mode) { return _wfopen(widened(utf8).c_str(), mode); }

}  // namespace sim

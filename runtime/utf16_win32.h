// Text between the plug-in (UTF-8) and Windows' wide-character functions
// (UTF-16), for the Win32 side of the platform layer and the recorder's file.
#pragma once
#include <windows.h>

#include <cstdint>

// A path for the wide file functions: UTF-16, with the "\\?\" prefix when it is
// longer than the old 260-character limit, which the prefix lifts. Empty when
// the text is not UTF-8 or does not fit.
struct WidePath {
    wchar_t text[4 + 32768];
};
bool widenPath(const char* utf8, WidePath& out);

// A short text (a section, key or value) as UTF-16; false when it does not fit.
bool widenText(const char* utf8, wchar_t* out, uint32_t units);

// UTF-16 as UTF-8 (or, with CP_ACP, as the ANSI functions would give it), cut
// to size bytes with the NUL, never inside a character; returns the bytes written.
uint32_t narrowText(const wchar_t* wide, char* out, uint32_t size, UINT codePage = CP_UTF8);

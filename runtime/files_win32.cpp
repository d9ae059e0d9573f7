// Win32 side of the platform layer's file calls, the settings file's only
// contact with the disk, through the wide-character functions: a game folder
// named in any script, and paths past the old 260-character limit, work. The
// settings probe and the players' settings checker link this file too, so they
// exercise exactly what the plug-in runs.
#include <windows.h>

#include "runtime/platform.h"
#include "runtime/utf16_win32.h"

namespace {

constexpr uint32_t kTextUnits = 256;  // sections, keys and values: the plug-in's longest is 31 characters

WidePath widePath;  // one path at a time: every call converts its own

}  // namespace

uint32_t osFileAttributes(const char* path) {
    if (!widenPath(path, widePath)) return kNoFileAttributes;
    return GetFileAttributesW(widePath.text);
}

bool osCreateNewFile(const char* path, const void* bytes, uint32_t size) {
    if (!widenPath(path, widePath)) return false;
    HANDLE file = CreateFileW(widePath.text, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool wrote = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    const bool closed = CloseHandle(file) != 0;
    return wrote && closed;
}

uint32_t osReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                             uint32_t size, const char* path) {
    if (size == 0) return 0;
    wchar_t wideSection[kTextUnits], wideKey[kTextUnits], wideDefault[kTextUnits], value[kTextUnits];
    const uint32_t units = size < kTextUnits ? size : kTextUnits;
    if (!widenPath(path, widePath) || !widenText(section, wideSection, kTextUnits) ||
        !widenText(key, wideKey, kTextUnits) || !widenText(defaultText, wideDefault, kTextUnits)) {
        buffer[0] = '\0';
        return 0;
    }
    GetPrivateProfileStringW(wideSection, wideKey, wideDefault, value, units, widePath.text);
    value[units - 1] = L'\0';
    // A value comes back in the file's own code page, byte for byte as the ANSI
    // function gives it; only the path needs every script.
    return narrowText(value, buffer, size, CP_ACP);
}

bool osWriteProfileString(const char* section, const char* key, const char* value, const char* path) {
    wchar_t wideSection[kTextUnits], wideKey[kTextUnits], wideValue[kTextUnits];
    if (!widenPath(path, widePath) || !widenText(section, wideSection, kTextUnits) ||
        !widenText(key, wideKey, kTextUnits) || !widenText(value, wideValue, kTextUnits))
        return false;
    return WritePrivateProfileStringW(wideSection, wideKey, wideValue, widePath.text) != 0;
}

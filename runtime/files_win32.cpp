// Win32 side of the platform layer's file calls, the settings file's only
// contact with the disk. The settings probe and the players' settings checker
// link this file too, so they exercise exactly what the plug-in runs.
#include <windows.h>

#include "runtime/platform.h"

uint32_t osFileAttributes(const char* path) { return GetFileAttributesA(path); }

void osCreateNewFile(const char* path, const void* bytes, uint32_t size) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
}

uint32_t osReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                             uint32_t size, const char* path) {
    return GetPrivateProfileStringA(section, key, defaultText, buffer, size, path);
}

void osWriteProfileString(const char* section, const char* key, const char* value, const char* path) {
    WritePrivateProfileStringA(section, key, value, path);
}

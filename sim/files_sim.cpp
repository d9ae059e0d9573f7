// The simulated disk: file calls of the plug-in against the game folder.
#include "runtime/platform.h"
#include "sim/world/os.h"

using sim::os;

// Not built yet: the settings file's calls come with their own change.
uint32_t osFileAttributes(const char*) { ++os.fileOperations; return kNoFileAttributes; }
void osCreateNewFile(const char*, const void*, uint32_t) { ++os.fileOperations; }
uint32_t osReadProfileString(const char*, const char*, const char* defaultText, char* buffer, uint32_t size,
                             const char*) {
    ++os.fileOperations;
    uint32_t n = 0;
    while (size > 0 && n + 1 < size && defaultText[n]) { buffer[n] = defaultText[n]; ++n; }
    if (size > 0) buffer[n] = '\0';
    return n;
}
void osWriteProfileString(const char*, const char*, const char*, const char*) { ++os.fileOperations; }

// The simulated disk: the plug-in's file calls against the game folder, which
// lives in a host folder (sim::os.diskRoot). Profile strings go through the
// portable reader and writer of profile_ini. Paths outside the game folder
// (for example from an executable path without a backslash) behave as a place
// that neither exists nor can be created.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "runtime/platform.h"
#include "sim/alloc_watch.h"
#include "sim/profile_ini.h"
#include "sim/world/os.h"

using sim::os;

namespace {

constexpr uint32_t kAttributeReadOnly = 0x01;   // FILE_ATTRIBUTE_READONLY
constexpr uint32_t kAttributeDirectory = 0x10;  // FILE_ATTRIBUTE_DIRECTORY
constexpr uint32_t kAttributeArchive = 0x20;    // FILE_ATTRIBUTE_ARCHIVE

// The host path of a Windows path inside the game folder.
bool gameFolderPath(const char* windowsPath, std::string* host) {
    const std::string& exe = os.exePath;
    const size_t slash = exe.find_last_of('\\');
    if (slash == std::string::npos || std::strncmp(windowsPath, exe.c_str(), slash + 1) != 0) return false;
    *host = sim::hostPath(windowsPath);
    return true;
}

// A file without any write permission stands for the Windows read-only
// attribute; checked explicitly so that it holds when tests run as root.
bool isReadOnly(const struct stat& st) { return (st.st_mode & 0222) == 0; }

// The whole file, when it is a readable regular file of bounded size.
bool readWholeFile(const std::string& host, std::string* content) {
    const int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st{};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<size_t>(st.st_size) <= profile::kMaxFileBytes;
    if (ok) {
        content->resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        while (got < content->size()) {
            const ssize_t n = read(fd, content->data() + got, content->size() - got);
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        content->resize(got);
    }
    close(fd);
    return ok;
}

bool writeAll(int fd, const void* bytes, size_t size) {
    const char* p = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

uint32_t osFileAttributes(const char* path) {
    ++os.fileOperations;
    const sim::OutsidePlugin system;
    std::string host;
    struct stat st{};
    if (!gameFolderPath(path, &host) || stat(host.c_str(), &st) != 0) return kNoFileAttributes;
    if (S_ISDIR(st.st_mode)) return kAttributeDirectory;
    return kAttributeArchive | (isReadOnly(st) ? kAttributeReadOnly : 0);
}

// A read-only game folder (os.folderReadOnly) refuses to make or change any
// file, as a folder under Program Files does for a program that is not
// elevated: checked here, so that it holds when the tests run as root.
bool osCreateNewFile(const char* path, const void* bytes, uint32_t size) {
    ++os.fileOperations;
    const sim::OutsidePlugin system;
    std::string host;
    if (os.folderReadOnly || !gameFolderPath(path, &host)) return false;
    const int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, bytes, size);
    return close(fd) == 0 && written;
}

uint32_t osReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                             uint32_t size, const char* path) {
    ++os.fileOperations;
    const sim::OutsidePlugin system;
    std::string host, content;
    const bool readable = gameFolderPath(path, &host) && readWholeFile(host, &content);
    return profile::readString(readable ? &content : nullptr, section, key, defaultText, buffer, size);
}

bool osWriteProfileString(const char* section, const char* key, const char* value, const char* path) {
    ++os.fileOperations;
    const sim::OutsidePlugin system;
    std::string host;
    if (os.folderReadOnly || !gameFolderPath(path, &host)) return false;
    std::string content;
    struct stat st{};
    if (stat(host.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || isReadOnly(st) || !readWholeFile(host, &content)) return false;
    }
    const std::string updated = profile::writeString(content, section, key, value);
    const int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, updated.data(), updated.size());
    return close(fd) == 0 && written;
}

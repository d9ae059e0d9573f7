// Runs a piece of a test in a child process: each simulator run needs a freshly
// loaded plug-in, and one process holds one. The child writes its text to a
// file; the parent reads it back. Empty optional: the child failed (its
// messages are on stderr).
#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

inline std::optional<std::string> runInChild(const std::function<bool(std::FILE* out)>& body) {
    char path[] = "/tmp/zv-child-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return std::nullopt;
    close(fd);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        std::FILE* out = std::fopen(path, "wb");
        const bool ok = out && body(out);
        if (out) std::fclose(out);
        std::fflush(nullptr);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(path);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return text.str();
}

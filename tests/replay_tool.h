// Running zv_replay on a recording, as a player or a tester runs it: its exit
// status and everything it printed.
#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <string>

#ifndef ZV_REPLAY_TOOL
#error "ZV_REPLAY_TOOL names the zv_replay program"
#endif

struct ToolRun {
    int status;  // the exit status; -1 when the tool did not exit by itself
    std::string output;
};

inline ToolRun replay(const std::string& path, const std::string& options = "") {
    const std::string command = std::string(ZV_REPLAY_TOOL) + " " + path + " " + options + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// Other programs started from a tool, each in its own process.
#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace process {

constexpr int kNotStarted = 127;  // the exit status of a program that could not be started, as a shell has it

// Starts a program (args[0] is its path); with a log path, its output goes
// there. The process id, or -1 when it could not be started.
pid_t start(const std::vector<std::string>& args, const std::filesystem::path& log = {});

// Waits for any started program to end: its id (-1 when none is left) and
// its exit status (128 + the signal when it crashed).
pid_t waitAny(int& status);

// Runs a program and waits for it: its exit status.
int run(const std::vector<std::string>& args, const std::filesystem::path& log = {});

}  // namespace process

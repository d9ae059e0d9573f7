#include "tools/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace process {

namespace {

constexpr int kSignalled = 128;   // a crash's status: this plus the signal

int exitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : kSignalled + WTERMSIG(status); }

}  // namespace

pid_t start(const std::vector<std::string>& args, const std::filesystem::path& log) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!log.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    std::vector<std::string> copies = args;
    std::vector<char*> argv;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned != 0 ? -1 : pid;
}

pid_t waitAny(int& status) {
    int raw = 0;
    const pid_t pid = waitpid(-1, &raw, 0);
    status = exitStatus(raw);
    return pid;
}

int run(const std::vector<std::string>& args, const std::filesystem::path& log) {
    const pid_t pid = start(args, log);
    if (pid < 0) return kNotStarted;
    int status = 0;
    waitpid(pid, &status, 0);
    return exitStatus(status);
}

}  // namespace process

// zv-check-ini: reads a player's Zentravisor.ini with the plug-in's own load
// code, prints the value each key will load as, and warns where that silently
// differs from what the file says. Exits 1 when it warned, 2 when it could not
// read the file.
//
// Built twice: on Linux against the simulator's file system, and for Windows
// (zv-check-ini.exe in the release zip) against the system's profile functions.
// The Windows build without an argument checks the Zentravisor.ini beside it.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/ini_check.h"

namespace {

constexpr int kCannotCheck = 2;  // the exit status for a file it could not read, or bad usage

int checkFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        std::fprintf(stderr, "zv-check-ini: cannot read %s\n", path.c_str());
        return kCannotCheck;
    }
    inicheck::Result result;
    if (!inicheck::check(text.str(), inicheck::loadCopy, result)) {
        std::fprintf(stderr, "zv-check-ini: could not load a copy of %s\n", path.c_str());
        return kCannotCheck;
    }
    return inicheck::print(path, result, stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = argc == 2 ? argv[1] : inicheck::defaultPath();
    if (argc > 2 || path.empty()) {
        std::fprintf(stderr, "usage: zv-check-ini PATH-TO-Zentravisor.ini\n");
        return kCannotCheck;
    }
    int status = checkFile(path);
    inicheck::holdWindowOpen();
    return status;
}

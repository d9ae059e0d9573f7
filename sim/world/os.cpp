#include "sim/world/os.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "sim/sim.h"

namespace sim {

Os os;

void holdKey(int virtualKey) { os.keyDown.at(virtualKey) = true; }
void releaseKey(int virtualKey) { os.keyDown.at(virtualKey) = false; }
void tapKey(int virtualKey, int heldFrames) {
    holdKey(virtualKey);
    frames(heldFrames);
    releaseKey(virtualKey);
    frame();
}

// The game folder is the executable's directory; every Windows path under it
// maps into diskRoot. Anything else maps to a name that never exists.
std::string hostPath(const std::string& windowsPath) {
    std::string dir = os.exePath.substr(0, os.exePath.find_last_of('\\') + 1);
    if (!dir.empty() && windowsPath.compare(0, dir.size(), dir) == 0) {
        std::string rest = windowsPath.substr(dir.size());
        for (char& c : rest)
            if (c == '\\') c = '/';
        return os.diskRoot + "/" + rest;
    }
    return os.diskRoot + "/.outside-the-game-folder";
}

void prepareDisk(const Options& options) {
    if (!options.diskRoot.empty()) {
        os.diskRoot = options.diskRoot;
    } else {
        char templ[] = "/tmp/zv-sim-XXXXXX";
        if (!mkdtemp(templ)) fail("cannot make a temporary game folder");
        os.diskRoot = templ;
    }
    std::filesystem::create_directories(os.diskRoot);
}

}  // namespace sim

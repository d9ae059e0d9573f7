#include "sim/world/os.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "sim/sim.h"
#include "sim/world/injector.h"

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
    namespace fs = std::filesystem;
    std::error_code error;
    if (!options.diskRoot.empty()) {
        os.diskRoot = options.diskRoot;
        fs::create_directories(os.diskRoot, error);
        if (!fs::is_directory(os.diskRoot, error)) fail("cannot make the game folder " + os.diskRoot);
        return;
    }
    // A fresh folder under the system's temporary folder. Making a folder fails
    // when the name exists, so two runs never share one.
    fs::path base = fs::temp_directory_path(error);
    if (error) fail("no temporary folder: " + error.message());
    uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    reinterpret_cast<uintptr_t>(&seed);
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;  // 64-bit LCG step
        char name[32];
        std::snprintf(name, sizeof name, "zv-sim-%08llx", static_cast<unsigned long long>(seed >> 32));
        fs::path dir = base / name;
        if (fs::create_directory(dir, error)) {
            os.diskRoot = dir.string();
            return;
        }
    }
    fail("cannot make a temporary game folder under " + base.string());
}

// ---- the clocks ----------------------------------------------------------------

uint32_t gameMilliseconds() { return os.startTick + static_cast<uint32_t>(os.elapsed / (kCounterHz / 1000)); }

uint32_t windowsTickCount() {
    if (os.clock == Clock::Ideal) return gameMilliseconds();
    // Whole interrupts since the first frame (which fell on one), each 15.625 ms.
    const uint64_t interrupts = os.elapsed / kTimerInterrupt;
    return os.startTick + static_cast<uint32_t>(interrupts * kTimerInterrupt / (kCounterHz / 1000));
}

// The counter as on a machine up since the start tick's milliseconds ago.
int64_t performanceCounter() {
    ++os.clockReads;
    return static_cast<int64_t>(static_cast<uint64_t>(os.startTick) * (kCounterHz / 1000) + os.elapsed) + os.counterSkew;
}

void advanceFrame() {
    uint64_t us = os.frameUs;
    if (os.jitterPercent > 0) {
        // A fixed sequence (64-bit LCG), so a jittered run is the same every time.
        os.jitterState = os.jitterState * 6364136223846793005ull + 1442695040888963407ull;
        const double unit = static_cast<double>(os.jitterState >> 11) / static_cast<double>(1ull << 53);  // 0..1
        const double share = (2.0 * unit - 1.0) * os.jitterPercent / 100.0;
        us = static_cast<uint64_t>(static_cast<double>(os.frameUs) * (1.0 + share) + 0.5);
    }
    os.lastFrameUs = us;
    os.elapsed += us * (kCounterHz / 1'000'000);
}

float frameMilliseconds() { return static_cast<float>(os.lastFrameUs) / 1000.0f; }

// ---- the operating-system calls, answered from the state above -----------------

uint32_t tickCount() {
    ++os.clockReads;
    return windowsTickCount();
}

int64_t performanceFrequency() { return os.counterFrequency; }

uint32_t foregroundProcessId() {
    switch (os.front) {
        case Front::Game: return kGameProcessId;
        case Front::Other: return kOtherProcessId;
        case Front::None: break;
    }
    return 0;
}

uint32_t currentProcessId() { return kGameProcessId; }

// The system-wide key state: the player's keys and the injected ones alike,
// whichever window is in front.
int16_t asyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    return os.keyDown[virtualKey] || os.injectedDown[virtualKey] ? static_cast<int16_t>(0x8000) : 0;
}

// An injected key goes where a typed one would: to the window in front.
void keyEvent(uint8_t virtualKey, uint32_t flags) {
    const bool up = (flags & kKeyEventKeyUp) != 0;
    const bool toGame = os.front == Front::Game;
    os.injectedDown[virtualKey] = !up;
    os.sentKeys.push_back({frameIndex(), virtualKey, up, toGame});
    if (toGame) postKeyMessage(virtualKey, up);
}

uint32_t padState(uint32_t slot, void* state16) {
    constexpr uint32_t kNotConnected = 1167;  // ERROR_DEVICE_NOT_CONNECTED
    if (slot > 3) return kNotConnected;
    if (!os.padConnected[slot]) {
        ++os.emptySlotCalls[slot];
        return kNotConnected;
    }
    std::memcpy(state16, &os.pads[slot], sizeof(PadState));
    return 0;
}

// rand() of the C runtime the simulator is built with.
int32_t random() { return std::rand(); }

}  // namespace sim

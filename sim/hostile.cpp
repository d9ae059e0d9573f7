#include "sim/hostile.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace sim {
namespace {

constexpr int kStaleHandles = 16;

double rate = 0.0;
std::mt19937_64 rng{1};
HostileStats stats;
int32_t recentInts[kStaleHandles] = {};  // integers the game handed out lately: handles that may have vanished
int recentNext = 0;
constexpr int kRemembered = 6;
const char* lastReplaced[kRemembered] = {};  // names of the natives whose values were replaced last, for failures
int lastReplacedNext = 0;

std::string replacedLately() {
    std::string out;
    for (int k = 0; k < kRemembered; ++k) {
        const char* name = lastReplaced[(lastReplacedNext + k) % kRemembered];
        if (name) out += std::string(out.empty() ? "" : ", ") + name;
    }
    return out.empty() ? "" : " (hostile values lately from " + out + ")";
}

bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < p; }
uint32_t pick(uint32_t n) { return static_cast<uint32_t>(rng() % n); }

float hostileFloat() {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    static const float kSet[] = {std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
                                 kInf, -kInf, 1.0e38f, -1.0e38f, std::numeric_limits<float>::max(),
                                 -std::numeric_limits<float>::max(), 1.0e-40f, -1.0e-45f, 0.0f, -0.0f, 1.0e9f, -1.0e9f};
    constexpr uint32_t kCount = sizeof kSet / sizeof kSet[0];
    uint32_t k = pick(kCount + 2);
    if (k < kCount) return kSet[k];
    return std::uniform_real_distribution<float>(-1.0e4f, 1.0e4f)(rng);  // plausible but random
}

int32_t hostileInt() {
    switch (pick(9)) {
        case 0: return 0;
        case 1: return -1;
        case 2: return std::numeric_limits<int32_t>::max();
        case 3: return std::numeric_limits<int32_t>::min();
        case 4: return static_cast<int32_t>(rng());
        case 5: return static_cast<int32_t>(pick(1000));
        case 6: return -static_cast<int32_t>(pick(1000)) - 2;
        default: return recentInts[pick(kStaleHandles)];  // a handle from before: it may be gone now
    }
}

void setFloat(uint64_t& slot, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    slot = bits | (rng() & 0xFFFFFFFF00000000ull);  // the high half is the game's business
}
void setInt(uint64_t& slot, int32_t v) { slot = static_cast<uint32_t>(v) | (rng() & 0xFFFFFFFF00000000ull); }

// A native vector in memory: x, y, z at byte offsets 0, 8, 16, padding between.
void writeVector(void* at) {
    if (!at) return;
    unsigned char* bytes = static_cast<unsigned char*>(at);
    for (int k = 0; k < 3; ++k) {
        float v = chance(0.5) ? hostileFloat() : 0.0f;
        uint32_t pad = static_cast<uint32_t>(rng());
        std::memcpy(bytes + 8 * k, &v, sizeof v);
        std::memcpy(bytes + 8 * k + 4, &pad, sizeof pad);
    }
}
void writeFloat(void* at) {
    if (!at) return;
    float v = hostileFloat();
    std::memcpy(at, &v, sizeof v);
}
void writeInt(void* at) {
    if (!at) return;
    int32_t v = hostileInt();
    std::memcpy(at, &v, sizeof v);
}

// The chance that each out-value of a call whose result was replaced is
// replaced too: the weapon always, the screen coordinates mostly, anything else
// (a probe's results) half the time.
double outValueChance(uint64_t hash) {
    switch (hash) {
        case native::kGetCurrentPedWeapon: return 1.0;
        case native::kGetScreenCoordFromWorldCoord: return 0.7;
        default: return 0.5;
    }
}

// Each out-value written as the table's kind for it says; a certain one draws no chance.
void disturbOutValues(NativeCall& call) {
    const double share = outValueChance(call.info->hash);
    for (int k = 0; k < call.argc; ++k) {
        const char kind = call.info->argKinds[k];
        if (!isOutPointer(kind) || (share < 1.0 && !chance(share))) continue;
        void* at = call.p<void>(k);
        if (kind == kOutFloat) writeFloat(at);
        else if (kind == kOutVector) writeVector(at);
        else writeInt(at);
    }
}

}  // namespace

void setHostile(double r, uint64_t seed) {
    rate = r;
    rng.seed(seed);
}
double hostileRate() { return rate; }
const HostileStats& hostileStats() { return stats; }

void checkArguments(const NativeCall& call) {
    for (int k = 0; k < call.argc; ++k) {
        if (call.info->argKinds[k] != 'f') continue;
        float v = call.f(k);
        if (!std::isfinite(v) || std::fabs(v) > kArgumentBound)
            fail(std::string(call.info->name) + " was given " + std::to_string(v) + " as argument " + std::to_string(k) +
                 replacedLately());
    }
}

void disturbResult(NativeCall& call) {
    const char kind = call.info->resultKind;
    if (kind == 'i') {
        recentInts[recentNext] = static_cast<int32_t>(static_cast<uint32_t>(call.result[0]));
        recentNext = (recentNext + 1) % kStaleHandles;
    }
    if (rate <= 0.0 || !chance(rate)) return;
    ++stats.overridden;
    lastReplaced[lastReplacedNext] = call.info->name;
    lastReplacedNext = (lastReplacedNext + 1) % kRemembered;
    switch (kind) {
        case 'i': setInt(call.result[0], hostileInt()); break;
        case 'b': setInt(call.result[0], chance(0.5) ? static_cast<int32_t>(pick(2)) : hostileInt()); break;
        case 'f': setFloat(call.result[0], hostileFloat()); break;
        case '3': writeVector(call.result); break;
        default: break;
    }
    disturbOutValues(call);
}

}  // namespace sim

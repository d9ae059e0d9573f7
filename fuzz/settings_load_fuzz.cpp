// libFuzzer target: any bytes as the settings file, read by the plug-in's own
// loader through the simulator's profile reader. After every load each float
// setting is finite and within its range, each flag is 0 or 1 and the menu key
// is usable; what the plug-in then saves reads back as the same settings.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "sim/sim.h"
#include "sim/world/os.h"

namespace sim {
void prepareDisk(const Options& options);
}

namespace {

constexpr int32_t kEnterKey = 13;
constexpr float kSaveRounding = 1.0e-4f;  // four decimals in the file

void check(bool ok, const char* key, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "settings fuzz: %s %s\n", key, what);
    std::abort();
}

void checkRanges() {
    for (const Setting& s : kSettings) {
        switch (s.kind) {
            case SettingKind::Float:
                check(std::isfinite(*s.floatField), s.key, "is not finite");
                check(*s.floatField >= s.minimum && *s.floatField <= s.maximum, s.key, "is out of range");
                break;
            case SettingKind::Flag: check(*s.flagField <= 1, s.key, "is neither 0 nor 1"); break;
            case SettingKind::Int: break;
        }
    }
    check(MenuKeyVK >= 1 && MenuKeyVK != kEnterKey, "MenuKeyVK", "cannot open the menu");
}

struct Snapshot {
    float floats[kSettingCount];
    int32_t ints[kSettingCount];
};
Snapshot snapshot() {
    Snapshot out{};
    for (int k = 0; k < kSettingCount; ++k) {
        const Setting& s = kSettings[k];
        if (s.kind == SettingKind::Float) out.floats[k] = *s.floatField;
        if (s.kind == SettingKind::Flag) out.ints[k] = *s.flagField;
        if (s.kind == SettingKind::Int) out.ints[k] = *s.intField;
    }
    return out;
}

std::string settingsHostPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    sim::Options options;
    sim::os.exePath = options.exePath;
    sim::prepareDisk(options);
    buildSettingsPath();
    settingsHostPath = sim::hostPath(settingsFilePath());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(settingsHostPath.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    loadSettings();
    checkRanges();
    // The round trip writes 72 keys through the simulated file system, which
    // costs far more than a load: one input in eight, chosen by its last byte.
    if (size > 0 && data[size - 1] % 8 != 0) return 0;
    const Snapshot loaded = snapshot();
    std::remove(settingsHostPath.c_str());
    saveSettings();
    loadSettings();
    const Snapshot reloaded = snapshot();
    for (int k = 0; k < kSettingCount; ++k) {
        const Setting& s = kSettings[k];
        if (s.kind == SettingKind::Float)
            check(std::fabs(loaded.floats[k] - reloaded.floats[k]) <= kSaveRounding + 1.0e-6f * std::fabs(loaded.floats[k]),
                  s.key, "reads back changed");
        else
            check(loaded.ints[k] == reloaded.ints[k], s.key, "reads back changed");
    }
    return 0;
}

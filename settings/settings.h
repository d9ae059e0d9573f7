// The settings record: one static field per settings-file key, named as the key,
// and kSettings, which describes every field once: load, save, reset and the
// menu all loop over it. Both come from settings/settings_list.inc.
#pragma once
#include <cstdint>

#include "runtime/controls.h"
#include "runtime/virtual_keys.h"

constexpr int32_t kDefaultMenuKey = kVkF6;
constexpr int32_t kResetAllPadOpenButton = kControlPadDpadRight;

#define ZV_SETTING(type, key, missing, minimum, maximum, resetAll) extern type key;
#include "settings/settings_list.inc"
#undef ZV_SETTING

enum class SettingKind : uint8_t { Float, Flag, Int };

struct Setting {
    const char* key;
    SettingKind kind;
    float* floatField;
    uint8_t* flagField;
    int32_t* intField;
    float missing;   // value a load gives when the key is absent
    float minimum;   // load clamp, floats only
    float maximum;
    float resetAll;  // value "Reset All" stores
};

// One row of kSettings, its kind given by its field's type.
constexpr Setting makeSetting(const char* key, float* field, float missing, float minimum, float maximum, float resetAll) {
    return {key, SettingKind::Float, field, nullptr, nullptr, missing, minimum, maximum, resetAll};
}
constexpr Setting makeSetting(const char* key, uint8_t* field, float missing, float minimum, float maximum, float resetAll) {
    return {key, SettingKind::Flag, nullptr, field, nullptr, missing, minimum, maximum, resetAll};
}
constexpr Setting makeSetting(const char* key, int32_t* field, float missing, float minimum, float maximum, float resetAll) {
    return {key, SettingKind::Int, nullptr, nullptr, field, missing, minimum, maximum, resetAll};
}

inline constexpr Setting kSettings[] = {
#define ZV_SETTING(type, key, missing, minimum, maximum, resetAll) \
    makeSetting(#key, &key, missing, minimum, maximum, resetAll),
#include "settings/settings_list.inc"
#undef ZV_SETTING
};
constexpr int kSettingCount = sizeof kSettings / sizeof kSettings[0];

// Each setting's row in kSettings, named by its key (setting::FOV): how a menu
// row names the setting it edits.
namespace setting {
enum Id : int {
#define ZV_SETTING(type, key, missing, minimum, maximum, resetAll) key,
#include "settings/settings_list.inc"
#undef ZV_SETTING
};
}  // namespace setting
constexpr const Setting& settingRecord(setting::Id id) { return kSettings[id]; }

// Stores the Reset All column into every field; the file follows at the next menu close.
void resetAllSettings();

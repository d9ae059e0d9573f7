#include "settings/settings.h"

#define ZV_SETTING(type, key, missing, minimum, maximum, resetAll) type key;
#include "settings/settings_list.inc"
#undef ZV_SETTING

void resetAllSettings() {
    for (const Setting& s : kSettings) {
        switch (s.kind) {
            case SettingKind::Float: *s.floatField = s.resetAll; break;
            case SettingKind::Flag: *s.flagField = s.resetAll != 0.0f ? 1 : 0; break;
            case SettingKind::Int: *s.intField = static_cast<int32_t>(s.resetAll); break;
        }
    }
}

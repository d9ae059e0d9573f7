#include "settings/settings_file.h"

#include <cstdio>
#include <cstring>

#include "runtime/platform.h"
#include "settings/decimal.h"
#include "settings/settings.h"

namespace {

constexpr uint32_t kPathSize = kMaxPathBytes;  // the longest path Windows takes, as UTF-8, NUL included
constexpr uint32_t kFloatReadSize = 32;      // read buffers, NUL included
constexpr uint32_t kFlagReadSize = 4;
constexpr uint32_t kIntReadSize = 16;
constexpr uint32_t kFloatWriteSize = 32;     // write buffers, NUL included
constexpr uint32_t kIntWriteSize = 8;        // a longer number is cut to 7 characters
constexpr int32_t kBindingVersion = 5;       // version of the default key and button bindings
constexpr int32_t kReservedMenuKey = 13;     // ENTER drives the menu itself
constexpr char kSection[] = "Camera";
constexpr char kFileName[] = "Zentravisor.ini";

// The default file: written whole when no settings file exists.
constexpr char kTemplate[] =
    "; Zentravisor v2\r\n"
    "[Camera]\r\n"
    "FOV=90.0\r\n"
    "Height=0.10\r\n"
    "Side=0.00\r\n"
    "Forward=0.00\r\n"
    "HeadBob=0\r\n"
    "HeadBobAmount=1.00\r\n"
    "HeadBobSpeed=1.00\r\n"
    "Veh_FOV=85.0\r\n"
    "Veh_Height=0.08\r\n"
    "Veh_Side=0.00\r\n"
    "Veh_Forward=0.00\r\n"
    "Veh_Sensitivity=6.0\r\n"
    "WeaponLead=0\r\n"
    "WeaponLeadLag=0.85\r\n"
    "AimSway=0\r\n"
    "AimSwayAmount=1.20\r\n"
    "RecoilShake=0\r\n"
    "RecoilAmount=1.00\r\n"
    "CrouchLower=1\r\n"
    "CrouchLowerAmount=0.18\r\n"
    "Crosshair=1\r\n"
    "CrosshairOnlyAimed=0\r\n"
    "CrosshairOnlyADS=0\r\n"
    "ADSGameView=0\r\n"
    "ADSZoomAmount=25.0\r\n"
    "SniperGameView=1\r\n"
    "VehCam=1\r\n"
    "MenuKey=1\r\n"
    "CinematicAudio=0\r\n"
    "ShowHead=0\r\n"
    "Veh_ShowHead=0\r\n"
    "Veh_CamInertia=1\r\n"
    "Veh_CamInertiaAmount=1.0\r\n"
    "AutoTurn=1\r\n"
    "AutoTurnAngle=45.0\r\n"
    "FreeLook=0\r\n"
    "FreeLookSensitivity=6.0\r\n"
    "Veh_YawLimit=90.0\r\n"
    "MC_Cam=1\r\n"
    "MC_FOV=100.0\r\n"
    "MC_Height=0.25\r\n"
    "MC_Side=0.00\r\n"
    "MC_Forward=0.25\r\n"
    "MC_Sensitivity=8.0\r\n"
    "MC_ShowHead=0\r\n"
    "MC_CamInertia=1\r\n"
    "MC_CamInertiaAmount=1.0\r\n"
    "MC_FreeLook=0\r\n"
    "MC_FreeLookSensitivity=6.0\r\n"
    "MC_YawLimit=90.0\r\n";
constexpr uint32_t kTemplateSize = sizeof(kTemplate) - 1;  // no terminating NUL in the file
static_assert(kTemplateSize == 865, "the default file is 52 CR LF lines, 865 bytes");

char settingsPath[kPathSize];

// snprintf where a cut is intended: the text is bounded to the buffer and
// NUL-terminated; a formatting error leaves it empty.
template <typename... Args>
void formatCut(char* buffer, size_t size, const char* format, Args... args) {
    if (std::snprintf(buffer, size, format, args...) < 0) buffer[0] = '\0';
}

int32_t readInt(const char* key, int32_t missing) {
    char defaultText[kIntReadSize];
    formatCut(defaultText, sizeof defaultText, "%d", missing);
    char text[kIntReadSize];
    osReadProfileString(kSection, key, defaultText, text, sizeof text, settingsPath);
    return decimalToInt(text);
}

bool writeInt(const char* key, int32_t value) {
    char text[kIntWriteSize];
    formatCut(text, sizeof text, "%d", value);
    return osWriteProfileString(kSection, key, text, settingsPath);
}

// One setting from the file; the default text is the Missing value in the file's
// own format, so an absent key and a key holding that text load the same.
void loadSetting(const Setting& s) {
    switch (s.kind) {
        case SettingKind::Float: {
            char defaultText[kFloatReadSize];
            formatCut(defaultText, sizeof defaultText, "%.4f", static_cast<double>(s.missing));
            char text[kFloatReadSize];
            osReadProfileString(kSection, s.key, defaultText, text, sizeof text, settingsPath);
            float value = decimalToFloat(text);  // always finite
            if (value < s.minimum) value = s.minimum;
            else if (value > s.maximum) value = s.maximum;
            *s.floatField = value;
            break;
        }
        case SettingKind::Flag: {
            char text[kFlagReadSize];
            osReadProfileString(kSection, s.key, s.missing != 0.0f ? "1" : "0", text, sizeof text, settingsPath);
            *s.flagField = decimalToInt(text) != 0 ? 1 : 0;
            break;
        }
        case SettingKind::Int:
            *s.intField = readInt(s.key, static_cast<int32_t>(s.missing));
            break;
    }
}

// Files from before the current binding scheme get the default bindings, in
// memory and in the file. False when the file did not take the writes.
bool migrateBindings() {
    if (readInt("BindVer", 0) >= kBindingVersion) return true;
    MenuKeyVK = kDefaultMenuKey;
    PadOpenBtn = 0;
    bool written = writeInt("BindVer", kBindingVersion);
    written &= writeInt(settingRecord(setting::MenuKeyVK).key, MenuKeyVK);
    written &= writeInt(settingRecord(setting::PadOpenBtn).key, PadOpenBtn);
    return written;
}

}  // namespace

// The executable's folder with its backslash, then the file name; a path
// without a backslash gets the name appended whole. Built in place: the path
// buffer is far too large for the script's stack.
void buildSettingsPath() {
    osExecutablePath(settingsPath, sizeof settingsPath);
    settingsPath[kPathSize - 1] = '\0';
    char* lastBackslash = std::strrchr(settingsPath, '\\');
    char* end = lastBackslash ? lastBackslash + 1 : settingsPath + std::strlen(settingsPath);
    const size_t room = static_cast<size_t>(settingsPath + kPathSize - end);
    formatCut(end, room, "%s", kFileName);
}

const char* settingsFilePath() { return settingsPath; }

bool writeSettingsTemplate() {
    if (osFileAttributes(settingsPath) != kNoFileAttributes) return true;
    return osCreateNewFile(settingsPath, kTemplate, kTemplateSize);
}

bool loadSettings() {
    bool written = true;
    for (const Setting& s : kSettings) {
        loadSetting(s);
        if (s.intField != &PadOpenBtn) continue;
        // Right after the bindings: ENTER or no key cannot open the menu.
        if (MenuKeyVK == kReservedMenuKey || MenuKeyVK < 1) MenuKeyVK = kDefaultMenuKey;
        written = migrateBindings();
    }
    return written;
}

bool saveSettings() {
    bool written = true;
    for (const Setting& s : kSettings) {
        switch (s.kind) {
            case SettingKind::Float: {
                char text[kFloatWriteSize];
                formatCut(text, sizeof text, "%.4f", static_cast<double>(*s.floatField));
                written &= osWriteProfileString(kSection, s.key, text, settingsPath);
                break;
            }
            case SettingKind::Flag:
                written &= osWriteProfileString(kSection, s.key, *s.flagField ? "1" : "0", settingsPath);
                break;
            case SettingKind::Int:
                written &= writeInt(s.key, *s.intField);
                break;
        }
    }
    return written;
}

#include "menu/menu_items.h"

#include <cstring>

#include "settings/settings.h"

namespace {

constexpr MenuItem section(const char* name) { return {name, MenuItemKind::Section, nullptr, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0, nullptr}; }
constexpr MenuItem toggle(const char* name, uint8_t* flag) { return {name, MenuItemKind::Toggle, nullptr, 0, 0, 0, 0, nullptr, nullptr, flag, nullptr, 0, nullptr}; }
constexpr MenuItem reveal(const char* name, uint8_t* flag) { return {name, MenuItemKind::RevealToggle, nullptr, 0, 0, 0, 0, nullptr, nullptr, flag, nullptr, 0, nullptr}; }
constexpr MenuItem slider(const char* name, float* value, float lo, float hi, float step, float def, const char* format,
                          const char* unit) {
    return {name, MenuItemKind::Slider, value, lo, hi, step, def, format, unit, nullptr, nullptr, 0, nullptr};
}
constexpr MenuItem plain(const char* name, MenuItemKind kind) { return {name, kind, nullptr, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0, nullptr}; }

// Credits: eight contributor handles (rows 80 to 87), each thanked by its help text.
#define ZV_CONTRIBUTOR_1 "BetaTester_01"
#define ZV_CONTRIBUTOR_2 "BetaTester_02"
#define ZV_CONTRIBUTOR_3 "BetaTester_03"
#define ZV_CONTRIBUTOR_4 "BetaTester_04"
#define ZV_CONTRIBUTOR_5 "BetaTester_05"
#define ZV_CONTRIBUTOR_6 "BetaTester_06"
#define ZV_CONTRIBUTOR_7 "BetaTester_07"
#define ZV_CONTRIBUTOR_8 "BetaTester_08"
#define ZV_THANK_CONTRIBUTOR(name) "Thank you for your feedback and suggestions, " name "!"

}  // namespace

constexpr MenuItem menuItems[kMenuRowCount] = {
    section("GENERAL"),                                                                       // 0
    toggle("Reticle", &Crosshair),                                                            // 1
    toggle("Only When Aimed", &CrosshairOnlyAimed),                                           // 2
    toggle("Only When ADS", &CrosshairOnlyADS),                                               // 3
    toggle("ADS Zoom", &ADSGameView),                                                         // 4
    slider("ADS Zoom Amount", &ADSZoomAmount, 5.0f, 50.0f, 1.0f, 25.0f, "%.0f", "deg"),       // 5
    toggle("Sniper Scope View", &SniperGameView),                                             // 6
    plain("Menu Key", MenuItemKind::KeyBinding),                                              // 7
    plain("Controller Button", MenuItemKind::PadBinding),                                     // 8
    toggle("V1 Weapon Sounds", &CinematicAudio),                                              // 9
    section("ON FOOT"),                                                                       // 10
    slider("FOV", &FOV, 30.0f, 120.0f, 1.0f, 90.0f, "%.0f", ""),                              // 11
    slider("Height", &Height, -0.5f, 0.8f, 0.01f, 0.1f, "%+.2f", "m"),                        // 12
    slider("Side", &Side, -0.6f, 0.6f, 0.01f, 0.0f, "%+.2f", "m"),                            // 13
    slider("Forward", &Forward, -0.6f, 0.6f, 0.01f, 0.0f, "%+.2f", "m"),                      // 14
    toggle("Show Head", &ShowHead),                                                           // 15
    toggle("Auto-Turn", &AutoTurn),                                                           // 16
    slider("Turn Threshold", &AutoTurnAngle, 10.0f, 90.0f, 5.0f, 45.0f, "%.0f", "deg"),       // 17
    toggle("Head Bobbing", &HeadBob),                                                         // 18
    slider("Bob Intensity", &HeadBobAmount, 0.1f, 2.0f, 0.05f, 0.35f, "%.2f", "x"),           // 19
    slider("Bob Speed", &HeadBobSpeed, 0.25f, 3.0f, 0.05f, 1.0f, "%.2f", "x"),                // 20
    toggle("Crouch Lower", &CrouchLower),                                                     // 21
    slider("Crouch Amount", &CrouchLowerAmount, 0.05f, 0.6f, 0.05f, 0.18f, "%.2f", "m"),      // 22
    section("VEHICLE"),                                                                       // 23
    toggle("Veh Cam", &VehCam),                                                               // 24
    slider("Veh FOV", &Veh_FOV, 30.0f, 120.0f, 1.0f, 85.0f, "%.0f", ""),                      // 25
    slider("Veh Height", &Veh_Height, -0.8f, 1.2f, 0.01f, 0.08f, "%+.2f", "m"),               // 26
    slider("Veh Side", &Veh_Side, -1.5f, 1.5f, 0.01f, 0.0f, "%+.2f", "m"),                    // 27
    slider("Veh Forward", &Veh_Forward, -1.5f, 1.5f, 0.01f, 0.0f, "%+.2f", "m"),              // 28
    slider("Veh Cam Sensitivity", &Veh_Sensitivity, 1.0f, 15.0f, 0.5f, 6.0f, "%.1f", "x"),    // 29
    toggle("Veh Show Head", &Veh_ShowHead),                                                   // 30
    toggle("Veh Cam Inertia", &Veh_CamInertia),                                               // 31
    slider("Veh Inertia Amount", &Veh_CamInertiaAmount, 0.0f, 3.0f, 0.1f, 1.0f, "%.1f", "x"), // 32
    toggle("Free Look", &FreeLook),                                                           // 33
    slider("Free Look Sens", &FreeLookSensitivity, 1.0f, 15.0f, 0.5f, 6.0f, "%.1f", "x"),     // 34
    slider("Veh Yaw Limit", &Veh_YawLimit, 10.0f, 180.0f, 5.0f, 90.0f, "%.0f", "deg"),        // 35
    section("MOTORCYCLE"),                                                                    // 36
    toggle("MC Cam", &MC_Cam),                                                                // 37
    slider("MC FOV", &MC_FOV, 30.0f, 120.0f, 1.0f, 100.0f, "%.0f", ""),                       // 38
    slider("MC Height", &MC_Height, -0.8f, 1.2f, 0.01f, 0.25f, "%+.2f", "m"),                 // 39
    slider("MC Side", &MC_Side, -1.5f, 1.5f, 0.01f, 0.0f, "%+.2f", "m"),                      // 40
    slider("MC Forward", &MC_Forward, -1.5f, 1.5f, 0.01f, 0.25f, "%+.2f", "m"),               // 41
    slider("MC Cam Sensitivity", &MC_Sensitivity, 1.0f, 15.0f, 0.5f, 8.0f, "%.1f", "x"),      // 42
    toggle("MC Show Head", &MC_ShowHead),                                                     // 43
    toggle("MC Cam Inertia", &MC_CamInertia),                                                 // 44
    slider("MC Inertia Amount", &MC_CamInertiaAmount, 0.0f, 3.0f, 0.1f, 1.0f, "%.1f", "x"),   // 45
    toggle("MC Free Look", &MC_FreeLook),                                                     // 46
    slider("MC Free Look Sens", &MC_FreeLookSensitivity, 1.0f, 15.0f, 0.5f, 6.0f, "%.1f", "x"), // 47
    slider("MC Yaw Limit", &MC_YawLimit, 10.0f, 180.0f, 5.0f, 70.0f, "%.0f", "deg"),          // 48
    section("WEAPON"),                                                                        // 49
    toggle("Weapon Lead", &WeaponLead),                                                       // 50
    slider("Lead Lag", &WeaponLeadLag, 0.3f, 0.9f, 0.01f, 0.85f, "%.2f", ""),                 // 51
    toggle("Aim Sway", &AimSway),                                                             // 52
    slider("Sway Amount", &AimSwayAmount, 0.1f, 4.0f, 0.1f, 1.2f, "%.2f", "deg"),             // 53
    toggle("Recoil Shake", &RecoilShake),                                                     // 54
    slider("Recoil Amount", &RecoilAmount, 0.1f, 4.0f, 0.1f, 1.0f, "%.2f", "x"),              // 55
    section("BODYCAM"),                                                                       // 56
    toggle("Bodycam Enabled", &BodycamMaster),                                                // 57
    toggle("Weapon Recoil", &BodycamRecoil),                                                  // 58
    slider("Recoil Strength", &BodycamRecoilAmount, 0.1f, 4.0f, 0.1f, 1.0f, "%.2f", "x"),     // 59
    reveal("Per-Weapon Recoil", &ShowWeaponRecoil),                                           // 60
    slider("Recoil: Pistol", &RecPistol, 0.0f, 5.0f, 0.1f, 5.0f, "%.1f", "x"),                // 61
    slider("Recoil: SMG", &RecSMG, 0.0f, 5.0f, 0.1f, 1.5f, "%.1f", "x"),                      // 62
    slider("Recoil: Rifle", &RecRifle, 0.0f, 5.0f, 0.1f, 1.5f, "%.1f", "x"),                  // 63
    slider("Recoil: MG", &RecMG, 0.0f, 5.0f, 0.1f, 2.0f, "%.1f", "x"),                        // 64
    slider("Recoil: Shotgun", &RecShotgun, 0.0f, 5.0f, 0.1f, 5.0f, "%.1f", "x"),              // 65
    slider("Recoil: Sniper", &RecSniper, 0.0f, 5.0f, 0.1f, 5.0f, "%.1f", "x"),                // 66
    slider("Recoil: Heavy", &RecHeavy, 0.0f, 5.0f, 0.1f, 1.5f, "%.1f", "x"),                  // 67
    toggle("Smooth Follow", &SmoothFollow),                                                   // 68
    slider("Follow Amount", &FollowAmount, 0.0f, 0.95f, 0.05f, 0.85f, "%.2f", ""),            // 69
    toggle("Deadzone", &Deadzone),                                                            // 70
    slider("Deadzone Angle", &DeadzoneAngle, 0.0f, 15.0f, 0.5f, 10.0f, "%.1f", "deg"),        // 71
    toggle("3D Hand Motion", &Hand3D),                                                        // 72
    slider("3D Motion Amount", &Hand3DAmount, 0.1f, 2.0f, 0.05f, 1.3f, "%.2f", "x"),          // 73
    section("ACTIONS"),                                                                       // 74
    plain("Reset All", MenuItemKind::Action),                                                 // 75
    section("SPECIAL THANKS"),                                                                // 76
    plain("\u2014 KINDORA SUPPORTERS \u2014", MenuItemKind::Label),                            // 77
    plain("Example", MenuItemKind::SupporterName),                                            // 78
    plain("CONTRIBUTORS  -  not Kindora supporters, but people who helped improve the mod", MenuItemKind::Label),  // 79
    plain(ZV_CONTRIBUTOR_1, MenuItemKind::ContributorName),                                   // 80
    plain(ZV_CONTRIBUTOR_2, MenuItemKind::ContributorName),                                   // 81
    plain(ZV_CONTRIBUTOR_3, MenuItemKind::ContributorName),                                   // 82
    plain(ZV_CONTRIBUTOR_4, MenuItemKind::ContributorName),                                   // 83
    plain(ZV_CONTRIBUTOR_5, MenuItemKind::ContributorName),                                   // 84
    plain(ZV_CONTRIBUTOR_6, MenuItemKind::ContributorName),                                   // 85
    plain(ZV_CONTRIBUTOR_7, MenuItemKind::ContributorName),                                   // 86
    plain(ZV_CONTRIBUTOR_8, MenuItemKind::ContributorName),                                   // 87
    plain("NOTE: Want your name edited or removed? Let me know.", MenuItemKind::Label),       // 88
};

namespace {

constexpr const char* kHelpTexts[] = {
    "General settings: HUD, menu key, and audio options.",
    "Shows a dot crosshair on screen while holding a weapon.",
    "Crosshair appears only while the aim button is held.",
    "Crosshair appears only when truly aiming down sights (ADS). While aiming, scroll the mouse wheel forward (or press R3 on a controller) to enter ADS and show it; scroll back / R3 again to hide it.",
    "ADS Zoom: while aiming, scroll forward (or press R3) to smoothly zoom the FOV in (like aiming down sights); scroll back / R3 again to zoom back out. Smooth, no jump. Independent of the crosshair.",
    "ADS Zoom Amount: how far the FOV zooms in when ADS Zoom is active, in degrees. Higher = closer zoom. Default 25.",
    "Sniper Scope View: while aiming a sniper rifle, switch to the game's own first-person view so the scope works; release aim to return to the mod's camera. Only affects sniper-group weapons.",
    "Hotkey to open or close this settings menu.",
    "Controller Button: press ENTER/A, then press a controller button (Start, Back, LB, RB, A, D-pad up) to open the menu with the pad. Default: Start. The menu is fully usable with the controller.",
    "Uses weapon audio from V1.0.",
    "Camera position and behaviour while the player is on foot.",
    "Field of View while on foot.",
    "Vertical offset.",
    "Horizontal side offset.",
    "Forward/backward offset.",
    "Show or hide the player character's head in first person.",
    "Automatically rotates the body to face the camera direction.",
    "Max angle (deg) before auto-turn kicks in to align body.",
    "Procedural gait simulation: camera rises between foot plants, dips on impact, rolls with each stride, and leans forward at speed. Includes idle breathing sway while standing. Suppressed while aiming.",
    "Controls the intensity of ALL head bob components. At 1.00x, amplitude matches realistic human stride biomechanics. Sprint bounce is automatically capped to prevent motion sickness regardless of this value. 0.10 = barely noticeable, 2.00 = cinematic.",
    "Adjusts the stride frequency of head bob. At 1.00x, the speed curve matches real human cadence: ~1.7 Hz walk, ~2.5 Hz jog, ~3.4 Hz sprint (flattened \u2014 real cadence tapers at high speed). 0.25 = slow dreamy sway, 3.00 = frantic fast pace.",
    "Lowers the camera a little when you enter stealth/crouch, easing down and back up smoothly. Adds to the natural body drop.",
    "How far the camera drops while crouched, in metres. Lower it if the view sits too low; raise it for a deeper duck.",
    "Camera settings when the player is inside any vehicle (cars, boats, planes).",
    "Enable or disable first-person camera while in a vehicle.",
    "Field of View inside a vehicle.",
    "Vertical camera offset inside the vehicle.",
    "Side offset inside the vehicle.",
    "Forward/backward offset inside the vehicle.",
    "Mouse sensitivity for looking around inside vehicles.",
    "Show or hide the driver head while inside a vehicle.",
    "Camera shifts forward on hard braking, reverse, or a crash, simulating inertia.",
    "Strength multiplier for the vehicle camera inertia effect. 0 = off, 1 = default.",
    "Lets you look around freely in the vehicle.",
    "Sensitivity for free-look.",
    "Max angle (deg) the camera can rotate left or right while driving (non-aiming). Default 90 deg.",
    "Camera settings specific to motorcycles and bicycles.",
    "Enable or disable first-person camera on motorcycles.",
    "Field of View while riding a motorcycle.",
    "Vertical camera offset on the motorcycle.",
    "Side offset on the motorcycle.",
    "Forward/backward offset on the motorcycle.",
    "Mouse sensitivity for looking around while on a motorcycle.",
    "Show or hide the rider head on a motorcycle.",
    "Camera shifts forward on braking, reverse, or a crash on a motorcycle.",
    "Strength multiplier for the motorcycle camera inertia. 0 = off, 1 = default.",
    "Lets you look around freely while riding a motorcycle.",
    "Sensitivity for free-look on motorcycle.",
    "Max angle (deg) the camera can rotate left or right while riding (non-aiming). Default 90 deg.",
    "Gunplay & Weapon Realism Settings while on foot.",
    "Adds realistic weapon lead, allowing weapons to move slightly ahead of the camera.",
    "Control the Lead lag!",
    "Adds subtle oscillating sway when aiming down sights.",
    "Controls the amplitude (strength) of the aim sway effect.",
    "Shakes the camera when firing, kicking the view upward with a small lateral jolt that springs back. Builds up during automatic fire and settles when you stop. Skips melee and thrown weapons. Off by default.",
    "Controls the strength of the recoil camera shake. 0.10 = barely noticeable nudge, 4.00 = heavy cinematic kick. Default 1.00.",
    "Bodycam camera feel: recoil, smooth follow, deadzone and 3D hand motion.",
    "Bodycam Enabled: master switch for the bodycam camera feel (recoil, smooth follow, deadzone, 3D motion). Also turns the ReShade Shutterhaze effect on/off (F10). Turn this on first.",
    "Weapon Recoil: the weapon kicks the camera up with a small random yaw/roll on every shot, then settles back \u2014 so the gun moves like a real bodycam feed instead of looking frozen. Needs Bodycam Enabled on.",
    "Recoil Strength: how hard the bodycam recoil kicks. 0.10 = barely a nudge, 1.00 = default, 4.00 = heavy kick. Needs Weapon Recoil on.",
    "Per-Weapon Recoil: turn ON to reveal a separate recoil slider for each weapon type. OFF hides them to keep the list short.",
    "Recoil for PISTOLS only. 0 = none, 5 = max. Independent of the others.",
    "Recoil for SMGs only. 0 = none, 5 = max.",
    "Recoil for RIFLES only. 0 = none, 5 = max.",
    "Recoil for MACHINE GUNS only. 0 = none, 5 = max.",
    "Recoil for SHOTGUNS only. 0 = none, 5 = max.",
    "Recoil for SNIPERS only. 0 = none, 5 = max.",
    "Recoil for HEAVY weapons (RPG/launchers). 0 = none, 5 = max.",
    "Smooth Follow: the camera drifts and lags behind your aim instead of snapping, like a handheld bodycam. Needs Bodycam Enabled on.",
    "Follow Amount: how heavy the lag is. 0.00 = instant, 0.95 = very floaty. ~0.85 feels like a real bodycam. Needs Bodycam Enabled on.",
    "Deadzone: a free-aim margin \u2014 small aim moves don't turn the camera right away, giving a loose handheld feel. Needs Bodycam Enabled on.",
    "Deadzone Angle: size of the free-aim margin in degrees. Larger = more loose play before the camera follows. Needs Bodycam Enabled on.",
    "Gives the free-aim hand real 3D depth: as the weapon swings inside the deadzone, the camera drifts sideways, rises and leans WITH the hand (parallax + body lean) instead of the hand just rotating flat. Works best with Bodycam Enabled + Deadzone or Smooth Follow on.",
    "Strength of the 3D hand motion. 0.10 = barely visible, 1.30 = natural body movement, 2.00 = exaggerated handheld feel.",
    "Utility actions for managing settings.",
    "Resets all settings back to their default values.",
    "People who helped improve Zentravisor with their valuable feedback and suggestions.",
    "Supporters who back Zentravisor on Kindora. Thank you for keeping the project alive!",
    "Thank you for your Kindora support, Example!",
    "These contributors aren't Kindora supporters, but they helped improve the mod with their feedback and suggestions.",
    ZV_THANK_CONTRIBUTOR(ZV_CONTRIBUTOR_1),
    ZV_THANK_CONTRIBUTOR(ZV_CONTRIBUTOR_2),
    ZV_THANK_CONTRIBUTOR(ZV_CONTRIBUTOR_3),
    ZV_THANK_CONTRIBUTOR(ZV_CONTRIBUTOR_4),
    ZV_THANK_CONTRIBUTOR(ZV_CONTRIBUTOR_5),
    ZV_THANK_CONTRIBUTOR(ZV_CONTRIBUTOR_6),
    ZV_THANK_CONTRIBUTOR(ZV_CONTRIBUTOR_7),
    ZV_THANK_CONTRIBUTOR(ZV_CONTRIBUTOR_8),
    "If you would like your name changed or removed, just let the developer know.",
};
static_assert(sizeof kHelpTexts / sizeof kHelpTexts[0] == kMenuRowCount, "one help text per menu row");

constexpr bool sameText(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

// The eight section headers sit at fixed rows; the credits, the reveal row and
// the per-weapon rows are found by kind and setting, so pin what the code relies on.
constexpr bool headersAt(const int (&rows)[8], const char* const (&names)[8]) {
    int sections = 0;
    for (const MenuItem& item : menuItems) sections += item.kind == MenuItemKind::Section ? 1 : 0;
    if (sections != 8) return false;
    for (int k = 0; k < 8; ++k)
        if (menuItems[rows[k]].kind != MenuItemKind::Section || !sameText(menuItems[rows[k]].name, names[k])) return false;
    return true;
}
static_assert(headersAt({0, 10, 23, 36, 49, 56, 74, 76},
                        {"GENERAL", "ON FOOT", "VEHICLE", "MOTORCYCLE", "WEAPON", "BODYCAM", "ACTIONS", "SPECIAL THANKS"}),
              "the eight sections and their header rows");
static_assert(menuItems[60].kind == MenuItemKind::RevealToggle && menuItems[60].flag == &ShowWeaponRecoil);
static_assert(menuItems[75].kind == MenuItemKind::Action && sameText(menuItems[75].name, "Reset All"));

constexpr bool slidersWellFormed() {
    for (const MenuItem& item : menuItems) {
        if (item.kind != MenuItemKind::Slider) continue;
        if (!item.format || !item.unit) return false;
        if (!(item.min < item.max) || !(item.step > 0.0f)) return false;
        if (item.defaultValue < item.min || item.defaultValue > item.max) return false;
    }
    return true;
}
static_assert(slidersWellFormed(), "every slider has a format, a unit and a real range");

bool isPerWeaponRecoilRow(const MenuItem& item) {
    const float* v = item.value;
    return v && (v == &RecPistol || v == &RecSMG || v == &RecRifle || v == &RecMG || v == &RecShotgun ||
                 v == &RecSniper || v == &RecHeavy);
}

// The nearest Section row above a row, or -1.
int32_t owningSection(int32_t row) {
    for (int32_t r = row - 1; r >= 0; --r)
        if (menuItems[r].kind == MenuItemKind::Section) return r;
    return -1;
}

bool isActionsSection(int32_t header) { return header >= 0 && std::strcmp(menuItems[header].name, "ACTIONS") == 0; }

}  // namespace

const char* menuHelpText(int32_t row) { return row >= 0 && row < kMenuRowCount ? kHelpTexts[row] : ""; }

bool isMenuRowVisible(int32_t row) {
    if (row < 0 || row >= kMenuRowCount) return false;
    const MenuItem& item = menuItems[row];
    if (isPerWeaponRecoilRow(item) && ShowWeaponRecoil != 1) return false;
    bool header = item.kind == MenuItemKind::Section;
    if (menuShared.openSection < 0) {
        // The section list: the headers, with the actions listed in place of their own header.
        if (header) return !isActionsSection(row);
        return isActionsSection(owningSection(row));
    }
    if (header) return false;
    int32_t owner = owningSection(row);
    return owner >= 0 && owner == menuShared.openSection;
}

int32_t sectionRowCount(int32_t headerRow) {
    int32_t count = 0;
    for (int32_t r = headerRow + 1; r < kMenuRowCount && menuItems[r].kind != MenuItemKind::Section; ++r) ++count;
    return count;
}

const char* sectionSubtitle(const char* name) {
    struct Subtitle {
        const char* section;
        const char* subtitle;
    };
    static constexpr Subtitle kSubtitles[] = {
        {"GENERAL", "Reticle, hotkey & audio"},  {"ON FOOT", "FOV, offsets & head bob"},
        {"VEHICLE", "Cab camera & free look"},   {"MOTORCYCLE", "Bike camera & free look"},
        {"WEAPON", "Lead, sway & recoil"},       {"BODYCAM", "Lens, vignette & effects"},
    };
    for (const Subtitle& s : kSubtitles)
        if (name && std::strcmp(name, s.section) == 0) return s.subtitle;
    return "";
}

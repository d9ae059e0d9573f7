#include "menu/menu_items.h"

#include <cstring>

#include "settings/settings.h"

namespace {

constexpr MenuItem plain(const char* name, MenuItemKind kind, const char* help) {
    return {name, kind, nullptr, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0, nullptr, help};
}
constexpr MenuItem section(const char* name, const char* help) { return plain(name, MenuItemKind::Section, help); }
constexpr MenuItem toggle(const char* name, setting::Id flag, const char* help) {
    MenuItem item = plain(name, MenuItemKind::Toggle, help);
    item.flag = settingRecord(flag).flagField;
    return item;
}
constexpr MenuItem reveal(const char* name, setting::Id flag, const char* help) {
    MenuItem item = plain(name, MenuItemKind::RevealToggle, help);
    item.flag = settingRecord(flag).flagField;
    return item;
}
// A slider's range and default are those of the setting it edits; its step,
// format and unit are the menu's own.
constexpr MenuItem slider(const char* name, setting::Id value, float step, const char* format, const char* unit,
                          const char* help) {
    const Setting& s = settingRecord(value);
    return {name, MenuItemKind::Slider, s.floatField, s.minimum, s.maximum, step, s.resetAll, format, unit,
            nullptr, nullptr, 0, nullptr, help};
}

}  // namespace

// A credits line naming a contributor, whose help text thanks them by name.
#define ZV_CONTRIBUTOR(name) \
    plain(name, MenuItemKind::ContributorName, "Thank you for your feedback and suggestions, " name "!")

constexpr MenuItem menuItems[kMenuRowCount] = {
    section("GENERAL",
            "General settings: HUD, menu key, and audio options."),
    toggle("Reticle", setting::Crosshair,
           "Shows a dot crosshair on screen while holding a weapon."),
    toggle("Only When Aimed", setting::CrosshairOnlyAimed,
           "Crosshair appears only while the aim button is held."),
    toggle("Only When ADS", setting::CrosshairOnlyADS,
           "Crosshair appears only when truly aiming down sights (ADS). While aiming, scroll the mouse wheel forward (or press R3 on a controller) to enter ADS and show it; scroll back / R3 again to hide it."),
    toggle("ADS Zoom", setting::ADSGameView,
           "ADS Zoom: while aiming, scroll forward (or press R3) to smoothly zoom the FOV in (like aiming down sights); scroll back / R3 again to zoom back out. Smooth, no jump. Independent of the crosshair."),
    slider("ADS Zoom Amount", setting::ADSZoomAmount, 1.0f, "%.0f", "deg",
           "ADS Zoom Amount: how far the FOV zooms in when ADS Zoom is active, in degrees. Higher = closer zoom. Default 25."),
    toggle("Sniper Scope View", setting::SniperGameView,
           "Sniper Scope View: while aiming a sniper rifle, switch to the game's own first-person view so the scope works; release aim to return to the mod's camera. Only affects sniper-group weapons."),
    plain("Menu Key", MenuItemKind::KeyBinding,
          "Hotkey to open or close this settings menu."),
    plain("Controller Button", MenuItemKind::PadBinding,
          "Controller Button: press ENTER/A, then press a controller button (Start, Back, LB, RB, A, D-pad up) to open the menu with the pad. Default: Start. The menu is fully usable with the controller."),
    toggle("V1 Weapon Sounds", setting::CinematicAudio,
           "Uses weapon audio from V1.0."),
    section("ON FOOT",
            "Camera position and behaviour while the player is on foot."),
    slider("FOV", setting::FOV, 1.0f, "%.0f", "",
           "Field of View while on foot."),
    slider("Height", setting::Height, 0.01f, "%+.2f", "m",
           "Vertical offset."),
    slider("Side", setting::Side, 0.01f, "%+.2f", "m",
           "Horizontal side offset."),
    slider("Forward", setting::Forward, 0.01f, "%+.2f", "m",
           "Forward/backward offset."),
    toggle("Show Head", setting::ShowHead,
           "Show or hide the player character's head in first person."),
    toggle("Auto-Turn", setting::AutoTurn,
           "Automatically rotates the body to face the camera direction."),
    slider("Turn Threshold", setting::AutoTurnAngle, 5.0f, "%.0f", "deg",
           "Max angle (deg) before auto-turn kicks in to align body."),
    toggle("Head Bobbing", setting::HeadBob,
           "Procedural gait simulation: camera rises between foot plants, dips on impact, rolls with each stride, and leans forward at speed. Includes idle breathing sway while standing. Suppressed while aiming."),
    slider("Bob Intensity", setting::HeadBobAmount, 0.05f, "%.2f", "x",
           "Controls the intensity of ALL head bob components. At 1.00x, amplitude matches realistic human stride biomechanics. Sprint bounce is automatically capped to prevent motion sickness regardless of this value. 0.10 = barely noticeable, 2.00 = cinematic."),
    slider("Bob Speed", setting::HeadBobSpeed, 0.05f, "%.2f", "x",
           "Adjusts the stride frequency of head bob. At 1.00x, the speed curve matches real human cadence: ~1.7 Hz walk, ~2.5 Hz jog, ~3.4 Hz sprint (flattened \u2014 real cadence tapers at high speed). 0.25 = slow dreamy sway, 3.00 = frantic fast pace."),
    toggle("Crouch Lower", setting::CrouchLower,
           "Lowers the camera a little when you enter stealth/crouch, easing down and back up smoothly. Adds to the natural body drop."),
    slider("Crouch Amount", setting::CrouchLowerAmount, 0.05f, "%.2f", "m",
           "How far the camera drops while crouched, in metres. Lower it if the view sits too low; raise it for a deeper duck."),
    section("VEHICLE",
            "Camera settings when the player is inside any vehicle (cars, boats, planes)."),
    toggle("Veh Cam", setting::VehCam,
           "Enable or disable first-person camera while in a vehicle."),
    slider("Veh FOV", setting::Veh_FOV, 1.0f, "%.0f", "",
           "Field of View inside a vehicle."),
    slider("Veh Height", setting::Veh_Height, 0.01f, "%+.2f", "m",
           "Vertical camera offset inside the vehicle."),
    slider("Veh Side", setting::Veh_Side, 0.01f, "%+.2f", "m",
           "Side offset inside the vehicle."),
    slider("Veh Forward", setting::Veh_Forward, 0.01f, "%+.2f", "m",
           "Forward/backward offset inside the vehicle."),
    slider("Veh Cam Sensitivity", setting::Veh_Sensitivity, 0.5f, "%.1f", "x",
           "Mouse sensitivity for looking around inside vehicles."),
    toggle("Veh Show Head", setting::Veh_ShowHead,
           "Show or hide the driver head while inside a vehicle."),
    toggle("Veh Cam Inertia", setting::Veh_CamInertia,
           "Camera shifts forward on hard braking, reverse, or a crash, simulating inertia."),
    slider("Veh Inertia Amount", setting::Veh_CamInertiaAmount, 0.1f, "%.1f", "x",
           "Strength multiplier for the vehicle camera inertia effect. 0 = off, 1 = default."),
    toggle("Free Look", setting::FreeLook,
           "Lets you look around freely in the vehicle."),
    slider("Free Look Sens", setting::FreeLookSensitivity, 0.5f, "%.1f", "x",
           "Sensitivity for free-look."),
    slider("Veh Yaw Limit", setting::Veh_YawLimit, 5.0f, "%.0f", "deg",
           "Max angle (deg) the camera can rotate left or right while driving (non-aiming). Default 90 deg."),
    section("MOTORCYCLE",
            "Camera settings specific to motorcycles and bicycles."),
    toggle("MC Cam", setting::MC_Cam,
           "Enable or disable first-person camera on motorcycles."),
    slider("MC FOV", setting::MC_FOV, 1.0f, "%.0f", "",
           "Field of View while riding a motorcycle."),
    slider("MC Height", setting::MC_Height, 0.01f, "%+.2f", "m",
           "Vertical camera offset on the motorcycle."),
    slider("MC Side", setting::MC_Side, 0.01f, "%+.2f", "m",
           "Side offset on the motorcycle."),
    slider("MC Forward", setting::MC_Forward, 0.01f, "%+.2f", "m",
           "Forward/backward offset on the motorcycle."),
    slider("MC Cam Sensitivity", setting::MC_Sensitivity, 0.5f, "%.1f", "x",
           "Mouse sensitivity for looking around while on a motorcycle."),
    toggle("MC Show Head", setting::MC_ShowHead,
           "Show or hide the rider head on a motorcycle."),
    toggle("MC Cam Inertia", setting::MC_CamInertia,
           "Camera shifts forward on braking, reverse, or a crash on a motorcycle."),
    slider("MC Inertia Amount", setting::MC_CamInertiaAmount, 0.1f, "%.1f", "x",
           "Strength multiplier for the motorcycle camera inertia. 0 = off, 1 = default."),
    toggle("MC Free Look", setting::MC_FreeLook,
           "Lets you look around freely while riding a motorcycle."),
    slider("MC Free Look Sens", setting::MC_FreeLookSensitivity, 0.5f, "%.1f", "x",
           "Sensitivity for free-look on motorcycle."),
    slider("MC Yaw Limit", setting::MC_YawLimit, 5.0f, "%.0f", "deg",
           "Max angle (deg) the camera can rotate left or right while riding (non-aiming). Default 90 deg."),
    section("WEAPON",
            "Gunplay & Weapon Realism Settings while on foot."),
    toggle("Weapon Lead", setting::WeaponLead,
           "Adds realistic weapon lead, allowing weapons to move slightly ahead of the camera."),
    slider("Lead Lag", setting::WeaponLeadLag, 0.01f, "%.2f", "",
           "Control the Lead lag!"),
    toggle("Aim Sway", setting::AimSway,
           "Adds subtle oscillating sway when aiming down sights."),
    slider("Sway Amount", setting::AimSwayAmount, 0.1f, "%.2f", "deg",
           "Controls the amplitude (strength) of the aim sway effect."),
    toggle("Recoil Shake", setting::RecoilShake,
           "Shakes the camera when firing, kicking the view upward with a small lateral jolt that springs back. Builds up during automatic fire and settles when you stop. Skips melee and thrown weapons. Off by default."),
    slider("Recoil Amount", setting::RecoilAmount, 0.1f, "%.2f", "x",
           "Controls the strength of the recoil camera shake. 0.10 = barely noticeable nudge, 4.00 = heavy cinematic kick. Default 1.00."),
    section("BODYCAM",
            "Bodycam camera feel: recoil, smooth follow, deadzone and 3D hand motion."),
    toggle("Bodycam Enabled", setting::BodycamMaster,
           "Bodycam Enabled: master switch for the bodycam camera feel (recoil, smooth follow, deadzone, 3D motion). Also turns the ReShade Shutterhaze effect on/off (F10). Turn this on first."),
    toggle("Weapon Recoil", setting::BodycamRecoil,
           "Weapon Recoil: the weapon kicks the camera up with a small random yaw/roll on every shot, then settles back \u2014 so the gun moves like a real bodycam feed instead of looking frozen. Needs Bodycam Enabled on."),
    slider("Recoil Strength", setting::BodycamRecoilAmount, 0.1f, "%.2f", "x",
           "Recoil Strength: how hard the bodycam recoil kicks. 0.10 = barely a nudge, 1.00 = default, 4.00 = heavy kick. Needs Weapon Recoil on."),
    reveal("Per-Weapon Recoil", setting::ShowWeaponRecoil,
           "Per-Weapon Recoil: turn ON to reveal a separate recoil slider for each weapon type. OFF hides them to keep the list short."),
    slider("Recoil: Pistol", setting::RecPistol, 0.1f, "%.1f", "x",
           "Recoil for PISTOLS only. 0 = none, 5 = max. Independent of the others."),
    slider("Recoil: SMG", setting::RecSMG, 0.1f, "%.1f", "x",
           "Recoil for SMGs only. 0 = none, 5 = max."),
    slider("Recoil: Rifle", setting::RecRifle, 0.1f, "%.1f", "x",
           "Recoil for RIFLES only. 0 = none, 5 = max."),
    slider("Recoil: MG", setting::RecMG, 0.1f, "%.1f", "x",
           "Recoil for MACHINE GUNS only. 0 = none, 5 = max."),
    slider("Recoil: Shotgun", setting::RecShotgun, 0.1f, "%.1f", "x",
           "Recoil for SHOTGUNS only. 0 = none, 5 = max."),
    slider("Recoil: Sniper", setting::RecSniper, 0.1f, "%.1f", "x",
           "Recoil for SNIPERS only. 0 = none, 5 = max."),
    slider("Recoil: Heavy", setting::RecHeavy, 0.1f, "%.1f", "x",
           "Recoil for HEAVY weapons (RPG/launchers). 0 = none, 5 = max."),
    toggle("Smooth Follow", setting::SmoothFollow,
           "Smooth Follow: the camera drifts and lags behind your aim instead of snapping, like a handheld bodycam. Needs Bodycam Enabled on."),
    slider("Follow Amount", setting::FollowAmount, 0.05f, "%.2f", "",
           "Follow Amount: how heavy the lag is. 0.00 = instant, 0.95 = very floaty. ~0.85 feels like a real bodycam. Needs Bodycam Enabled on."),
    toggle("Deadzone", setting::Deadzone,
           "Deadzone: a free-aim margin \u2014 small aim moves don't turn the camera right away, giving a loose handheld feel. Needs Bodycam Enabled on."),
    slider("Deadzone Angle", setting::DeadzoneAngle, 0.5f, "%.1f", "deg",
           "Deadzone Angle: size of the free-aim margin in degrees. Larger = more loose play before the camera follows. Needs Bodycam Enabled on."),
    toggle("3D Hand Motion", setting::Hand3D,
           "Gives the free-aim hand real 3D depth: as the weapon swings inside the deadzone, the camera drifts sideways, rises and leans WITH the hand (parallax + body lean) instead of the hand just rotating flat. Works best with Bodycam Enabled + Deadzone or Smooth Follow on."),
    slider("3D Motion Amount", setting::Hand3DAmount, 0.05f, "%.2f", "x",
           "Strength of the 3D hand motion. 0.10 = barely visible, 1.30 = natural body movement, 2.00 = exaggerated handheld feel."),
    section("ACTIONS",
            "Utility actions for managing settings."),
    plain("Reset All", MenuItemKind::Action,
          "Resets all settings back to their default values."),
    section("SPECIAL THANKS",
            "People who helped improve Zentravisor with their valuable feedback and suggestions."),
    plain("\u2014 KINDORA SUPPORTERS \u2014", MenuItemKind::Label,
          "Supporters who back Zentravisor on Kindora. Thank you for keeping the project alive!"),
    plain("Example", MenuItemKind::SupporterName,
          "Thank you for your Kindora support, Example!"),
    plain("CONTRIBUTORS  -  not Kindora supporters, but people who helped improve the mod", MenuItemKind::Label,
          "These contributors aren't Kindora supporters, but they helped improve the mod with their feedback and suggestions."),
    ZV_CONTRIBUTOR("BetaTester_01"),
    ZV_CONTRIBUTOR("BetaTester_02"),
    ZV_CONTRIBUTOR("BetaTester_03"),
    ZV_CONTRIBUTOR("BetaTester_04"),
    ZV_CONTRIBUTOR("BetaTester_05"),
    ZV_CONTRIBUTOR("BetaTester_06"),
    ZV_CONTRIBUTOR("BetaTester_07"),
    ZV_CONTRIBUTOR("BetaTester_08"),
    plain("NOTE: Want your name edited or removed? Let me know.", MenuItemKind::Label,
          "If you would like your name changed or removed, just let the developer know."),
};

#undef ZV_CONTRIBUTOR

namespace {

constexpr bool sameText(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

// A declared bound fills missing rows with zeros: every row has a name and a help text.
constexpr bool everyRowFilled() {
    for (const MenuItem& item : menuItems)
        if (!item.name || !item.help || !item.help[0]) return false;
    return true;
}
static_assert(everyRowFilled(), "every menu row has a name and a help text");

// The eight sections in display order; the sessions and the section list rely on it.
constexpr bool sectionsAre(const char* const (&names)[8]) {
    int k = 0;
    for (const MenuItem& item : menuItems) {
        if (item.kind != MenuItemKind::Section) continue;
        if (k == 8 || !sameText(item.name, names[k])) return false;
        ++k;
    }
    return k == 8;
}
static_assert(sectionsAre({"GENERAL", "ON FOOT", "VEHICLE", "MOTORCYCLE", "WEAPON", "BODYCAM", "ACTIONS", "SPECIAL THANKS"}),
              "the eight sections, in order");

// Whether the table has exactly one row of a kind, and that row passes a test.
template <typename Test>
constexpr bool onlyRowOfKind(MenuItemKind kind, Test test) {
    int count = 0;
    bool passes = false;
    for (const MenuItem& item : menuItems) {
        if (item.kind != kind) continue;
        ++count;
        passes = test(item);
    }
    return count == 1 && passes;
}
// Confirming the Action row opens the "Reset All" dialog; the reveal row shows the per-weapon rows.
static_assert(onlyRowOfKind(MenuItemKind::Action, [](const MenuItem& m) { return sameText(m.name, "Reset All"); }),
              "one Action row, \"Reset All\"");
static_assert(onlyRowOfKind(MenuItemKind::RevealToggle, [](const MenuItem& m) { return m.flag == &ShowWeaponRecoil; }),
              "one reveal row, flipping ShowWeaponRecoil");

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

const char* menuHelpText(int32_t row) { return row >= 0 && row < kMenuRowCount ? menuItems[row].help : ""; }

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

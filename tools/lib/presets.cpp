#include "tools/presets.h"

#include "settings/settings_file.h"
#include "sim/scenario.h"
#include "tools/settings_template.h"

namespace presets {

const std::vector<Preset>& all() {
    static const std::vector<Preset> kPresets = {
        {"Comfort",
         "The least added motion that still reads as first person: a faint, slower head bob so that walking "
         "still reads as walking, no bodycam, recoil shake, sway or weapon lead, a wider field of view, soft "
         "vehicle inertia and the dot crosshair as a fixed point for the eye.",
         {{"FOV", 100.0f}, {"Veh_FOV", 95.0f}, {"MC_FOV", 105.0f}, {"HeadBob", 1}, {"HeadBobAmount", 0.2f},
          {"HeadBobSpeed", 0.8f}, {"RecoilShake", 0}, {"AimSway", 0}, {"WeaponLead", 0}, {"BodycamMaster", 0},
          {"Veh_CamInertiaAmount", 0.35f}, {"MC_CamInertiaAmount", 0.35f}, {"DamageGlitch", 0}, {"Crosshair", 1},
          {"CrosshairOnlyAimed", 0}}},
        {"Bodycam",
         "The full hand-held look: a strong head bob, per-shot recoil with roll, a lagging follow with an aim "
         "deadzone, 3D hand motion, aim sway, weapon lead, recoil shake, tracers and the lens effects, and "
         "strong vehicle inertia.",
         {{"FOV", 95.0f}, {"HeadBob", 1}, {"HeadBobAmount", 1.2f}, {"BodycamMaster", 1}, {"BodycamRecoil", 1},
          {"BodycamRecoilAmount", 1.3f}, {"SmoothFollow", 1}, {"FollowAmount", 0.85f}, {"Deadzone", 1},
          {"DeadzoneAngle", 8.0f}, {"Hand3D", 1}, {"Hand3DAmount", 1.5f}, {"AimSway", 1}, {"AimSwayAmount", 1.2f},
          {"WeaponLead", 1}, {"RecoilShake", 1}, {"RecoilAmount", 1.2f}, {"BulletTracers", 1},
          {"ChromaticAberration", 1}, {"FilmGrain", 1}, {"DamageGlitch", 1}, {"CrosshairOnlyAimed", 1},
          {"Veh_CamInertiaAmount", 1.5f}, {"MC_CamInertiaAmount", 1.5f}}},
        {"Cinematic",
         "A steady, filmic camera: a narrower field of view, a slow gentle bob, soft recoil, a heavy smooth "
         "follow without a deadzone, light hand motion and sway, the crosshair only when zoomed, film grain and "
         "strong vehicle inertia.",
         {{"FOV", 70.0f}, {"Veh_FOV", 65.0f}, {"MC_FOV", 75.0f}, {"HeadBob", 1}, {"HeadBobAmount", 0.35f},
          {"HeadBobSpeed", 0.65f}, {"BodycamMaster", 1}, {"BodycamRecoil", 1}, {"BodycamRecoilAmount", 0.6f},
          {"SmoothFollow", 1}, {"FollowAmount", 0.92f}, {"Deadzone", 0}, {"Hand3D", 1}, {"Hand3DAmount", 0.6f},
          {"RecoilShake", 0}, {"AimSway", 1}, {"AimSwayAmount", 0.5f}, {"CrosshairOnlyADS", 1}, {"FilmGrain", 1},
          {"CinematicAudio", 1}, {"Veh_CamInertiaAmount", 1.8f}, {"MC_CamInertiaAmount", 1.8f}}},
        {"Classic", "The plug-in's own defaults, as it writes them on its first start.", {}},
    };
    return kPresets;
}

std::string bytes(const Preset& p) {
    return templatefile::writtenAfter([&p] {
        loadSettings();
        bool known = true;
        for (const Change& c : p.changes) known = scenario::setSetting(c.key, c.value) && known;
        saveSettings();
        return known;
    });
}

}  // namespace presets

// The session player: each step becomes inputs and world changes, then frames.
#include <cmath>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "runtime/virtual_keys.h"
#include "settings/settings.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/scene.h"
#include "sim/world/stage.h"
#include "sim/world/vehicles.h"
#include "sim/world/weapons.h"

namespace scenario {
namespace {

constexpr uint32_t kMenuPressGapMs = 300;  // longer than every menu debounce
constexpr int kBoatClass = 14;
constexpr float kGaitRatio[] = {0.0f, 1.0f, 2.0f, 3.0f};  // move blend ratio: still, walk, jog, sprint

// A value moved linearly over time, applied before each frame.
struct Ramp {
    bool active = false;
    double from = 0.0, to = 0.0;
    uint32_t startMs = 0, lengthMs = 0;
    void (*apply)(double value) = nullptr;
};

uint32_t milliseconds(const Duration& d) {
    return d.frames ? static_cast<uint32_t>(d.amount * sim::os.frameUs / 1000) : d.amount;
}

struct Player {
    FrameObserver observer = nullptr;
    void* context = nullptr;
    const Step* step = nullptr;
    std::string pendingMark;
    bool hasMark = false;
    Ramp yaw, pitch;  // the game camera turning, each axis on its own
    uint32_t frameUs = 0;     // PlayOptions::frameUs
    bool skipSettings = false;
    bool settingsOnlyAtTop = false;    // the plug-in read its settings from a file before the first step
    bool pastLeadingSettings = false;  // a step other than "set" has been played
    ShotWriter shot = nullptr;

    // Where a turn stands at the coming frame's tick.
    static void advance(Ramp& turn) {
        if (!turn.active) return;
        const double since = static_cast<uint32_t>(sim::now() - turn.startMs) + sim::os.frameUs / 1000.0;
        double t = turn.lengthMs == 0 ? 1.0 : std::min(1.0, since / turn.lengthMs);
        turn.apply(turn.from + (turn.to - turn.from) * t);
        if (t >= 1.0) turn.active = false;
    }
    void frame() {
        advance(yaw);
        advance(pitch);
        sim::frame();
        FrameInfo info{step, hasMark ? &pendingMark : nullptr};
        if (observer) observer(context, info);
        hasMark = false;
    }
    void frames(uint32_t n) {
        for (uint32_t k = 0; k < n; ++k) frame();
    }
    // Runs frames until the duration has passed; at least one frame for a nonzero one.
    void run(const Duration& d) {
        if (d.frames) return frames(d.amount);
        uint32_t start = sim::now();
        while (sim::now() - start < d.amount) frame();
    }
    void press(int key, const Step& s) {
        sim::holdKey(key);
        s.hasDuration ? run(s.duration) : frame();
        sim::releaseKey(key);
        frame();
    }
};

int menuKey(const std::string& action) {
    if (action == "open" || action == "close") return MenuKeyVK;
    if (action == "up") return kVkUp;
    if (action == "down") return kVkDown;
    if (action == "left") return kVkLeft;
    if (action == "right") return kVkRight;
    if (action == "enter") return kVkEnter;
    if (action == "back") return kVkBackspace;
    return kVkNumpad5;  // reset-value
}

// Plays one step; an empty result means it was played.
std::string playStep(Player& p, const Step& s) {
    switch (s.verb) {
        case Verb::FrameMs:
            if (p.frameUs == 0) sim::setFrameMs(s.duration.amount);
            return "";
        case Verb::Wait: p.run(s.duration); return "";
        case Verb::Press: p.press(s.code, s); return "";
        case Verb::Hold:
            sim::holdKey(s.code);
            if (s.hasDuration) {
                p.run(s.duration);
                sim::releaseKey(s.code);
            }
            return "";
        case Verb::Release: sim::releaseKey(s.code); return "";
        case Verb::Control:
            switch (s.controlAction) {
                case ControlAction::Press:
                    sim::holdControl(s.code);
                    s.hasDuration ? p.run(s.duration) : p.frame();
                    sim::releaseControl(s.code);
                    p.frame();
                    break;
                case ControlAction::Hold:
                    sim::holdControl(s.code);
                    if (s.hasDuration) {
                        p.run(s.duration);
                        sim::releaseControl(s.code);
                    }
                    break;
                case ControlAction::Release: sim::releaseControl(s.code); break;
                case ControlAction::Normal: sim::setControlNormal(s.code, static_cast<float>(s.from)); break;
            }
            return "";
        case Verb::Pad:
            sim::os.padConnected[s.code] = s.word != "off";
            sim::os.pads[s.code].leftTrigger = static_cast<uint8_t>(s.word == "off" ? 0 : s.from);
            return "";
        case Verb::Input: sim::controls.usingKeyboard = s.word == "keyboard"; return "";
        case Verb::Focus:
            sim::os.front = s.word == "game" ? sim::Front::Game : s.word == "other" ? sim::Front::Other : sim::Front::None;
            return "";
        case Verb::Set:
            if (p.settingsOnlyAtTop && p.pastLeadingSettings)
                return "here a setting can only be set at the top of the session: the plug-in takes its settings "
                       "from the file at start-up";
            if (!p.skipSettings) setSetting(s.word, s.from);
            return "";
        case Verb::Mark:
            p.pendingMark = s.word;
            p.hasMark = true;
            return "";
        case Verb::Engage:
            // V takes over only from the game's own first-person view.
            sim::putGameInFirstPerson();
            p.press(sim::kViewKey, Step{});
            return "";
        case Verb::Menu:
            for (int k = 0; k < s.count; ++k) {
                p.press(menuKey(s.word), Step{});
                p.run({kMenuPressGapMs, false});
            }
            return "";
        case Verb::Look: {
            const bool yaw = s.word == "yaw";
            const double from = yaw ? sim::gameCameras.rotation.z : sim::gameCameras.rotation.x;
            (yaw ? p.yaw : p.pitch) =
                {true, from, from + s.from, sim::now(), s.hasDuration ? milliseconds(s.duration) : 0,
                 yaw ? +[](double v) { sim::gameCameras.rotation.z = static_cast<float>(std::remainder(v, 360.0)); }
                     : +[](double v) { sim::gameCameras.rotation.x = static_cast<float>(v); }};
            if (s.hasDuration) p.run(s.duration);
            else p.frame();
            return "";
        }
        case Verb::Gait: {
            int gait = s.word == "still" ? 0 : s.word == "walk" ? 1 : s.word == "jog" ? 2 : 3;
            sim::setControlNormal(kControlMoveForward, gait == 0 ? 0.0f : 1.0f);
            sim::player.forcedMoveRatio = gait == 0 ? -1.0f : kGaitRatio[gait];
            if (gait == 3) sim::holdControl(kControlSprint);
            else sim::releaseControl(kControlSprint);
            return "";
        }
        case Verb::Crouch: sim::player.stealth = s.on; return "";
        case Verb::Die: sim::killPlayer(); return "";
        case Verb::Respawn: sim::respawnPlayer(); return "";
        case Verb::EnterVehicle: {
            int32_t cls = s.word == "car" ? sim::kSedanClass : s.word == "motorcycle" ? sim::kMotorcycleClass
                        : s.word == "bicycle" ? sim::kCycleClass : kBoatClass;
            const sim::EntityState& ped = sim::playerPed();
            sim::enterVehicle(sim::spawnVehicle(cls, ped.position, ped.rotation.z));
            return "";
        }
        case Verb::ExitVehicle: sim::leaveVehicle(); return "";
        case Verb::Speed:
        case Verb::Crash:
            if (sim::player.vehicle == 0) return "the player is not in a vehicle (enter-vehicle first)";
            if (s.verb == Verb::Crash) {
                sim::crash(sim::player.vehicle, static_cast<float>(s.from));
            } else if (!s.hasDuration) {
                sim::driveSteady(sim::player.vehicle, static_cast<float>(s.from));
            } else {
                float seconds = static_cast<float>(milliseconds(s.duration)) * 0.001f;
                sim::driveThrough(sim::player.vehicle, {{0.0f, static_cast<float>(s.from)}, {seconds, static_cast<float>(s.to)}});
                p.run(s.duration);
            }
            return "";
        case Verb::GiveWeapon: sim::equipWeapon(s.word); return "";
        case Verb::Aim:
            // The right mouse button, which the game maps to its aim control.
            if (s.on) {
                sim::holdKey(kVkRightMouse);
                sim::holdControl(kControlAim);
            } else {
                sim::releaseKey(kVkRightMouse);
                sim::releaseControl(kControlAim);
            }
            return "";
        case Verb::Ads: {
            // One notch of the mouse wheel: forward zooms in, back zooms out.
            int wheel = s.word == "in" ? kControlWheelForward : kControlWheelBack;
            sim::setControlNormal(wheel, 1.0f);
            p.frame();
            sim::setControlNormal(wheel, 0.0f);
            p.frame();
            return "";
        }
        case Verb::Fire:
            sim::holdControl(kControlAttack);
            s.word == "burst" ? p.run(s.duration) : p.frame();
            sim::releaseControl(kControlAttack);
            p.frame();
            return "";
        case Verb::Cutscene:
            if (s.on) sim::startCutscene();
            else sim::endCutscene();
            return "";
        case Verb::Shot:
            if (!p.shot) return "this player writes no screenshots (menu_shots and overlay_shots do)";
            return p.shot(s.word);
    }
    return "";
}

// A scratch game folder holding a copy of the settings file; "" when the copy fails.
std::string gameFolderWith(const std::string& settingsFile) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (error) return "";
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder = temp / ("zv-session-" + std::to_string(stamp) + "-" + std::to_string(attempt));
        if (!fs::create_directory(folder, error)) continue;  // taken, or an error: try the next name
        fs::copy_file(settingsFile, folder / "Zentravisor.ini", error);
        return error ? "" : folder.string();
    }
    return "";
}

// The start-up frame, then every step; false with the line of the step that
// could not be played.
bool playSteps(Player& p, const Scenario& scenario, ParseError& error) {
    p.frame();  // start-up: the settings load before any step touches them
    for (const Step& s : scenario.steps) {
        p.step = &s;
        std::string message = playStep(p, s);
        if (s.verb != Verb::Set) p.pastLeadingSettings = true;
        if (!message.empty()) {
            error = {s.line, message};
            return false;
        }
    }
    if (p.hasMark) p.frame();  // a trailing mark still lands on a frame
    return true;
}

}  // namespace

bool setSetting(const std::string& key, double value) {
    for (const Setting& s : kSettings) {
        if (key != s.key) continue;
        switch (s.kind) {
            case SettingKind::Float: *s.floatField = static_cast<float>(value); break;
            case SettingKind::Flag: *s.flagField = value != 0.0 ? 1 : 0; break;
            case SettingKind::Int: *s.intField = static_cast<int32_t>(value); break;
        }
        return true;
    }
    return false;
}

std::string leadingSettingsFile(const Scenario& scenario) {
    std::string file;
    for (const Step& s : scenario.steps) {
        if (s.verb != Verb::Set) break;
        char value[32];
        std::snprintf(value, sizeof value, "%.9g", s.from);
        file += s.word + "=" + value + "\r\n";
    }
    return file.empty() ? file : "[Camera]\r\n" + file;
}

bool play(const Scenario& scenario, FrameObserver observer, void* context, ParseError& error,
          const PlayOptions& options) {
    Player p;
    p.observer = observer;
    p.context = context;
    p.frameUs = options.frameUs;
    p.skipSettings = options.skipSettings;
    p.shot = options.shot;
    sim::Options boot = options.boot;
    if (options.frameUs != 0) boot.frameUs = options.frameUs;
    if (!options.settingsFile.empty()) {
        boot.diskRoot = gameFolderWith(options.settingsFile);
        if (boot.diskRoot.empty()) {
            error = {0, "cannot copy the settings file " + options.settingsFile};
            return false;
        }
    }
    if (options.stage) sim::buildStage();
    sim::boot(boot);
    const bool played = playSteps(p, scenario, error);
    if (!options.settingsFile.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(boot.diskRoot, ignored);
    }
    return played;
}

bool playBooted(const Scenario& scenario, FrameObserver observer, void* context, ParseError& error) {
    Player p;
    p.observer = observer;
    p.context = context;
    p.settingsOnlyAtTop = true;
    return playSteps(p, scenario, error);
}

}  // namespace scenario

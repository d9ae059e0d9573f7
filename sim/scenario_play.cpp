// The session player: each step becomes inputs and world changes, then frames.
#include <cmath>

#include "settings/settings.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/world/controls.h"
#include "sim/world/os.h"

namespace scenario {
namespace {

constexpr uint32_t kMenuPressGapMs = 300;  // longer than every menu debounce

// A value moved linearly over some frames, applied before each frame.
struct Ramp {
    bool active = false;
    double from = 0.0, to = 0.0;
    uint32_t startMs = 0, lengthMs = 0;
    void (*apply)(double value) = nullptr;
};

struct Player {
    FrameObserver observer = nullptr;
    void* context = nullptr;
    const Step* step = nullptr;
    std::string pendingMark;
    bool hasMark = false;
    Ramp ramps[2];  // look, speed

    void frame() {
        for (Ramp& r : ramps) {
            if (!r.active) continue;
            double t = r.lengthMs == 0 ? 1.0 : std::min(1.0, double(sim::now() + sim::os.frameMs - r.startMs) / r.lengthMs);
            r.apply(r.from + (r.to - r.from) * t);
            if (t >= 1.0) r.active = false;
        }
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

void setSetting(const std::string& key, double value) {
    for (const Setting& s : kSettings) {
        if (key != s.key) continue;
        switch (s.kind) {
            case SettingKind::Float: *s.floatField = static_cast<float>(value); break;
            case SettingKind::Flag: *s.flagField = value != 0.0 ? 1 : 0; break;
            case SettingKind::Int: *s.intField = static_cast<int32_t>(value); break;
        }
    }
}

int menuKey(const std::string& action) {
    if (action == "open" || action == "close") return MenuKeyVK;
    if (action == "up") return 0x26;
    if (action == "down") return 0x28;
    if (action == "left") return 0x25;
    if (action == "right") return 0x27;
    if (action == "enter") return 0x0D;
    if (action == "back") return 0x08;
    return 0x65;  // reset-value: NUMPAD5
}

// Plays one step; an empty result means it was played.
std::string playStep(Player& p, const Step& s) {
    switch (s.verb) {
        case Verb::FrameMs: sim::setFrameMs(s.duration.amount); return "";
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
            sim::os.padConnected[0] = s.word != "off";
            sim::os.pads[0].leftTrigger = static_cast<uint8_t>(s.word == "off" ? 0 : s.from);
            return "";
        case Verb::Input: sim::controls.usingKeyboard = s.word == "keyboard"; return "";
        case Verb::Set: setSetting(s.word, s.from); return "";
        case Verb::Mark:
            p.pendingMark = s.word;
            p.hasMark = true;
            return "";
        case Verb::Engage: p.press(0x56, s); return "";
        case Verb::Menu:
            for (int k = 0; k < s.count; ++k) {
                Step once;
                p.press(menuKey(s.word), once);
                p.run({kMenuPressGapMs, false});
            }
            return "";
        case Verb::Look:
        case Verb::Gait:
        case Verb::Crouch:
        case Verb::Die:
        case Verb::Respawn:
        case Verb::EnterVehicle:
        case Verb::ExitVehicle:
        case Verb::Speed:
        case Verb::GiveWeapon:
        case Verb::Aim:
        case Verb::Fire:
        case Verb::Cutscene:
            break;
    }
    return "this simulator has no model for that step yet";
}

}  // namespace

bool play(const Scenario& scenario, FrameObserver observer, void* context, ParseError& error) {
    Player p;
    p.observer = observer;
    p.context = context;
    sim::boot();
    p.frame();  // start-up: the settings load before any step touches them
    for (const Step& s : scenario.steps) {
        p.step = &s;
        std::string message = playStep(p, s);
        if (!message.empty()) {
            error = {s.line, message};
            return false;
        }
    }
    if (p.hasMark) p.frame();  // a trailing mark still lands on a frame
    return true;
}

}  // namespace scenario

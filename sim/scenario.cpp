// The session parser: words to steps, with the line number of the first bad line.
#include "sim/scenario.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "settings/settings.h"
#include "sim/world/weapons.h"

namespace scenario {
namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

struct NamedKey {
    const char* name;
    int code;
};
constexpr NamedKey kNamedKeys[] = {
    {"LMB", 0x01}, {"RMB", 0x02}, {"MMB", 0x04}, {"BACKSPACE", 0x08}, {"TAB", 0x09}, {"ENTER", 0x0D},
    {"SHIFT", 0x10}, {"CTRL", 0x11}, {"ALT", 0x12}, {"ESCAPE", 0x1B}, {"ESC", 0x1B}, {"SPACE", 0x20},
    {"PAGEUP", 0x21}, {"PAGEDOWN", 0x22}, {"END", 0x23}, {"HOME", 0x24}, {"LEFT", 0x25}, {"UP", 0x26},
    {"RIGHT", 0x27}, {"DOWN", 0x28}, {"INSERT", 0x2D}, {"DELETE", 0x2E}, {"LSHIFT", 0xA0}, {"RSHIFT", 0xA1},
    {"LCTRL", 0xA2}, {"RCTRL", 0xA3},
};

struct Words {
    std::vector<std::string> w;
    size_t size() const { return w.size(); }
    const std::string& operator[](size_t k) const { return w[k]; }
};

Words split(const std::string& line) {
    Words words;
    std::string text = line.substr(0, line.find('#'));
    std::istringstream in(text);
    for (std::string word; in >> word;) words.w.push_back(word);
    return words;
}

bool parseNumber(const std::string& s, double& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && std::isfinite(out);
}

bool parseInt(const std::string& s, int& out) {
    double d = 0.0;
    if (!parseNumber(s, d) || d != std::floor(d) || std::fabs(d) > 1e9) return false;
    out = static_cast<int>(d);
    return true;
}

bool parseDuration(const std::string& s, Duration& out) {
    auto amount = [&](size_t unitLength, double scale, bool frames) {
        double d = 0.0;
        if (s.size() <= unitLength || !parseNumber(s.substr(0, s.size() - unitLength), d)) return false;
        if (d < 0.0 || d * scale > 3.6e6) return false;  // at most an hour of play
        out.amount = static_cast<uint32_t>(std::lround(d * scale));
        out.frames = frames;
        return !frames || d == std::floor(d);
    };
    if (s.size() > 2 && s.compare(s.size() - 2, 2, "ms") == 0) return amount(2, 1.0, false);
    if (s.back() == 's') return amount(1, 1000.0, false);
    if (s.back() == 'f') return amount(1, 1.0, true);
    return false;
}

const Setting* findSetting(const std::string& key) {
    for (const Setting& s : kSettings)
        if (key == s.key) return &s;
    return nullptr;
}

// One line's words into a step; an empty message means success.
class LineParser {
public:
    LineParser(const Words& words, Step& step) : w_(words), step_(step) {}

    std::string parse() {
        const std::string& verb = w_[0];
        if (verb == "frame-ms") return frameMs();
        if (verb == "wait") return wait();
        if (verb == "press") return press();
        if (verb == "hold") return hold();
        if (verb == "release") return release();
        if (verb == "control") return control();
        if (verb == "pad") return pad();
        if (verb == "input") return choice(Verb::Input, {"keyboard", "pad"});
        if (verb == "focus") return choice(Verb::Focus, {"game", "other", "none"});
        if (verb == "set") return set();
        if (verb == "mark") return mark();
        if (verb == "engage") return simple(Verb::Engage, 1);
        if (verb == "look") return look();
        if (verb == "gait") return choice(Verb::Gait, {"still", "walk", "jog", "sprint"});
        if (verb == "crouch") return onOff(Verb::Crouch);
        if (verb == "die") return simple(Verb::Die, 1);
        if (verb == "respawn") return simple(Verb::Respawn, 1);
        if (verb == "enter-vehicle") return choice(Verb::EnterVehicle, {"car", "motorcycle", "bicycle", "boat"});
        if (verb == "exit-vehicle") return simple(Verb::ExitVehicle, 1);
        if (verb == "speed") return speed();
        if (verb == "crash") return crash();
        if (verb == "give-weapon") return giveWeapon();
        if (verb == "aim") return onOff(Verb::Aim);
        if (verb == "ads") return choice(Verb::Ads, {"in", "out"});
        if (verb == "fire") return fire();
        if (verb == "cutscene") return onOff(Verb::Cutscene);
        if (verb == "menu") return menu();
        if (verb == "shot") return shot();
        return "unknown verb '" + verb + "'";
    }

private:
    const Words& w_;
    Step& step_;

    std::string expectCount(size_t n) {
        if (w_.size() < n) return "'" + w_[0] + "' needs more words";
        if (w_.size() > n) return "unexpected '" + w_[n] + "' after '" + w_[0] + "'";
        return "";
    }
    std::string simple(Verb v, size_t n) {
        step_.verb = v;
        return expectCount(n);
    }
    std::string wait() {
        std::string e = simple(Verb::Wait, 2);
        return e.empty() ? duration(1) : e;
    }
    std::string release() {
        std::string e = simple(Verb::Release, 2);
        return e.empty() ? key(1) : e;
    }
    std::string duration(size_t k) {
        step_.hasDuration = true;
        if (!parseDuration(w_[k], step_.duration))
            return "bad duration '" + w_[k] + "' (write it like 2s, 1.5s, 500ms or 30f)";
        return "";
    }
    std::string number(size_t k, double& out) {
        if (!parseNumber(w_[k], out)) return "bad number '" + w_[k] + "'";
        return "";
    }
    std::string key(size_t k) {
        step_.word = upper(w_[k]);
        step_.code = keyCode(w_[k]);
        if (step_.code < 0) return "unknown key name '" + w_[k] + "'";
        return "";
    }
    std::string frameMs() {
        std::string e = simple(Verb::FrameMs, 2);
        if (!e.empty()) return e;
        int ms = 0;
        if (!parseInt(w_[1], ms) || ms < 1 || ms > 1000) return "bad frame time '" + w_[1] + "' (1 to 1000 ms)";
        step_.duration = {static_cast<uint32_t>(ms), false};
        return "";
    }
    std::string press() {
        step_.verb = Verb::Press;
        if (w_.size() < 2 || w_.size() > 3) return "'press' takes a key and an optional duration";
        std::string e = key(1);
        if (e.empty() && w_.size() == 3) e = duration(2);
        return e;
    }
    std::string hold() {
        step_.verb = Verb::Hold;
        if (w_.size() < 2 || w_.size() > 3) return "'hold' takes a key and an optional duration";
        std::string e = key(1);
        if (e.empty() && w_.size() == 3) e = duration(2);
        return e;
    }
    std::string control() {
        step_.verb = Verb::Control;
        if (w_.size() < 3) return "'control' takes an id and press, hold [DUR], release or normal VALUE";
        if (!parseInt(w_[1], step_.code) || step_.code < 0 || step_.code >= 360)
            return "bad control id '" + w_[1] + "' (0 to 359)";
        const std::string& a = w_[2];
        if (a == "press" || a == "hold") {
            step_.controlAction = a == "press" ? ControlAction::Press : ControlAction::Hold;
            if (w_.size() > 4) return "unexpected '" + w_[4] + "'";
            return w_.size() == 4 ? duration(3) : "";
        }
        if (a == "release") {
            step_.controlAction = ControlAction::Release;
            return w_.size() == 3 ? "" : "unexpected '" + w_[3] + "'";
        }
        if (a == "normal") {
            step_.controlAction = ControlAction::Normal;
            if (w_.size() != 4) return "'control ID normal' takes one value, -1 to 1";
            std::string e = number(3, step_.from);
            if (e.empty() && std::fabs(step_.from) > 1.0) e = "control normal " + w_[3] + " is outside -1..1";
            return e;
        }
        return "unknown control action '" + a + "' (press, hold, release, normal)";
    }
    // pad [SLOT] trigger VALUE | pad [SLOT] off: a controller in slot 0 to 3
    // (0 when no slot is given) plugged in with its left trigger, or pulled out.
    std::string pad() {
        step_.verb = Verb::Pad;
        size_t k = 1;
        if (w_.size() > 1 && w_[1].size() == 1 && w_[1][0] >= '0' && w_[1][0] <= '3') {
            step_.code = w_[1][0] - '0';
            k = 2;
        }
        if (w_.size() == k + 1 && w_[k] == "off") { step_.word = "off"; return ""; }
        if (w_.size() == k + 2 && w_[k] == "trigger") {
            step_.word = "trigger";
            std::string e = number(k + 1, step_.from);
            if (e.empty() && (step_.from < 0 || step_.from > 255)) e = "trigger value " + w_[k + 1] + " is outside 0..255";
            return e;
        }
        return "'pad' takes an optional slot 0 to 3, then 'trigger VALUE' or 'off'";
    }
    std::string choice(Verb v, std::initializer_list<const char*> options) {
        step_.verb = v;
        std::string list;
        for (const char* o : options) list += std::string(list.empty() ? "" : ", ") + o;
        if (w_.size() != 2) return "'" + w_[0] + "' takes one of: " + list;
        for (const char* o : options)
            if (w_[1] == o) { step_.word = o; return ""; }
        return "unknown " + w_[0] + " '" + w_[1] + "' (" + list + ")";
    }
    std::string onOff(Verb v) {
        std::string e = choice(v, {"on", "off"});
        step_.on = step_.word == "on";
        return e;
    }
    std::string set() {
        step_.verb = Verb::Set;
        if (w_.size() != 3) return "'set' takes a setting and a value";
        const Setting* s = findSetting(w_[1]);
        if (!s) return "unknown setting '" + w_[1] + "'";
        step_.word = s->key;
        std::string e = number(2, step_.from);
        if (!e.empty()) return e;
        if (s->kind == SettingKind::Float && (step_.from < s->minimum || step_.from > s->maximum)) {
            std::ostringstream m;
            m << w_[1] << " " << w_[2] << " is outside its range " << s->minimum << " .. " << s->maximum;
            return m.str();
        }
        if (s->kind == SettingKind::Flag && step_.from != 0.0 && step_.from != 1.0) return w_[1] + " is a flag: 0 or 1";
        if (s->kind == SettingKind::Int && step_.from != std::floor(step_.from)) return w_[1] + " takes a whole number";
        return "";
    }
    std::string mark() {
        step_.verb = Verb::Mark;
        if (w_.size() < 2) return "'mark' needs a label";
        for (size_t k = 1; k < w_.size(); ++k) step_.word += (k > 1 ? " " : "") + w_[k];
        return "";
    }
    std::string look() {
        step_.verb = Verb::Look;
        if (!(w_.size() == 3 || (w_.size() == 5 && w_[3] == "over")))
            return "'look' takes yaw|pitch DEGREES [over DURATION]";
        if (w_[1] != "yaw" && w_[1] != "pitch") return "unknown look axis '" + w_[1] + "' (yaw, pitch)";
        step_.word = w_[1];
        std::string e = number(2, step_.from);
        if (e.empty() && w_.size() == 5) e = duration(4);
        return e;
    }
    std::string speed() {
        step_.verb = Verb::Speed;
        if (w_.size() == 2) {
            std::string e = number(1, step_.from);
            step_.to = step_.from;
            return e;
        }
        if (w_.size() != 6 || w_[2] != "->" || w_[4] != "over")
            return "'speed' takes A, or A -> B over DURATION (metres per second)";
        std::string e = number(1, step_.from);
        if (e.empty()) e = number(3, step_.to);
        if (e.empty()) e = duration(5);
        return e;
    }
    std::string crash() {
        step_.verb = Verb::Crash;
        step_.from = 0.0;  // the speed right after the impact, m/s
        if (w_.size() > 2) return "'crash' takes an optional speed after the impact";
        return w_.size() == 2 ? number(1, step_.from) : "";
    }
    std::string giveWeapon() {
        step_.verb = Verb::GiveWeapon;
        if (w_.size() != 2) return "'give-weapon' takes a weapon name like WEAPON_PISTOL";
        step_.word = upper(w_[1]);
        if (!sim::findWeaponType(step_.word)) return "unknown weapon '" + w_[1] + "'";
        return "";
    }
    std::string fire() {
        step_.verb = Verb::Fire;
        if (w_.size() == 2 && w_[1] == "once") { step_.word = "once"; return ""; }
        if (w_.size() == 3 && w_[1] == "burst") { step_.word = "burst"; return duration(2); }
        return "'fire' takes 'once' or 'burst DURATION'";
    }
    std::string menu() {
        step_.verb = Verb::Menu;
        static const char* const kActions[] = {"open", "close", "up", "down", "left", "right", "enter", "back",
                                               "reset-value"};
        if (w_.size() < 2 || w_.size() > 3) return "'menu' takes an action and an optional count";
        for (const char* a : kActions)
            if (w_[1] == a) step_.word = a;
        if (step_.word.empty()) return "unknown menu action '" + w_[1] + "'";
        if (w_.size() == 3 && (!parseInt(w_[2], step_.count) || step_.count < 1 || step_.count > 100))
            return "bad count '" + w_[2] + "' (1 to 100)";
        return "";
    }
    // A file name in the output folder, nothing that leads out of it.
    std::string shot() {
        step_.verb = Verb::Shot;
        if (w_.size() != 2) return "'shot' takes a file name like menu-sections.png";
        const std::string& file = w_[1];
        const bool plain = file[0] != '.' && file.find_first_not_of(kShotFileCharacters) == std::string::npos;
        if (!plain || file.size() <= 4 || file.compare(file.size() - 4, 4, ".png") != 0)
            return "bad shot file '" + file + "' (a name like menu-sections.png: letters, digits, '-', '_' and '.', "
                   "ending in .png)";
        step_.word = file;
        return "";
    }
    static constexpr const char* kShotFileCharacters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_.";
};

}  // namespace

int keyCode(const std::string& name) {
    std::string n = upper(name);
    if (n.size() == 1 && ((n[0] >= 'A' && n[0] <= 'Z') || (n[0] >= '0' && n[0] <= '9'))) return n[0];
    for (const NamedKey& k : kNamedKeys)
        if (n == k.name) return k.code;
    int number = 0;
    if (n.size() == 7 && n.rfind("NUMPAD", 0) == 0 && std::isdigit(static_cast<unsigned char>(n[6])))
        return 0x60 + (n[6] - '0');
    if (n.size() >= 2 && n[0] == 'F' && parseInt(n.substr(1), number) && number >= 1 && number <= 24)
        return 0x70 + number - 1;
    return -1;
}

std::string errorMessage(const std::string& path, const ParseError& error) {
    return path + ":" + std::to_string(error.line) + ": " + error.message;
}

void printError(const std::string& path, const ParseError& error) {
    std::fprintf(stderr, "%s\n", errorMessage(path, error).c_str());
}

bool parse(const std::string& text, Scenario& out, ParseError& error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Words words = split(line);
        if (words.size() == 0) continue;
        Step step;
        step.line = number;
        std::string message = LineParser(words, step).parse();
        if (!message.empty()) {
            error = {number, message};
            return false;
        }
        out.steps.push_back(std::move(step));
    }
    return true;
}

bool parseFile(const std::string& path, Scenario& out, ParseError& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = {0, "cannot read " + path};
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string name = path.substr(path.find_last_of('/') + 1);
    out.name = name.substr(0, name.find('.'));
    return parse(text.str(), out, error);
}

bool loadFile(const std::string& path, Scenario& out) {
    ParseError error;
    if (parseFile(path, out, error)) return true;
    printError(path, error);
    return false;
}

}  // namespace scenario

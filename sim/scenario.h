// Play sessions: a timeline of inputs and world events, one step per line,
// played against the real plug-in in the simulator, frame by frame.
//
//   # a comment; blank lines are ignored; "#" also ends a line's words
//   set HeadBob 1            a setting, by its file key, within its range
//   engage                   the game's first-person view, then V
//   gait walk                the player walks (still, walk, jog, sprint)
//   wait 2s                  durations: 2s, 1.5s, 500ms, 30f (frames)
//   look yaw 30 over 1s      turn the game's camera, relative, degrees; a turn
//                            over 0ms plays no frame and lands with the next
//                            one, beside a turn about the other axis
//   press V                  one frame down, one frame up
//   hold W 2s                held for the time, then released
//   hold SHIFT / release SHIFT
//   control 24 hold 500ms    a game control: press, hold [DUR], release, normal VALUE
//   frame-ms 33              frame time from now on
//   mark braking             a label for the trace and the plots
//   pad trigger 200          controller 0's left trigger (pad off: disconnected);
//   pad 2 trigger 61         ... or that of the controller in slot 2
//   input pad                the device the game says was used last (keyboard, pad)
//   focus other              the window in front: the game's, another program's, none
//   shot menu-sections.png   the screen of the frame just played, as a PNG in the
//                            screenshot tool's output folder (a plain file name)
//
// World events: die, respawn, enter-vehicle car|motorcycle|bicycle|boat,
// exit-vehicle, speed 30 -> 5 over 1f (metres per second, negative reverses;
// the step lasts its duration), speed 12 (steady), crash [SPEED],
// give-weapon NAME, aim on|off (right mouse button and the aim control held),
// ads in|out (a mouse-wheel notch), fire once, fire burst 1s, crouch on|off,
// cutscene on|off, menu open|close|up|down|left|right|enter|back|reset-value
// [COUNT] (each press waits out the menu's debounce). sessions/README.md has
// the full list for people writing sessions.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim.h"

namespace scenario {

enum class Verb : uint8_t {
    FrameMs, Wait, Press, Hold, Release, Control, Pad, Input, Focus, Set, Mark, Engage, Look,
    Gait, Crouch, Die, Respawn, EnterVehicle, ExitVehicle, Speed, Crash, GiveWeapon, Aim, Ads,
    Fire, Cutscene, Menu, Shot,
};

struct Duration {
    uint32_t amount = 0;
    bool frames = false;  // amount counts frames; otherwise milliseconds
};

enum class ControlAction : uint8_t { Press, Hold, Release, Normal };

struct Step {
    int line = 0;
    Verb verb = Verb::Wait;
    std::string word;       // key, setting, gait, vehicle kind, weapon, menu action, mark text, axis, shot file
    int code = 0;           // virtual key, control id or controller slot
    ControlAction controlAction = ControlAction::Press;
    bool on = false;        // on/off verbs
    double from = 0.0;      // numbers: set value, look degrees, speed from, pad trigger, control normal
    double to = 0.0;        // speed target
    int count = 1;          // menu presses
    bool hasDuration = false;
    Duration duration;
};

struct Scenario {
    std::string name;
    std::vector<Step> steps;
};

struct ParseError {
    int line = 0;
    std::string message;
};

// "FILE:LINE: message": how every player of sessions names a step that failed.
std::string errorMessage(const std::string& path, const ParseError& error);
void printError(const std::string& path, const ParseError& error);  // the message, on stderr

// Parses a whole session; false with the first bad line's number and a message.
bool parse(const std::string& text, Scenario& out, ParseError& error);
bool parseFile(const std::string& path, Scenario& out, ParseError& error);  // line 0: cannot read
// The tools' way in: parses a session file, or prints what is wrong with it and returns false.
bool loadFile(const std::string& path, Scenario& out);

// Windows virtual-key code for a key name ("V", "F6", "SHIFT", "NUMPAD5", "UP"...); -1 if unknown.
int keyCode(const std::string& name);

// What the observer learns after each frame.
struct FrameInfo {
    const Step* step;          // the step being played
    const std::string* mark;   // the label of a "mark" step just before this frame, or nullptr
};
using FrameObserver = void (*)(void* context, const FrameInfo& frame);

// Writes the screen of the frame just played as FILE, a plain file name, into
// the screenshot tool's output folder: "" when written, otherwise why not.
using ShotWriter = std::string (*)(const std::string& file);

// How a session is played beyond its own steps.
struct PlayOptions {
    // The simulator's boot: the virtual clock's first value (it may sit just
    // below 2^32), the game folder, the plug-in's path.
    sim::Options boot;
    // Frame time in microseconds for the whole session, in place of its own
    // (and of its frame-ms steps); 0 keeps the session's.
    uint32_t frameUs = 0;
    std::string settingsFile;    // a Zentravisor.ini in the game folder at boot; "" = none (the plug-in writes its template)
    bool skipSettings = false;   // ignore the session's own "set" steps: the settings file decides
    bool stage = false;          // the street of sim/world/stage.h around the spawn point
    ShotWriter shot = nullptr;   // takes the "shot" steps; without it they stop the run
};

// Boots the simulator, runs the start-up frame and plays the steps; the
// observer runs after every frame, the start-up frame included. False with a
// message naming the line when a step cannot be played.
bool play(const Scenario& scenario, FrameObserver observer, void* context, ParseError& error,
          const PlayOptions& options);
inline bool play(const Scenario& scenario, FrameObserver observer, void* context, ParseError& error,
                 uint32_t startTick = 1'000'000) {
    PlayOptions options;
    options.boot.startTick = startTick;
    return play(scenario, observer, context, error, options);
}

// Plays the steps on a plug-in the caller has booted (sim::boot), whose settings
// file already holds the session's leading "set" steps (leadingSettingsFile):
// how a plug-in in another module, such as the release binary under Wine, gets
// them. The start-up frame comes first; "set" steps change this process's
// copy of the settings, and one after any other step stops the run.
bool playBooted(const Scenario& scenario, FrameObserver observer, void* context, ParseError& error);

// Sets one setting of the plug-in in this process by its file key, as a "set"
// step does (flags become 0 or 1); false when no setting has that key.
bool setSetting(const std::string& key, double value);

// The settings file that gives the session's leading "set" steps (those before
// any other step) at start-up: how a session's settings reach a plug-in in
// another module, such as the release binary under Wine. Empty when there are none.
std::string leadingSettingsFile(const Scenario& scenario);

}  // namespace scenario

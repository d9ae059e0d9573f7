// Comfort figures: how much motion the camera adds on top of the player's own
// look, from a session's per-frame trace. "Added" is the rendered camera minus
// the game's own camera, so a turn of the mouse counts for nothing and the
// head bob, recoil, sway, lag and inertia count in full.
//
// Only frames on which the plug-in's camera fills the screen count; speeds are
// taken between two such frames in a row, so the ease to and from the game's
// camera (and the hand-backs) do not show as motion.
#pragma once
#include <vector>

namespace comfort {

constexpr double kBobWindowS = 1.0;     // the running mean the bob is measured against
constexpr double kBobMinHz = 0.5;       // the band searched for the bob's main frequency
constexpr double kBobMaxHz = 8.0;
constexpr double kBobHzStep = 0.01;
constexpr double kNoBobCm = 0.1;        // peak-to-peak below this: no bob to give a frequency for
constexpr double kPi = 3.14159265358979323846;

// The added motion, frame by frame.
struct Motion {
    std::vector<double> time;   // seconds
    std::vector<double> pitch;  // degrees
    std::vector<double> yaw;    // degrees (any turn; differences are wrapped)
    std::vector<double> roll;   // degrees
    std::vector<double> up;     // metres, world vertical
    std::vector<double> east, north;  // metres, world horizontal
    std::vector<bool> counts;   // the plug-in's camera fills the screen
    std::vector<bool> moving;   // the player walks or runs: the frames the bob is measured on
    std::vector<bool> seated;   // the player sits in a vehicle: the frames the slide is measured on
};

enum Axis { kPitch, kYaw, kRoll, kAxes };

struct Figures {
    int frames = 0;                    // frames that counted
    double speedPeak[kAxes] = {};      // degrees per second
    double speedRms[kAxes] = {};
    double rollPeak = 0.0, rollRms = 0.0;  // degrees
    double bobPeakToPeakCm = 0.0;
    double bobHz = 0.0;                // 0: no bob
    double jerkPeak = 0.0;             // degrees per second cubed, the largest axis
    double shiftPeakCm = 0.0;          // the largest slide of the eye in a vehicle's seat
};

// A difference of angles brought into -180 .. 180 degrees.
double wrapDegrees(double d);

// The eye's height less its running mean over kBobWindowS, NaN where that
// window is cut short by the trace's ends. A crouch eases the eye down too; the
// bob figures read only the frames where the player moves, so a crouch while
// standing is not taken for a bob.
std::vector<double> bobSignal(const Motion& m);

Figures analyse(const Motion& m);

}  // namespace comfort

// Comfort figures: how much motion the camera adds on top of the player's own
// look, from a session's per-frame trace. "Added" is the rendered camera minus
// the game's own camera, so a turn of the mouse counts for nothing and the
// head bob, recoil, sway, lag and inertia count in full.
//
// Only frames on which the plug-in's camera fills the screen count; speeds are
// taken between two such frames in a row, so the ease to and from the game's
// camera (and the hand-backs) do not show as motion.
#pragma once
#include <algorithm>
#include <cmath>
#include <complex>
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

inline double wrapDegrees(double d) { return std::remainder(d, 360.0); }

// An offset minus its running mean over kBobWindowS, at the counted frames
// whose window lies wholly inside the trace (NaN elsewhere: a window cut short
// by the trace's end would leave part of a stride in its mean).
inline std::vector<double> residual(const Motion& m, const std::vector<double>& values) {
    std::vector<double> out(m.time.size(), NAN);
    if (m.time.empty()) return out;
    size_t lo = 0, hi = 0;
    double sum = 0.0;
    int count = 0;
    for (size_t k = 0; k < m.time.size(); ++k) {
        while (hi < m.time.size() && m.time[hi] <= m.time[k] + kBobWindowS / 2) {
            if (m.counts[hi]) sum += values[hi], ++count;
            ++hi;
        }
        while (m.time[lo] <= m.time[k] - kBobWindowS / 2) {
            if (m.counts[lo]) sum -= values[lo], --count;
            ++lo;
        }
        bool whole = m.time[k] - kBobWindowS / 2 >= m.time.front() && m.time[k] + kBobWindowS / 2 <= m.time.back();
        if (m.counts[k] && count > 0 && whole) out[k] = values[k] - sum / count;
    }
    return out;
}

// The eye's height less its running mean. A crouch eases the eye down too; the
// bob figures read only the frames where the player moves, so a crouch while
// standing is not taken for a bob.
inline std::vector<double> bobSignal(const Motion& m) { return residual(m, m.up); }

// The strongest frequency of the bob in the search band: a direct Fourier sum
// at fine steps, so uneven frame times need no resampling.
inline double mainFrequency(const Motion& m, const std::vector<double>& bob) {
    double best = 0.0, bestPower = 0.0;
    for (double f = kBobMinHz; f <= kBobMaxHz + 1e-9; f += kBobHzStep) {
        std::complex<double> sum = 0.0;
        for (size_t k = 0; k < bob.size(); ++k)
            if (m.counts[k] && m.moving[k] && std::isfinite(bob[k])) sum += bob[k] * std::polar(1.0, -2.0 * kPi * f * m.time[k]);
        if (std::norm(sum) > bestPower) bestPower = std::norm(sum), best = f;
    }
    return best;
}

inline Figures analyse(const Motion& m) {
    Figures out;
    const double* axes[kAxes] = {m.pitch.data(), m.yaw.data(), m.roll.data()};
    double sumSq[kAxes] = {}, rollSq = 0.0;
    int speeds = 0;
    double lastSpeed[kAxes] = {}, lastAccel[kAxes] = {};
    int run = 0;  // counted frames in a row so far
    std::vector<double> bob = bobSignal(m);
    for (size_t k = 0; k < m.time.size(); ++k) {
        if (!m.counts[k]) {
            run = 0;
            continue;
        }
        ++out.frames;
        out.rollPeak = std::max(out.rollPeak, std::fabs(m.roll[k]));
        rollSq += m.roll[k] * m.roll[k];
        ++run;
        if (run < 2) continue;
        double dt = m.time[k] - m.time[k - 1];
        if (dt <= 0.0) continue;
        ++speeds;
        for (int a = 0; a < kAxes; ++a) {
            double speed = wrapDegrees(axes[a][k] - axes[a][k - 1]) / dt;
            out.speedPeak[a] = std::max(out.speedPeak[a], std::fabs(speed));
            sumSq[a] += speed * speed;
            double accel = (speed - lastSpeed[a]) / dt;
            if (run >= 4) out.jerkPeak = std::max(out.jerkPeak, std::fabs(accel - lastAccel[a]) / dt);
            lastSpeed[a] = speed;
            lastAccel[a] = accel;
        }
    }
    for (int a = 0; a < kAxes; ++a) out.speedRms[a] = speeds ? std::sqrt(sumSq[a] / speeds) : 0.0;
    out.rollRms = out.frames ? std::sqrt(rollSq / out.frames) : 0.0;
    // The bob's spread over the counted frames in motion (runs are joined: the
    // running mean removes their offsets).
    double lo = 0.0, hi = 0.0;
    bool any = false;
    for (size_t k = 0; k < bob.size(); ++k)
        if (m.counts[k] && m.moving[k] && std::isfinite(bob[k])) {
            lo = any ? std::min(lo, bob[k]) : bob[k], hi = any ? std::max(hi, bob[k]) : bob[k];
            any = true;
        }
    out.bobPeakToPeakCm = (hi - lo) * 100.0;
    out.bobHz = out.bobPeakToPeakCm >= kNoBobCm ? mainFrequency(m, bob) : 0.0;
    // The slide: the horizontal offset's distance from its running mean, in a
    // vehicle (the inertia). On foot the body's own pace changes move the
    // game's camera and the plug-in's apart by a frame's walk, which no setting
    // changes; the bob's sway shows in roll and yaw.
    std::vector<double> east = residual(m, m.east), north = residual(m, m.north);
    for (size_t k = 0; k < east.size(); ++k)
        if (m.seated[k] && std::isfinite(east[k]) && std::isfinite(north[k]))
            out.shiftPeakCm = std::max(out.shiftPeakCm, std::hypot(east[k], north[k]) * 100.0);
    return out;
}

}  // namespace comfort

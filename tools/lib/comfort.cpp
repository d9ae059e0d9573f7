#include "tools/comfort.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace comfort {

namespace {

// The strongest frequency of the bob in the search band: a direct Fourier sum
// at fine steps, so uneven frame times need no resampling.
double mainFrequency(const Motion& m, const std::vector<double>& bob) {
    double best = 0.0, bestPower = 0.0;
    for (double f = kBobMinHz; f <= kBobMaxHz + 1e-9; f += kBobHzStep) {
        std::complex<double> sum = 0.0;
        for (size_t k = 0; k < bob.size(); ++k)
            if (m.counts[k] && m.moving[k] && std::isfinite(bob[k])) sum += bob[k] * std::polar(1.0, -2.0 * kPi * f * m.time[k]);
        if (std::norm(sum) > bestPower) bestPower = std::norm(sum), best = f;
    }
    return best;
}

// An offset minus its running mean over kBobWindowS, at the counted frames
// whose window lies wholly inside the trace (NaN elsewhere: a window cut short
// by the trace's end would leave part of a stride in its mean).
std::vector<double> residual(const Motion& m, const std::vector<double>& values) {
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

}  // namespace

double wrapDegrees(double d) { return std::remainder(d, 360.0); }

std::vector<double> bobSignal(const Motion& m) { return residual(m, m.up); }

Figures analyse(const Motion& m) {
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

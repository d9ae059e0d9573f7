// The comfort figures on synthetic traces whose answers are known: a sine of
// known amplitude and frequency, a one-frame step, a constant offset, and the
// frames that do not count.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/comfort.h"

namespace {

constexpr double kFps = 60.0;
constexpr double kSeconds = 10.0;

// Frames at kFps with every channel from the given functions of time.
comfort::Motion trace(double (*pitch)(double), double (*yaw)(double), double (*roll)(double), double (*up)(double)) {
    comfort::Motion m;
    for (int k = 0; k <= int(kSeconds * kFps); ++k) {
        double t = k / kFps;
        m.time.push_back(t);
        m.pitch.push_back(pitch(t));
        m.yaw.push_back(yaw(t));
        m.roll.push_back(roll(t));
        m.up.push_back(up(t));
        m.east.push_back(0.0);
        m.north.push_back(0.0);
        m.counts.push_back(true);
        m.moving.push_back(true);
        m.seated.push_back(true);
    }
    return m;
}

double zero(double) { return 0.0; }

constexpr double kRollAmplitude = 2.0;  // degrees
constexpr double kRollHz = 1.5;
constexpr double kBobAmplitude = 0.02;  // metres
constexpr double kBobHz = 2.0;

double rollSine(double t) { return kRollAmplitude * std::sin(2.0 * comfort::kPi * kRollHz * t); }
double bobSine(double t) { return 1.7 + kBobAmplitude * std::sin(2.0 * comfort::kPi * kBobHz * t); }

TEST(Comfort, SineGivesItsAmplitudeFrequencyAndDerivatives) {
    comfort::Figures f = comfort::analyse(trace(zero, zero, rollSine, bobSine));
    const double w = 2.0 * comfort::kPi * kRollHz;
    // Differences over one frame: the speed is within a fraction of a percent of A w.
    EXPECT_NEAR(f.speedPeak[comfort::kRoll], kRollAmplitude * w, 0.01 * kRollAmplitude * w);
    EXPECT_NEAR(f.speedRms[comfort::kRoll], kRollAmplitude * w / std::sqrt(2.0), 0.01 * kRollAmplitude * w);
    EXPECT_NEAR(f.rollPeak, kRollAmplitude, 1e-3);
    EXPECT_NEAR(f.rollRms, kRollAmplitude / std::sqrt(2.0), 0.01);
    EXPECT_NEAR(f.jerkPeak, kRollAmplitude * w * w * w, 0.02 * kRollAmplitude * w * w * w);
    EXPECT_EQ(f.speedPeak[comfort::kPitch], 0.0);
    EXPECT_EQ(f.speedPeak[comfort::kYaw], 0.0);
    // The running mean removes the eye height; the bob keeps its full swing.
    EXPECT_NEAR(f.bobPeakToPeakCm, 2.0 * kBobAmplitude * 100.0, 0.05);
    EXPECT_NEAR(f.bobHz, kBobHz, comfort::kBobHzStep);
    EXPECT_EQ(f.frames, int(kSeconds * kFps) + 1);
    EXPECT_EQ(f.shiftPeakCm, 0.0);
}

// A vehicle's inertia: the eye slides 12 cm forward for a moment and back.
// (Off the seat the slide is not read.)
TEST(Comfort, SlideIsTheHorizontalOffsetFromItsRunningMean) {
    comfort::Motion m = trace(zero, zero, zero, zero);
    for (size_t k = 0; k < m.time.size(); ++k) {
        m.north[k] = 0.5 + (k >= 298 && k <= 302 ? 0.12 : 0.0);  // the seat's offset; five frames of slide at 5 s
        m.east[k] = 0.2;
    }
    comfort::Figures f = comfort::analyse(m);
    // Five frames of the slide in the sixty of the running mean: 12 cm less 1 cm.
    EXPECT_NEAR(f.shiftPeakCm, 11.0, 1e-6);
    EXPECT_EQ(f.bobPeakToPeakCm, 0.0);
    for (size_t k = 0; k < m.time.size(); ++k) m.seated[k] = false;
    EXPECT_EQ(comfort::analyse(m).shiftPeakCm, 0.0);
}

double pitchStep(double t) { return t < 5.0 ? 0.0 : 3.0; }
double yawAcrossTheWrap(double t) { return t < 5.0 ? 179.0 : -179.0; }  // a 2 degree step, not 358

TEST(Comfort, StepIsOneFrameOfSpeedAndTheLargestJerk) {
    comfort::Figures f = comfort::analyse(trace(pitchStep, yawAcrossTheWrap, zero, zero));
    const double dt = 1.0 / kFps;
    const double speeds = kSeconds * kFps;  // one per frame after the first
    EXPECT_NEAR(f.speedPeak[comfort::kPitch], 3.0 / dt, 1e-6);
    EXPECT_NEAR(f.speedRms[comfort::kPitch], 3.0 / dt / std::sqrt(speeds), 1e-6);
    EXPECT_NEAR(f.speedPeak[comfort::kYaw], 2.0 / dt, 1e-6);
    // Speed 0, S/dt, 0: acceleration +S/dt^2, -S/dt^2: jerk peaks at 2 S/dt^3.
    EXPECT_NEAR(f.jerkPeak, 2.0 * 3.0 / (dt * dt * dt), 1e-3 * 3.0 / (dt * dt * dt));
    EXPECT_EQ(f.bobPeakToPeakCm, 0.0);
    EXPECT_EQ(f.bobHz, 0.0);
}

double constantPitch(double) { return 4.0; }
double constantRoll(double) { return -1.5; }
double constantHeight(double) { return 1.62; }

TEST(Comfort, ConstantOffsetIsNoMotionButAConstantRoll) {
    comfort::Figures f = comfort::analyse(trace(constantPitch, zero, constantRoll, constantHeight));
    for (int a = 0; a < comfort::kAxes; ++a) {
        EXPECT_EQ(f.speedPeak[a], 0.0);
        EXPECT_EQ(f.speedRms[a], 0.0);
    }
    EXPECT_EQ(f.jerkPeak, 0.0);
    EXPECT_NEAR(f.rollPeak, 1.5, 1e-12);  // a tilted horizon is still roll
    EXPECT_NEAR(f.rollRms, 1.5, 1e-12);
    EXPECT_NEAR(f.bobPeakToPeakCm, 0.0, 1e-9);
    EXPECT_EQ(f.bobHz, 0.0);
}

// Frames where the game's camera shows (or the ease to it) do not count, and
// no speed is taken across them: a jump while handed back is not motion.
TEST(Comfort, FramesThatDoNotCountBreakTheRun) {
    comfort::Motion m = trace(pitchStep, zero, zero, zero);
    for (size_t k = 0; k < m.time.size(); ++k)
        if (m.time[k] > 4.9 && m.time[k] < 5.1) m.counts[k] = false;
    comfort::Figures f = comfort::analyse(m);
    EXPECT_EQ(f.speedPeak[comfort::kPitch], 0.0);
    EXPECT_EQ(f.jerkPeak, 0.0);
    EXPECT_LT(f.frames, int(m.time.size()));
}

double crouchThenBob(double t) { return t < 5.0 ? 1.7 - 0.3 * std::min(1.0, t / 0.3) : bobSine(t) - 0.3; }

// The bob is read only while the player moves: a crouch eased in while
// standing still is no bob, the stride's bounce after it is.
TEST(Comfort, BobOnlyWhileMoving) {
    comfort::Motion m = trace(zero, zero, zero, crouchThenBob);
    for (size_t k = 0; k < m.time.size(); ++k) m.moving[k] = m.time[k] >= 5.0;
    comfort::Figures f = comfort::analyse(m);
    EXPECT_NEAR(f.bobPeakToPeakCm, 2.0 * kBobAmplitude * 100.0, 0.3);
    EXPECT_NEAR(f.bobHz, kBobHz, 0.05);
}

}  // namespace

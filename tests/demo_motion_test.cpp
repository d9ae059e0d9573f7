// The report's reading of the traces: the added motion (rendered minus the
// game's own camera) and the frame-rate comparison, on small synthetic traces.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tools/demo_motion.h"

namespace {

// A trace with the given columns, one row per frame from a function of the frame's time.
report::Trace makeTrace(const std::vector<std::string>& columns, double fps, double seconds,
                        std::vector<std::string> (*row)(double t)) {
    report::Trace t;
    t.header = {"time_s"};
    t.header.insert(t.header.end(), columns.begin(), columns.end());
    for (int k = 0; k <= int(seconds * fps); ++k) {
        double time = k / fps;
        std::vector<std::string> r = {std::to_string(time)};
        std::vector<std::string> rest = row(time);
        r.insert(r.end(), rest.begin(), rest.end());
        t.rows.push_back(r);
    }
    return t;
}

TEST(DemoMotion, AddedMotionIsRenderedMinusTheGamesCameraOnFullFrames) {
    // The game's camera turns through the 180 degree seam; the plug-in's
    // rendered yaw leads it by 2 degrees and rolls 1 degree; it fills the screen from 0.5 s.
    report::Trace t = makeTrace(
        {"pitch", "roll", "yaw", "cam_x", "cam_y", "cam_z", "gameplay_pitch", "gameplay_yaw", "gameplay_roll", "game_x",
         "game_y", "game_z", "blend", "rendering", "move_ratio", "mode"},
        60.0, 1.0, [](double t) {
            double gameYaw = std::remainder(170.0 + 20.0 * t, 360.0);
            return std::vector<std::string>{"3", "1", std::to_string(std::remainder(gameYaw + 2.0, 360.0)), "0", "0", "1.8",
                                            "3", std::to_string(gameYaw), "0", "0", "0", "1.7",
                                            t >= 0.5 ? "1" : "0.5", "1", "1", "on-foot"};
        });
    comfort::Motion m = motion::addedMotion(t);
    for (size_t k = 0; k < m.time.size(); ++k) {
        EXPECT_NEAR(m.yaw[k], 2.0, 1e-3) << m.time[k];  // not 2 - 360 at the seam
        EXPECT_NEAR(m.pitch[k], 0.0, 1e-9);
        EXPECT_NEAR(m.roll[k], 1.0, 1e-9);
        EXPECT_NEAR(m.up[k], 0.1, 1e-9);
        EXPECT_EQ(m.counts[k], m.time[k] >= 0.5) << m.time[k];
        EXPECT_TRUE(m.moving[k]);
        EXPECT_FALSE(m.seated[k]);
    }
}

// A recoil-like kick that starts with the step on line 2 and decays with time.
std::vector<std::string> kickAt(double t, double start, double size) {
    double v = t < start ? 0.0 : size * std::exp(-(t - start) * 5.0);
    return {std::to_string(v), t < start ? "1" : "2"};
}

TEST(DemoMotion, FrameRateRunsAreLinedUpStepByStep) {
    const motion::Channel* recoil = nullptr;
    for (const motion::Channel& c : motion::channels())
        if (std::string(c.name) == "recoil pitch") recoil = &c;
    ASSERT_NE(recoil, nullptr);
    report::Trace at60 = makeTrace({"recoil_pitch", "line"}, 60.0, 3.0, [](double t) { return kickAt(t, 1.0, 2.0); });
    // At 30 fps the step starts 0.1 s later (its earlier steps ran over by whole
    // frames) but the kick is the same: no difference.
    report::Trace late = makeTrace({"recoil_pitch", "line"}, 30.0, 3.0, [](double t) { return kickAt(t, 1.1, 2.0); });
    motion::RateDifference same = motion::compare(at60, late, *recoil, 1.0 / 30.0);
    EXPECT_LT(same.largest, 0.05);
    EXPECT_NEAR(same.range, 2.0, 1e-3);
    // A kick half as big at the other frame rate is a difference of the effect.
    report::Trace half = makeTrace({"recoil_pitch", "line"}, 30.0, 3.0, [](double t) { return kickAt(t, 1.1, 1.0); });
    motion::RateDifference differs = motion::compare(at60, half, *recoil, 1.0 / 30.0);
    EXPECT_NEAR(differs.largest, 1.0, 0.1);
    EXPECT_NEAR(differs.when, 1.0, 0.05);
}

}  // namespace

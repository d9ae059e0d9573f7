// The head bob as the camera shows it: the stride rate at each pace, idle
// breathing alone when standing, the selection wheel's fade and hold, and the
// speed setting touching the stride and nothing else.
#include <algorithm>
#include <cmath>
#include <vector>

#include "camera_session.h"

namespace {

using namespace camtest;

struct Sample {
    double t;  // seconds
    float lateral, vertical, pitch, yaw, roll;
};

// The camera's offset from where it would sit without the bob. The view looks
// north, level, so the view's right is +x.
Sample sample() {
    const Vec3 head = sim::pedHeadPosition();
    const sim::ScriptCam& c = cam();
    return {sim::now() * 0.001, c.position.x - head.x, c.position.z - head.z, c.rotation.x, c.rotation.z,
            c.rotation.y};
}

std::vector<Sample> record(uint32_t ms) {
    std::vector<Sample> out;
    const uint32_t start = sim::now();
    while (sim::now() - start < ms) {
        sim::frame();
        out.push_back(sample());
    }
    return out;
}

// Cycles per second of a signal, from its upward zero crossings.
double cyclesPerSecond(const std::vector<Sample>& s, float Sample::*field) {
    std::vector<double> crossings;
    for (size_t k = 1; k < s.size(); ++k) {
        const float a = s[k - 1].*field, b = s[k].*field;
        if (a < 0.0f && b >= 0.0f) crossings.push_back(s[k - 1].t + (s[k].t - s[k - 1].t) * (-a / (b - a)));
    }
    if (crossings.size() < 3) return 0.0;
    return (crossings.size() - 1) / (crossings.back() - crossings.front());
}

float envelope(const std::vector<Sample>& s, float Sample::*field) {
    float m = 0.0f;
    for (const Sample& x : s) m = std::max(m, std::fabs(x.*field));
    return m;
}

// The head bob on at full amount, the view not yet engaged.
void bobbingSession(float speed = 1.0f, uint32_t startTick = play::kFarFromTheWrap) {
    startSession({.startTick = startTick});
    HeadBob = 1;
    HeadBobAmount = 1.0f;
    HeadBobSpeed = speed;
}

// Bobbing, looking north, engaged with the ease-in over.
void startBobbing(float speed = 1.0f, uint32_t startTick = play::kFarFromTheWrap) {
    bobbingSession(speed, startTick);
    sim::setGameplayRotation(0.0f, 0.0f, 0.0f);
    play::engageAndSettle();
}

TEST(HeadBob, StrideRateFollowsThePaceAndTheSpeedSetting) {
    startBobbing();
    const struct {
        float ratio, strides;
    } paces[] = {{1.0f, 1.5f}, {2.0f, 1.925f}, {3.0f, 2.35f}};
    for (const auto& p : paces) {
        play::walk(p.ratio);
        sim::runFor(2000);  // the gait level settles
        const auto s = record(20000);
        EXPECT_NEAR(cyclesPerSecond(s, &Sample::lateral), p.strides, p.strides * 0.005) << "ratio " << p.ratio;
        // The bounce has two cycles per stride.
        EXPECT_NEAR(cyclesPerSecond(s, &Sample::vertical), 2.0 * p.strides, p.strides * 0.01) << "ratio " << p.ratio;
    }
    HeadBobSpeed = 2.0f;
    play::walk(1.0f);
    sim::runFor(2000);
    EXPECT_NEAR(cyclesPerSecond(record(20000), &Sample::lateral), 3.0, 0.015);
}

TEST(HeadBob, StandingStillOnlyTheBreathingMovesTheCamera) {
    startBobbing();
    play::walk(0.0f);
    const auto s = record(10000);
    EXPECT_EQ(envelope(s, &Sample::lateral), 0.0f);  // breathing has no sideways term
    const float vertical = envelope(s, &Sample::vertical);
    EXPECT_GT(vertical, 0.002f);
    EXPECT_LE(vertical, 0.0045f + 1e-6f);
    EXPECT_GT(envelope(s, &Sample::pitch), 0.05f);
    EXPECT_LE(envelope(s, &Sample::pitch), 0.19f + 1e-5f);
    EXPECT_LE(envelope(s, &Sample::yaw), 0.14f + 1e-5f);
    EXPECT_LE(envelope(s, &Sample::roll), 0.11f + 1e-5f);
    // A selection wheel does not stop the breathing.
    sim::holdControl(kControlWeaponWheel);
    EXPECT_GT(envelope(record(5000), &Sample::vertical), 0.002f);
}

// Played far from the 32-bit tick wrap and with the wrap inside the quarter
// second the hold lasts after the wheel is let go.
class WheelHold : public testing::TestWithParam<uint32_t> {};

TEST_P(WheelHold, TheWeaponWheelFadesTheGaitHoldsAQuarterSecondThenReleases) {
    startBobbing(1.0f, GetParam());
    play::walk(1.0f);
    sim::runFor(3000);
    const float walking = envelope(record(1400), &Sample::lateral);  // two strides
    ASSERT_GT(walking, 0.01f);

    sim::holdControl(kControlWeaponWheel);
    const auto holding = record(500);
    // Rate 16 per second: nearly gone after 0.3 s.
    EXPECT_LT(envelope({holding.end() - 12, holding.end()}, &Sample::lateral), 0.01f * walking);

    sim::releaseControl(kControlWeaponWheel);
    if (GetParam() != play::kFarFromTheWrap) {
        ASSERT_GT(sim::now(), 0u - 250u);
    }
    // Held off for 250 ms after the release...
    EXPECT_LT(envelope(record(240), &Sample::lateral), 0.01f * walking);
    // ...then back at rate 6 per second.
    sim::runFor(800);
    EXPECT_GT(envelope(record(1400), &Sample::lateral), 0.95f * walking);
}
INSTANTIATE_TEST_SUITE_P(Clock, WheelHold, testing::Values(play::kFarFromTheWrap, 0u - 5700u));

// The game suspended twice for 2^30 ms: a wheel press then lies 2^31 ms and
// more in the past, which a stale hold-until tick reads as ahead again.
void suspendTheGameFor2To31Ms() {
    sim::setFrameMs(1u << 30);
    sim::frames(2);
    sim::setFrameMs(16);
}

TEST(HeadBob, AWheelHoldNeverComesBackAfterTheClockMovesOn) {
    startBobbing();
    play::walk(1.0f);
    sim::runFor(3000);
    const float walking = envelope(record(1400), &Sample::lateral);
    ASSERT_GT(walking, 0.01f);
    sim::tapControl(kControlWeaponWheel);
    sim::runFor(2000);  // the hold expired long ago; the bob is back
    ASSERT_GT(envelope(record(1400), &Sample::lateral), 0.95f * walking);
    suspendTheGameFor2To31Ms();
    EXPECT_GT(envelope(record(1400), &Sample::lateral), 0.95f * walking);

    // The view switched off within the hold: the bob stops with the hold still
    // ahead, and comes back after the suspension with the hold long over.
    sim::tapControl(kControlWeaponWheel);
    play::tapV();
    ASSERT_FALSE(sim::scriptCamRendering());
    suspendTheGameFor2To31Ms();
    sim::putGameInFirstPerson();
    sim::runFor(400);
    play::tapV();
    sim::runFor(3000);
    EXPECT_GT(envelope(record(1400), &Sample::lateral), 0.95f * walking);

    // The same with the bob itself switched off within the hold, and on again
    // once the hold lies more than 2^31 ms back.
    sim::tapControl(kControlWeaponWheel);
    HeadBob = 0;
    sim::frame();
    suspendTheGameFor2To31Ms();
    sim::runFor(400);
    HeadBob = 1;
    sim::runFor(3000);
    EXPECT_GT(envelope(record(1400), &Sample::lateral), 0.95f * walking);
}

// Engages a fresh camera and records the bob from its first frame.
std::vector<Sample> freshRun(uint32_t ms) {
    sim::putGameInFirstPerson();
    play::press(sim::kViewKey, 1);
    std::vector<Sample> run{sample()};
    const auto rest = record(ms);
    run.insert(run.end(), rest.begin(), rest.end());
    return run;
}

TEST(HeadBob, SpeedLeavesTheBreathingAloneAndAResetRestartsTheModel) {
    bobbingSession();
    play::walk(0.0f);
    const auto slow = freshRun(4000);
    // Switching the view off destroys the camera, which resets the model.
    play::tapV();
    sim::runFor(400);
    HeadBobSpeed = 2.0f;
    const auto fast = freshRun(4000);
    ASSERT_EQ(slow.size(), fast.size());
    for (size_t k = 0; k < fast.size(); ++k) {
        ASSERT_EQ(fast[k].vertical, slow[k].vertical) << k;
        ASSERT_EQ(fast[k].pitch, slow[k].pitch) << k;
        ASSERT_EQ(fast[k].yaw, slow[k].yaw) << k;
    }
}

}  // namespace

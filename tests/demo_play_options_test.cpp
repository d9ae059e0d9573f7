// How the demo replays a session beyond its own steps: at an exact frame rate
// on the game's whole-millisecond clock, with a player's settings file instead
// of the session's own settings lines, and on the street the clips are drawn in.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/world/shapetests.h"
#include "sim/world/stage.h"

namespace {

scenario::Scenario parseOk(const std::string& text) {
    scenario::Scenario s;
    scenario::ParseError e;
    EXPECT_TRUE(scenario::parse(text, s, e)) << e.line << ": " << e.message;
    return s;
}

void recordTick(void* context, const scenario::FrameInfo&) { static_cast<std::vector<uint32_t>*>(context)->push_back(sim::now()); }

TEST(PlayOptions, FrameRateOnTheMillisecondClock) {
    // 144 fps over a session that asks for 50 ms frames: the rate wins, and the
    // clock advances by whole milliseconds that average out to 1000/144.
    scenario::Scenario s = parseOk("frame-ms 50\nwait 1s\n");
    scenario::PlayOptions options;
    options.frameUs = 6944;
    std::vector<uint32_t> ticks;
    scenario::ParseError e;
    ASSERT_TRUE(scenario::play(s, recordTick, &ticks, e, options)) << e.message;
    ASSERT_GT(ticks.size(), 144u);
    for (size_t k = 1; k < ticks.size(); ++k) {
        uint32_t step = ticks[k] - ticks[k - 1];
        EXPECT_TRUE(step == 6 || step == 7) << "frame " << k << " took " << step << " ms";
    }
    // 144 frames after the first: 999.9 ms, so the clock reads 999 ms on.
    EXPECT_EQ(ticks[144] - ticks[0], 999u);
}

TEST(PlayOptions, ASettingsFileDecidesInsteadOfTheSessionsSetLines) {
    char path[] = "/tmp/zv-play-options-XXXXXX.ini";
    int fd = mkstemps(path, 4);
    ASSERT_GE(fd, 0);
    close(fd);
    {
        std::ofstream out(path, std::ios::binary);
        out << "[Camera]\r\nBindVer=5\r\nFOV=72.0\r\nHeadBob=1\r\n";
    }
    scenario::Scenario s = parseOk("set FOV 110\nset HeadBob 0\nwait 2f\n");
    scenario::PlayOptions options;
    options.settingsFile = path;
    options.skipSettings = true;
    scenario::ParseError e;
    ASSERT_TRUE(scenario::play(s, nullptr, nullptr, e, options)) << e.message;
    EXPECT_FLOAT_EQ(FOV, 72.0f);
    EXPECT_EQ(HeadBob, 1);
    std::remove(path);
}

TEST(PlayOptions, AMissingSettingsFileStopsThePlay) {
    scenario::Scenario s = parseOk("wait 1f\n");
    scenario::PlayOptions options;
    options.settingsFile = "/nonexistent/Zentravisor.ini";
    scenario::ParseError e;
    EXPECT_FALSE(scenario::play(s, nullptr, nullptr, e, options));
    EXPECT_NE(e.message.find("/nonexistent/Zentravisor.ini"), std::string::npos) << e.message;
}

// The street stands clear of the road: a probe down the road's centre line
// meets nothing, one across the kerb meets a post, one into the block on the
// left of the spawn meets its wall.
TEST(PlayOptions, TheStreetLeavesTheRoadOpen) {
    scenario::Scenario s = parseOk("wait 1f\n");
    scenario::PlayOptions options;
    options.stage = true;
    scenario::ParseError e;
    ASSERT_TRUE(scenario::play(s, nullptr, nullptr, e, options)) << e.message;
    ASSERT_TRUE(sim::stage.built);
    EXPECT_FALSE(sim::castSegment({0.0f, -100.0f, 1.5f}, {0.0f, 600.0f, 1.5f}, sim::kProbeMap, 0).hit);
    sim::RayHit post = sim::castSegment({0.0f, 10.0f, 0.6f}, {10.0f, 10.0f, 0.6f}, sim::kProbeMap, 0);
    ASSERT_TRUE(post.hit);
    EXPECT_NEAR(post.point.x, sim::kPostOffset - 0.09f, 1e-3f);
    EXPECT_TRUE(sim::castSegment({0.0f, 0.0f, 1.7f}, {-40.0f, 85.0f, 1.7f}, sim::kProbeMap, 0).hit);  // 25 degrees left
    EXPECT_EQ(sim::roadPaintAt(0.0f, sim::kRoadStartY + 1.0f), 2);   // on a dash of the centre line
    EXPECT_EQ(sim::roadPaintAt(0.0f, sim::kRoadStartY + 4.0f), 1);   // in the gap
    EXPECT_EQ(sim::roadPaintAt(sim::kRoadHalfWidth + 0.1f, 0.0f), 0);
}

}  // namespace

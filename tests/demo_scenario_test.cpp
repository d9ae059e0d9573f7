// Play sessions: the format's words, the line numbers of its errors, and the
// player driving the plug-in's inputs frame by frame.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bundled_sessions.h"
#include "camera/camera.h"
#include "camera/rig.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/vehicles.h"

namespace {

scenario::Scenario parseOk(const std::string& text) {
    scenario::Scenario s;
    scenario::ParseError e;
    EXPECT_TRUE(scenario::parse(text, s, e)) << "line " << e.line << ": " << e.message;
    return s;
}

scenario::ParseError parseBad(const std::string& text) {
    scenario::Scenario s;
    scenario::ParseError e;
    EXPECT_FALSE(scenario::parse(text, s, e)) << text;
    return e;
}

// A play that stopped at the line, with a message that says what went wrong.
void expectStopped(bool played, const scenario::ParseError& e, int line, const char* says) {
    EXPECT_FALSE(played);
    EXPECT_EQ(e.line, line);
    EXPECT_NE(e.message.find(says), std::string::npos) << e.message;
}

TEST(ScenarioFormat, StepsKeepTheirLineNumbersAcrossCommentsAndBlankLines) {
    scenario::Scenario s = parseOk(
        "# a walk\r\n"
        "\n"
        "set HeadBob 1   # on\n"
        "   hold W 2s\n"
        "wait 500ms\n"
        "wait 30f\n"
        "wait 1.5s\n");
    ASSERT_EQ(s.steps.size(), 5u);
    EXPECT_EQ(s.steps[0].line, 3);
    EXPECT_EQ(s.steps[0].word, "HeadBob");
    EXPECT_EQ(s.steps[0].from, 1.0);
    EXPECT_EQ(s.steps[1].line, 4);
    EXPECT_EQ(s.steps[1].code, 'W');
    EXPECT_EQ(s.steps[1].duration.amount, 2000u);
    EXPECT_FALSE(s.steps[1].duration.frames);
    EXPECT_EQ(s.steps[2].duration.amount, 500u);
    EXPECT_EQ(s.steps[3].duration.amount, 30u);
    EXPECT_TRUE(s.steps[3].duration.frames);
    EXPECT_EQ(s.steps[4].duration.amount, 1500u);
}

TEST(ScenarioFormat, KeyNamesAreTheWindowsVirtualKeys) {
    EXPECT_EQ(scenario::keyCode("V"), 0x56);
    EXPECT_EQ(scenario::keyCode("v"), 0x56);
    EXPECT_EQ(scenario::keyCode("7"), 0x37);
    EXPECT_EQ(scenario::keyCode("F6"), 0x75);
    EXPECT_EQ(scenario::keyCode("F10"), 0x79);
    EXPECT_EQ(scenario::keyCode("F24"), 0x87);
    EXPECT_EQ(scenario::keyCode("NUMPAD5"), 0x65);
    EXPECT_EQ(scenario::keyCode("shift"), 0x10);
    EXPECT_EQ(scenario::keyCode("ENTER"), 0x0D);
    EXPECT_EQ(scenario::keyCode("UP"), 0x26);
    EXPECT_EQ(scenario::keyCode("F25"), -1);
    EXPECT_EQ(scenario::keyCode("F"), 'F');
    EXPECT_EQ(scenario::keyCode("NUMPAD"), -1);
    EXPECT_EQ(scenario::keyCode("WW"), -1);
}

TEST(ScenarioFormat, WorldAndMenuSteps) {
    scenario::Scenario s = parseOk(
        "control 24 hold 500ms\n"
        "control 1 normal -0.5\n"
        "look yaw 30 over 1s\n"
        "speed 30 -> 5 over 1f\n"
        "speed -4\n"
        "give-weapon weapon_pistol\n"
        "fire burst 1s\n"
        "enter-vehicle motorcycle\n"
        "menu right 3\n"
        "mark brake hard\n");
    ASSERT_EQ(s.steps.size(), 10u);
    EXPECT_EQ(s.steps[0].code, 24);
    EXPECT_EQ(s.steps[0].controlAction, scenario::ControlAction::Hold);
    EXPECT_EQ(s.steps[1].from, -0.5);
    EXPECT_EQ(s.steps[2].word, "yaw");
    EXPECT_EQ(s.steps[2].from, 30.0);
    EXPECT_EQ(s.steps[3].from, 30.0);
    EXPECT_EQ(s.steps[3].to, 5.0);
    EXPECT_TRUE(s.steps[3].duration.frames);
    EXPECT_EQ(s.steps[4].to, -4.0);
    EXPECT_EQ(s.steps[5].word, "WEAPON_PISTOL");
    EXPECT_EQ(s.steps[7].word, "motorcycle");
    EXPECT_EQ(s.steps[8].count, 3);
    EXPECT_EQ(s.steps[9].word, "brake hard");
}

TEST(ScenarioFormat, BadLinesNameTheirLineAndWhatIsWrong) {
    struct Case {
        const char* text;
        int line;
        const char* says;
    };
    const Case cases[] = {
        {"wait 1s\njump 2s\n", 2, "unknown verb 'jump'"},
        {"# c\n\nhold W 2x\n", 3, "bad duration '2x'"},
        {"wait 2\n", 1, "bad duration '2'"},
        {"wait -1s\n", 1, "bad duration"},
        {"wait 1.5f\n", 1, "bad duration"},
        {"wait\n", 1, "needs more words"},
        {"wait 1s 2s\n", 1, "unexpected '2s'"},
        {"press WW\n", 1, "unknown key name 'WW'"},
        {"set FOV abc\n", 1, "bad number 'abc'"},
        {"set FOV 200\n", 1, "outside its range 30 .. 120"},
        {"set Fov 90\n", 1, "unknown setting 'Fov'"},
        {"set HeadBob 2\n", 1, "a flag: 0 or 1"},
        {"speed 30 to 5 over 1s\n", 1, "'speed' takes"},
        {"look roll 3\n", 1, "unknown look axis 'roll'"},
        {"enter-vehicle tank\n", 1, "unknown enter-vehicle 'tank'"},
        {"control 400 press\n", 1, "bad control id '400'"},
        {"control 24 tap\n", 1, "unknown control action 'tap'"},
        {"menu sideways\n", 1, "unknown menu action 'sideways'"},
        {"frame-ms 0\n", 1, "bad frame time '0'"},
        {"give-weapon PISTOL\n", 1, "unknown weapon 'PISTOL'"},
        {"pad trigger 300\n", 1, "outside 0..255"},
        {"shot\n", 1, "'shot' takes a file name"},
        {"shot ../menu.png\n", 1, "bad shot file '../menu.png'"},
        {"shot shots/menu.png\n", 1, "bad shot file"},
        {"shot C:menu.png\n", 1, "bad shot file"},
        {"shot menu.jpg\n", 1, "bad shot file"},
        {"shot .png\n", 1, "bad shot file"},
    };
    for (const Case& c : cases) {
        scenario::ParseError e = parseBad(c.text);
        EXPECT_EQ(e.line, c.line) << c.text;
        EXPECT_NE(e.message.find(c.says), std::string::npos) << c.text << " -> " << e.message;
    }
}

TEST(ScenarioFormat, EveryBundledSessionParses) {
    // The demo's, the screenshot tools', and those played under Wine.
    for (const char* folder : {"/sessions", "/sessions/shots", "/tests/wine/sessions", "/tests/trace"}) {
        int sessions = 0;
        for (const auto& entry : std::filesystem::directory_iterator(ZV_SOURCE_DIR + std::string(folder))) {
            if (entry.path().extension() != ".zvs") continue;
            ++sessions;
            scenario::Scenario s;
            scenario::ParseError e;
            EXPECT_TRUE(scenario::parseFile(entry.path().string(), s, e))
                << entry.path().filename().string() << ":" << e.line << ": " << e.message;
            EXPECT_FALSE(s.steps.empty()) << entry.path();
        }
        EXPECT_GT(sessions, 0) << folder;
    }
}

struct Seen {
    std::vector<bool> vDown;
    std::vector<uint32_t> ticks;
    std::vector<std::string> marks;
};

void watch(void* context, const scenario::FrameInfo& frame) {
    Seen& seen = *static_cast<Seen*>(context);
    seen.vDown.push_back(sim::os.keyDown['V']);
    seen.ticks.push_back(sim::now());
    if (frame.mark) seen.marks.push_back(*frame.mark);
}

TEST(ScenarioPlayer, DurationsKeysAndSettingsReachThePlugIn) {
    scenario::Scenario s = parseOk(
        "set FOV 100\n"
        "mark start\n"
        "press V\n"
        "wait 100ms\n"
        "frame-ms 50\n"
        "wait 3f\n"
        "hold V 120ms\n");
    Seen seen;
    scenario::ParseError e;
    ASSERT_TRUE(scenario::play(s, watch, &seen, e)) << e.message;
    // Start-up frame, press (down one frame, up one), 100 ms at 16 ms = 7 frames,
    // 3 frames at 50 ms, 120 ms held at 50 ms = 3 frames.
    ASSERT_EQ(seen.ticks.size(), 1u + 2u + 7u + 3u + 3u);
    EXPECT_FALSE(seen.vDown[0]);
    EXPECT_TRUE(seen.vDown[1]);
    EXPECT_FALSE(seen.vDown[2]);
    EXPECT_EQ(seen.ticks[10] - seen.ticks[9], 50u);
    EXPECT_TRUE(seen.vDown.back());
    EXPECT_FALSE(sim::os.keyDown['V']);  // released after the hold
    EXPECT_EQ(seen.marks, std::vector<std::string>{"start"});
    EXPECT_FLOAT_EQ(FOV, 100.0f);  // set after the start-up load, so it stays
}

TEST(ScenarioPlayer, MenuStepsPressTheBoundMenuKey) {
    scenario::Scenario s = parseOk("set MenuKeyVK 120\nmenu open\n");
    scenario::ParseError e;
    bool sawF9 = false;
    ASSERT_TRUE(scenario::play(
        s, [](void* c, const scenario::FrameInfo&) { *static_cast<bool*>(c) |= sim::os.keyDown[120]; }, &sawF9, e));
    EXPECT_TRUE(sawF9);
}

TEST(ScenarioPlayer, WorldStepsMoveTheSimulatedGame) {
    scenario::Scenario s = parseOk(
        "enter-vehicle car\n"
        "engage\n"
        "speed 0 -> 10 over 1s\n"
        "wait 100ms\n");
    scenario::ParseError e;
    ASSERT_TRUE(scenario::play(s, nullptr, nullptr, e)) << e.message;
    ASSERT_NE(sim::player.vehicle, 0);
    EXPECT_NEAR(sim::forwardSpeedOf(sim::player.vehicle), 10.0f, 0.01f);
    EXPECT_EQ(engaged, 1);
    EXPECT_EQ(cameraRendering, 1);
}

TEST(ScenarioPlayer, AStepTheWorldCannotTakeNamesItsLine) {
    scenario::ParseError e;
    expectStopped(scenario::play(parseOk("wait 1f\n# on foot\nspeed 5\n"), nullptr, nullptr, e), e, 3, "not in a vehicle");
}

TEST(ScenarioPlayer, LookTurnsTheGameCameraOverItsDuration) {
    scenario::Scenario s = parseOk("look yaw 170 over 160ms\nlook yaw 20\n");
    std::vector<float> yaws;
    scenario::ParseError e;
    ASSERT_TRUE(scenario::play(
        s, [](void* c, const scenario::FrameInfo&) { static_cast<std::vector<float>*>(c)->push_back(sim::gameCameras.rotation.z); },
        &yaws, e));
    ASSERT_EQ(yaws.size(), 1u + 10u + 1u);
    EXPECT_NEAR(yaws[1], 17.0f, 0.01f);  // a tenth of the turn in the first of ten frames
    EXPECT_NEAR(yaws[10], 170.0f, 0.01f);
    EXPECT_NEAR(yaws[11], -170.0f, 0.01f);  // wrapped into -180..180
}

TEST(ScenarioPlayer, LookTurnsOverNoTimeLandTogetherWithTheNextFrame) {
    scenario::Scenario s = parseOk("look yaw -15 over 0ms\nlook pitch -1\n");
    std::vector<std::pair<float, float>> seen;  // yaw, pitch after each frame
    scenario::ParseError e;
    ASSERT_TRUE(scenario::play(
        s,
        [](void* c, const scenario::FrameInfo&) {
            static_cast<std::vector<std::pair<float, float>>*>(c)->push_back(
                {sim::gameCameras.rotation.z, sim::gameCameras.rotation.x});
        },
        &seen, e));
    ASSERT_EQ(seen.size(), 2u);  // the start-up frame and the pitch turn's
    EXPECT_FLOAT_EQ(seen[1].first, seen[0].first - 15.0f);
    EXPECT_FLOAT_EQ(seen[1].second, seen[0].second - 1.0f);
}

struct Shots {
    std::vector<std::pair<std::string, uint32_t>> taken;  // file, frames run when taken
};
Shots shots;

std::string takeShot(const std::string& file) {
    if (file == "full-disk.png") return "the disk is full";
    shots.taken.push_back({file, sim::frameIndex()});
    return "";
}

TEST(ScenarioPlayer, AShotTakesTheFrameJustPlayedAndAFailedOneStopsTheRun) {
    scenario::Scenario s = parseOk("wait 2f\nshot menu-2_a.png\nwait 1f\nshot full-disk.png\nwait 1f\n");
    scenario::PlayOptions options;
    options.shot = takeShot;
    scenario::ParseError e;
    expectStopped(scenario::play(s, nullptr, nullptr, e, options), e, 4, "the disk is full");
    EXPECT_EQ(shots.taken, (std::vector<std::pair<std::string, uint32_t>>{{"menu-2_a.png", 3u}}));
    EXPECT_EQ(sim::frameIndex(), 4u);  // nothing played after it
}

TEST(ScenarioPlayer, AShotWithNoScreenshotToolStopsTheRun) {
    scenario::ParseError e;
    expectStopped(scenario::play(parseOk("wait 1f\nshot menu.png\n"), nullptr, nullptr, e), e, 2, "writes no screenshots");
}

// The Wine host and the Linux tracer boot the plug-in themselves, then play:
// frame numbers count from the start-up frame, as in a run of N frames.
TEST(ScenarioPlayer, ABootedPlugInPlaysFromItsStartUpFrame) {
    scenario::Scenario s = parseOk("set FOV 100\nwait 19f\nhold V 2f\nwait 128f\n");
    sim::boot();
    std::vector<uint32_t> vDown;
    scenario::ParseError e;
    ASSERT_TRUE(scenario::playBooted(
        s,
        [](void* c, const scenario::FrameInfo&) {
            if (sim::os.keyDown['V']) static_cast<std::vector<uint32_t>*>(c)->push_back(sim::frameIndex() - 1);
        },
        &vDown, e))
        << e.message;
    EXPECT_EQ(sim::frameIndex(), 150u);
    EXPECT_EQ(vDown, (std::vector<uint32_t>{20, 21}));
    EXPECT_FLOAT_EQ(FOV, 100.0f);
}

TEST(ScenarioPlayer, ABootedPlugInTakesSettingsOnlyAtTheTop) {
    sim::boot();
    scenario::ParseError e;
    expectStopped(scenario::playBooted(parseOk("set FOV 100\nwait 1f\nset FOV 80\n"), nullptr, nullptr, e), e, 3,
                  "only be set at the top");
}

}  // namespace

// The plug-in on a player's real Windows: GetTickCount in 15.625 ms steps at
// high frame rates, an injector that reads keys once a frame (or every second
// frame), empty controller slots, another window in front, a game folder the
// player may not write to, a folder named outside the ANSI code page.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "camera/aiming.h"
#include "camera_session.h"
#include "menu_test_util.h"
#include "settings/settings_file.h"
#include "sim/world/cameras.h"
#include "sim/world/injector.h"
#include "sim/world/player.h"
#include "sim/world/weapons.h"
#include "weapon/recoil.h"

extern "C" int DllMain(void* module, uint32_t reason, void* reserved);

using namespace menutest;

namespace {

int notSavedNotices() {
    int n = 0;
    for (const sim::Notification& posted : sim::feed.posted) n += posted.text == kSettingsNotSavedMessage ? 1 : 0;
    return n;
}

// ---- frame times on Windows' tick -------------------------------------------

class WindowsTick : public testing::TestWithParam<uint32_t> {};

// A pistol shot's recoil settles by 1 - 9 dt each frame: at any frame rate,
// every frame moves it by that frame's real length, none stands still and none
// jumps by a timer interrupt's 15.6 ms.
TEST_P(WindowsTick, RecoilSettlesOnEveryFrameByTheFramesRealLength) {
    const uint32_t frameUs = GetParam();
    play::bootWithPadUnbound({.frameUs = frameUs});
    camtest::plainSettings();
    BodycamMaster = 1;
    BodycamRecoil = 1;
    sim::putGameInFirstPerson();
    sim::equipWeapon("WEAPON_PISTOL");
    play::engage();
    sim::runFor(700);
    sim::holdControl(kControlAim);
    sim::runFor(100);
    sim::fireOnce();  // aimed: the shot lands through the plug-in's order, and kicks
    ASSERT_GT(recoilPitch, 0.5f);
    const double expected = 1.0 - 9.0 * frameUs * 1e-6;
    int frames = 0;
    while (recoilPitch > 0.05f && frames < 1000) {
        const float before = recoilPitch;
        sim::frame();
        ++frames;
        const double step = recoilPitch / before;
        EXPECT_LT(step, 1.0) << "frame " << frames << " stood still";
        EXPECT_NEAR(step, expected, 0.01 * expected) << "frame " << frames;
    }
    EXPECT_GT(frames, 10);
}

INSTANTIATE_TEST_SUITE_P(FrameRates, WindowsTick, testing::Values(16667u, 6944u, 4167u),
                         [](const testing::TestParamInfo<uint32_t>& info) {
                             return std::to_string(static_cast<int>(std::lround(1e6 / info.param))) + "fps";
                         });

// A counter that steps back adds nothing for that frame: the clock neither runs
// backwards nor stalls, and goes on from where it was. Without a usable counter
// the clock falls back to GetTickCount, and the plug-in still runs.
TEST(WindowsTick, ACounterThatStepsBackNeitherReversesNorStallsTheClock) {
    play::bootWithPadUnbound();
    play::openMenu();
    const uint32_t before = frameTick;
    sim::os.counterSkew = -20'000'000;  // two seconds back
    sim::frame();
    EXPECT_EQ(frameTick, before);
    sim::frames(10);
    EXPECT_EQ(frameTick, before + 10 * 16);
    play::menuPress(kVkF6);
    EXPECT_EQ(menuShared.open, 0);
}

TEST(WindowsTick, WithoutAUsableCounterGetTickCountStandsIn) {
    sim::os.counterFrequency = 0;
    play::bootWithPadUnbound();
    play::openMenu();
    play::menuPress(kVkF6);
    EXPECT_EQ(menuShared.open, 0);
    sim::runFor(1000);
    EXPECT_EQ(menuShared.closing, 0);
}

// ---- the F10 press ------------------------------------------------------------

class LensPress : public testing::TestWithParam<uint32_t> {};

// Holding RIGHT on "Bodycam Enabled" flips it every 140 ms; each flip is one
// F10 press, each press reaches the injector once, and the lens ends where the
// switch ends, whether the game pumps its messages every frame or every second.
TEST_P(LensPress, EveryFlipReachesTheInjectorAsExactlyOnePress) {
    play::bootWithPadUnbound({.frameUs = 4167, .pumpEvery = GetParam()});  // 240 fps: 50 ms is twelve frames
    openAt("BODYCAM", "Bodycam Enabled");
    int flips = 0;
    uint8_t last = BodycamMaster;
    sim::holdKey(kVkRight);
    for (int k = 0; k < 240; ++k) {  // a second
        sim::frame();
        flips += BodycamMaster != last ? 1 : 0;
        last = BodycamMaster;
    }
    sim::releaseKey(kVkRight);
    sim::runFor(1000);
    ASSERT_GE(flips, 6);
    EXPECT_EQ(play::lensPressesSent(), 1 + flips);  // start-up's, then one per flip
    EXPECT_EQ(sim::injector.lensPressFrames.size(), static_cast<size_t>(1 + flips));
    EXPECT_EQ(sim::injector.lensOn, BodycamMaster == 1);
    EXPECT_FALSE(sim::os.injectedDown[kVkF10]);
}

INSTANTIATE_TEST_SUITE_P(Pumps, LensPress, testing::Values(1u, 2u),
                         [](const testing::TestParamInfo<uint32_t>& info) {
                             return info.param == 1 ? std::string("EveryFrame") : std::string("EverySecondFrame");
                         });

// A flip made with SHIFT held (the menu's fine-step key) or just before the
// player switches to another window waits: the injector would ignore F10 with a
// modifier, and another window would take it. It goes out once both are clear.
TEST(LensPress, WaitsForTheModifiersAndTheGameWindow) {
    play::bootWithPadUnbound();
    openAt("BODYCAM", "Bodycam Enabled");
    const int before = play::lensPressesSent();
    sim::holdKey(kVkShift);
    play::menuPress(kVkEnter);  // the switch goes on
    ASSERT_EQ(BodycamMaster, 1);
    EXPECT_EQ(play::lensPressesSent(), before);
    sim::os.front = sim::Front::Other;
    sim::releaseKey(kVkShift);
    sim::runFor(500);
    EXPECT_EQ(play::lensPressesSent(), before);  // nothing typed into the chat window
    sim::os.front = sim::Front::Game;
    sim::runFor(200);
    EXPECT_EQ(play::lensPressesSent(), before + 1);
    for (const sim::SentKey& k : sim::os.sentKeys) EXPECT_TRUE(k.toGame);
    EXPECT_TRUE(sim::injector.lensOn);
}

// With F10 as the menu key, the plug-in's own F10 press opens nothing: the
// start-up press, and a flip made in the menu, which stays open.
TEST(LensPress, AnF10MenuKeyIgnoresThePluginsOwnPress) {
    play::bootWithPadUnbound();
    MenuKeyVK = kVkF10;
    BodycamMaster = 1;
    syncLensEffect(1);  // as a flip would: F10 goes down now and stays down a few frames
    sim::runFor(500);
    EXPECT_EQ(menuShared.open, 0);
    EXPECT_EQ(play::lensPressesSent(), 2);
    play::menuPress(kVkF10);
    ASSERT_EQ(menuShared.open, 1);
    openPage("BODYCAM");
    moveTo("Bodycam Enabled");
    play::menuPress(kVkEnter);
    sim::runFor(500);
    EXPECT_EQ(menuShared.open, 1);
    EXPECT_EQ(play::lensPressesSent(), 3);
}

// The game may unload the plug-in while F10 is down: it comes up, or the system
// would keep it held for every other program.
TEST(LensPress, AnUnloadWhileF10IsDownLetsItUp) {
    play::bootAsLoaded();  // start-up: the switch is off, so F10 went down
    ASSERT_TRUE(sim::os.injectedDown[kVkF10]);
    DllMain(sim::pluginModule(), 0, nullptr);
    EXPECT_FALSE(sim::os.injectedDown[kVkF10]);
    ASSERT_EQ(sim::os.sentKeys.size(), 2u);
    EXPECT_TRUE(sim::os.sentKeys[1].up);
}

// ---- controller slots ---------------------------------------------------------

// A player with no controller and a sniper rifle in hand: each empty slot is
// asked once a second, not every frame; with a pistol, never. A controller
// plugged in mid-session aims within about a second.
TEST(EmptyPadSlots, AreAskedAtMostTwiceASecondAndAPluggedPadIsUsedSoon) {
    play::bootWithPadUnbound();
    SniperGameView = 1;
    sim::equipWeapon("WEAPON_PISTOL");
    sim::runFor(2000);
    for (uint64_t calls : sim::os.emptySlotCalls) EXPECT_EQ(calls, 0u);

    sim::equipWeapon("WEAPON_SNIPERRIFLE");
    sim::runFor(10'000);
    for (uint64_t calls : sim::os.emptySlotCalls) EXPECT_LE(calls, 2u * 10u + 1u);
    for (uint64_t calls : sim::os.emptySlotCalls) EXPECT_GE(calls, 9u);

    sim::os.padConnected[1] = true;
    sim::os.pads[1].leftTrigger = 200;
    const uint32_t plugged = sim::now();
    while (!sniperView && sim::now() - plugged < 3000) sim::frame();
    EXPECT_EQ(sniperView, 1);
    EXPECT_LE(sim::now() - plugged, 1000u + 150u + 32u);  // the retry, then the scope's 150 ms
}

// ---- another window in front --------------------------------------------------

// Keys typed into a chat or a browser in front of the game do nothing: V does
// not switch the camera, the menu key does not open the menu, and in an open
// menu the arrows and ENTER change nothing. Back in front, they all work.
TEST(Focus, KeysTypedIntoAnotherWindowDoNothing) {
    play::bootWithPadUnbound();
    sim::putGameInFirstPerson();
    sim::os.front = sim::Front::Other;
    play::tapV();
    sim::runFor(400);
    EXPECT_FALSE(sim::scriptCamRendering());
    play::menuPress(kVkF6);
    EXPECT_EQ(menuShared.open, 0);

    sim::os.front = sim::Front::Game;
    openAt("BODYCAM", "Bodycam Enabled");
    const int32_t cursor = menuShared.cursor;
    sim::os.front = sim::Front::Other;
    play::menuPress(kVkEnter);
    play::menuPress(kVkRight);
    play::menuPress(kVkDown);
    play::menuPress(kVkF6);
    EXPECT_EQ(BodycamMaster, 0);
    EXPECT_EQ(menuShared.cursor, cursor);
    EXPECT_EQ(menuShared.open, 1);

    // No window in front at all (a desktop being switched) is not another program's.
    sim::os.front = sim::Front::None;
    play::menuPress(kVkEnter);
    EXPECT_EQ(BodycamMaster, 1);
    sim::os.front = sim::Front::Game;
    play::menuPress(kVkF6);
    EXPECT_EQ(menuShared.open, 0);
    sim::runFor(400);
    play::tapV();
    EXPECT_TRUE(sim::scriptCamRendering());
}

// ---- the game folder ----------------------------------------------------------

// A folder under Program Files, for a game that is not elevated: the template
// cannot be made, and the player is told once at start-up and at each failed
// save, not every frame; the settings keep their values for the session.
TEST(ReadOnlyFolder, TellsThePlayerOnceAtStartUpAndAtEachFailedSave) {
    sim::boot({.readOnlyFolder = true});
    sim::runFor(2000);
    EXPECT_EQ(notSavedNotices(), 1);
    EXPECT_FALSE(std::filesystem::exists(sim::os.diskRoot + "/Zentravisor.ini"));
    play::openMenu();
    openPage("ON FOOT");  // its first row is "FOV"
    play::menuPress(kVkRight);
    const float fov = FOV;
    ASSERT_EQ(fov, 91.0f);
    play::menuPress(kVkF6);  // closes and saves
    sim::runFor(1000);
    EXPECT_EQ(notSavedNotices(), 2);
    EXPECT_EQ(FOV, fov);
    play::openMenu();
    play::menuPress(kVkF6);
    sim::runFor(500);
    EXPECT_EQ(notSavedNotices(), 3);
}

TEST(ReadOnlyFolder, AWritableFolderSaysNothing) {
    play::bootWithPadUnbound();
    play::openMenu();
    play::menuPress(kVkF6);
    sim::runFor(500);
    EXPECT_EQ(notSavedNotices(), 0);
    EXPECT_TRUE(std::filesystem::exists(sim::os.diskRoot + "/Zentravisor.ini"));
}

// A game folder named in a script outside the system's ANSI code page still
// gets its settings file, and the file's bytes are the template's.
TEST(GameFolder, NamedOutsideTheAnsiCodePageGetsItsSettingsFile) {
    play::bootAsLoaded(
        {.exePath = "C:\\Spiele\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B \xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\\GameApp.exe"});
    EXPECT_EQ(std::string(settingsFilePath()), "C:\\Spiele\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B \xE3\x82\xB2\xE3\x83\xBC"
                                               "\xE3\x83\xA0\\Zentravisor.ini");
    EXPECT_TRUE(std::filesystem::exists(sim::os.diskRoot + "/Zentravisor.ini"));
    EXPECT_EQ(notSavedNotices(), 0);
}

}  // namespace

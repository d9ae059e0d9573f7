// The menu controller played through the simulator: opening and closing,
// moving, stepping values, the binding captures and the reset dialog.
#include <cmath>
#include <fstream>
#include <sstream>

#include "menu_test_util.h"
#include "settings/settings_file.h"
#include "sim/world/cameras.h"

using namespace menutest;

namespace {

TEST(MenuOpen, SectionListWrapsAndBackFromAPageLandsOnItsHeader) {
    play::bootWithPadUnbound();
    size_t sounds0 = sim::sounds.played.size();
    play::openMenu();
    EXPECT_EQ(soundsSince(sounds0), std::vector<std::string>{"YES"});
    ASSERT_EQ(menuShared.selectableCount, 8);
    EXPECT_EQ(menuShared.cursor, 0);

    play::menuPress(kVkUp);  // wraps from the first row to the last
    EXPECT_STREQ(menuItems[cursorRow()].name, "SPECIAL THANKS");
    play::menuPress(kVkDown);  // and back
    EXPECT_STREQ(menuItems[cursorRow()].name, "GENERAL");

    openPage("VEHICLE");
    EXPECT_EQ(menuShared.selectableCount, 12);
    EXPECT_EQ(cursorRow(), rowNamed("Veh Cam"));
    play::menuPress(kVkBackspace);
    EXPECT_EQ(menuShared.openSection, -1);
    EXPECT_EQ(cursorRow(), rowNamed("VEHICLE"));
    EXPECT_EQ(menuShared.open, 1);

    // RIGHT on a header opens it too; LEFT does nothing there.
    size_t before = sim::sounds.played.size();
    play::menuPress(kVkLeft);
    EXPECT_EQ(menuShared.openSection, -1);
    EXPECT_EQ(sim::sounds.played.size(), before);
    play::menuPress(kVkRight);
    EXPECT_EQ(menuShared.openSection, rowNamed("VEHICLE"));

    // BACK twice: out of the page, then the menu closes.
    play::menuPress(kVkBackspace);
    play::menuPress(kVkBackspace);
    EXPECT_EQ(menuShared.open, 0);
    EXPECT_EQ(menuShared.closing, 0);  // the closing animation has finished
}

TEST(MenuOpen, HeldMenuKeyTogglesAtMostEvery250msAndClosingTakesAboutAQuarterSecond) {
    play::bootWithPadUnbound();
    sim::holdKey(kVkF6);
    std::vector<uint32_t> toggles;  // ticks at which open flipped
    uint8_t wasOpen = 0;
    uint32_t closingStart = 0, closingMs = 0;
    for (int k = 0; k < 200; ++k) {
        sim::frame();
        if (menuShared.open != wasOpen) toggles.push_back(sim::now());
        if (!wasOpen && menuShared.open && closingStart && !closingMs) closingMs = 0;
        if (wasOpen && !menuShared.open) closingStart = sim::now();
        if (closingStart && !closingMs && !menuShared.closing && !menuShared.open) closingMs = sim::now() - closingStart;
        wasOpen = menuShared.open;
    }
    sim::releaseKey(kVkF6);
    ASSERT_GE(toggles.size(), 6u);
    for (size_t k = 1; k < toggles.size(); ++k) EXPECT_GT(toggles[k] - toggles[k - 1], 250u);
    // 1 / 4.5 s from full open to closed, in 16 ms frames.
    EXPECT_GE(closingMs, 200u);
    EXPECT_LE(closingMs, 240u);
}

TEST(MenuOpen, RefusesToReopenWhileClosing) {
    play::bootWithPadUnbound();
    // Slow frames: each progress step is capped at 0.1 s, so closing outlasts the debounce.
    sim::setFrameMs(200);
    play::tap(kVkF6);
    sim::frames(3);
    ASSERT_EQ(menuShared.open, 1);
    ASSERT_EQ(menuShared.openProgress, 1.0f);

    sim::holdKey(kVkF6);
    sim::frame();  // closes
    ASSERT_EQ(menuShared.closing, 1);
    sim::frame();  // 200 ms later: debounced
    sim::frame();  // 400 ms: the key asks again while closing; only the debounce restarts
    EXPECT_EQ(menuShared.open, 0);
    EXPECT_EQ(menuShared.closing, 1);
    sim::frame();  // 600 ms: closed now, but only 200 ms since the refused toggle
    EXPECT_EQ(menuShared.closing, 0);
    EXPECT_EQ(menuShared.open, 0);
    sim::frame();  // 800 ms
    EXPECT_EQ(menuShared.open, 1);
}

TEST(MenuOpen, ControllerButtonOpensOnlyWhenBoundAndActive) {
    play::bootWithPadUnbound();
    sim::controls.usingKeyboard = false;
    PadOpenBtn = 0;
    sim::tapControl(175);
    EXPECT_EQ(menuShared.open, 0);
    PadOpenBtn = 175;
    sim::tapControl(175);
    EXPECT_EQ(menuShared.open, 1);
    // Open: the game does not see the menu's inputs.
    sim::frame();
    EXPECT_TRUE(sim::wasDisabledThisFrame(0, 27));
    EXPECT_TRUE(sim::wasDisabledThisFrame(2, 201));
    EXPECT_TRUE(sim::wasDisabledThisFrame(0, 177));
    sim::controls.usingKeyboard = true;
    sim::runFor(300);
    sim::tapControl(175);  // the keyboard is active: the pad is not read
    EXPECT_EQ(menuShared.open, 1);
}

TEST(MenuStepping, SliderStepsFineStepsDefaultsAndLimits) {
    play::bootWithPadUnbound();
    play::openMenu();
    openPage("ON FOOT");  // cursor on FOV
    ASSERT_EQ(cursorRow(), rowNamed("FOV"));

    play::menuPress(kVkRight);
    EXPECT_EQ(FOV, 91.0f);
    play::menuPress(kVkLeft);
    EXPECT_EQ(FOV, 90.0f);
    sim::holdKey(kVkShift);
    play::menuPress(kVkRight);
    sim::releaseKey(kVkShift);
    EXPECT_EQ(FOV, 90.25f);

    size_t posts = sim::feed.posted.size();
    play::menuPress(kVkNumpad5);
    EXPECT_EQ(FOV, 90.0f);
    ASSERT_EQ(sim::feed.posted.size(), posts + 1);
    EXPECT_EQ(sim::feed.posted.back().text, "~o~Zentravisor~s~ - Value reset to default.");
    EXPECT_EQ(sim::feed.posted.back().format, "STRING");

    // At its maximum a step stays there and still sounds.
    play::menuPress(kVkDown);
    ASSERT_EQ(cursorRow(), rowNamed("Height"));
    Height = 0.8f;
    size_t sounds0 = sim::sounds.played.size();
    play::menuPress(kVkRight);
    EXPECT_EQ(Height, 0.8f);
    EXPECT_EQ(soundsSince(sounds0), std::vector<std::string>{"NAV_LEFT_RIGHT"});
    // Off-grid values snap back onto the step grid from the minimum.
    Height = 0.1234f;
    play::menuPress(kVkLeft);
    EXPECT_NEAR(Height, 0.11f, 1e-5f);
}

TEST(MenuStepping, HeldArrowAcceleratesThroughThreeCadences) {
    play::bootWithPadUnbound();
    play::openMenu();
    openPage("ON FOOT");
    sim::setRecording(sim::Recording::Off);
    sim::setFrameMs(1);
    FOV = 30.0f;
    struct Step {
        uint32_t held;
        float value;
    };
    std::vector<Step> steps;
    size_t seen = sim::sounds.played.size();
    sim::holdKey(kVkRight);
    uint32_t start = sim::now() + 1;
    for (int k = 0; k < 2500; ++k) {
        sim::frame();
        if (sim::sounds.played.size() > seen) {
            seen = sim::sounds.played.size();
            steps.push_back({sim::now() - start, FOV});
        }
    }
    sim::releaseKey(kVkRight);
    ASSERT_GT(steps.size(), 20u);
    EXPECT_EQ(steps[0].held, 0u);
    EXPECT_EQ(steps[0].value, 31.0f);
    for (size_t k = 1; k < steps.size(); ++k) {
        uint32_t gap = steps[k].held - steps[k - 1].held;
        float delta = steps[k].value - steps[k - 1].value;
        uint32_t held = steps[k].held;
        if (steps[k - 1].value == 120.0f) {
            EXPECT_EQ(delta, 0.0f);  // stays at the top, still stepping
        } else if (held <= 600) {
            EXPECT_EQ(gap, 76u) << "at " << held;
            EXPECT_EQ(delta, 1.0f) << "at " << held;
        } else if (held > 610 && held <= 1200) {
            EXPECT_EQ(gap, 46u) << "at " << held;
            EXPECT_EQ(delta, 3.0f) << "at " << held;
        } else if (held > 1210 && steps[k].value < 120.0f) {
            EXPECT_EQ(gap, 26u) << "at " << held;
            EXPECT_EQ(delta, 8.0f) << "at " << held;
        }
    }
    EXPECT_EQ(steps.back().value, 120.0f);
    EXPECT_EQ(FOV, 120.0f);
}

TEST(MenuStepping, EnterAndNum5ShareAQuarterSecondSelectDebounce) {
    play::bootWithPadUnbound();
    play::openMenu();
    openPage("ON FOOT");  // cursor on FOV
    sim::setRecording(sim::Recording::Off);
    sim::setFrameMs(1);

    // NUM5 200 ms after ENTER is ignored; after 300 ms it resets the slider.
    FOV = 100.0f;
    const size_t posts = sim::feed.posted.size();
    play::tap(kVkEnter);  // nothing to do on a slider, but it is a select
    const uint32_t enterTick = sim::now() - 1;
    while (sim::now() - enterTick < 199) sim::frame();
    play::tap(kVkNumpad5);
    EXPECT_EQ(FOV, 100.0f);
    EXPECT_EQ(sim::feed.posted.size(), posts);
    sim::runFor(300);
    play::tap(kVkNumpad5);
    EXPECT_EQ(FOV, 90.0f);

    // A held ENTER flips a toggle once, then again each time more than 250 ms have passed.
    moveTo("Show Head");
    sim::runFor(300);
    std::vector<uint32_t> flips;
    uint8_t seen = ShowHead;
    sim::holdKey(kVkEnter);
    const uint32_t start = sim::now() + 1;
    for (int k = 0; k < 800; ++k) {
        sim::frame();
        if (ShowHead != seen) flips.push_back(sim::now() - start);
        seen = ShowHead;
    }
    sim::releaseKey(kVkEnter);
    EXPECT_EQ(flips, (std::vector<uint32_t>{0, 251, 502, 753}));
}

TEST(MenuStepping, TogglesRevealAndLensSync) {
    play::bootWithPadUnbound();
    play::openMenu();
    openPage("BODYCAM");
    ASSERT_EQ(menuShared.selectableCount, 10);

    int f10 = play::lensPressesSent();
    play::menuPress(kVkEnter);  // "Bodycam Enabled" on
    EXPECT_EQ(BodycamMaster, 1);
    play::menuPress(kVkLeft);  // and off again with an arrow
    EXPECT_EQ(BodycamMaster, 0);
    EXPECT_EQ(play::lensPressesSent(), f10 + 2);

    moveTo("Per-Weapon Recoil");
    play::menuPress(kVkEnter);
    EXPECT_EQ(ShowWeaponRecoil, 1);
    EXPECT_EQ(menuShared.selectableCount, 17);
    EXPECT_EQ(cursorRow(), rowNamed("Per-Weapon Recoil"));
    play::menuPress(kVkRight);
    EXPECT_EQ(ShowWeaponRecoil, 0);
    EXPECT_EQ(menuShared.selectableCount, 10);
    EXPECT_EQ(cursorRow(), rowNamed("Per-Weapon Recoil"));
}

TEST(MenuCapture, KeyCaptureBindsTheNextKeySkippingMouseButtonsAndEscapeCancels) {
    play::bootWithPadUnbound();
    openAt("GENERAL", "Menu Key");
    play::menuPress(kVkEnter);
    ASSERT_EQ(menuShared.keyCapture, 1);

    // Escape cancels and keeps the key.
    size_t sounds0 = sim::sounds.played.size();
    play::menuPress(kVkEscape);
    EXPECT_EQ(menuShared.keyCapture, 0);
    EXPECT_EQ(MenuKeyVK, 117);
    EXPECT_EQ(soundsSince(sounds0), std::vector<std::string>{"BACK"});

    // Mouse buttons and cancel (1 to 4) are never bound.
    play::menuPress(kVkEnter);
    for (int vk = 1; vk <= 4; ++vk) sim::holdKey(vk);
    sim::frames(3);
    EXPECT_EQ(menuShared.keyCapture, 1);
    for (int vk = 1; vk <= 4; ++vk) sim::releaseKey(vk);

    // DOWN becomes the menu key; the same pass also moves the cursor.
    size_t posts = sim::feed.posted.size();
    play::press(kVkDown, 1);
    EXPECT_EQ(MenuKeyVK, 0x28);
    EXPECT_EQ(menuShared.keyCapture, 0);
    EXPECT_EQ(cursorRow(), rowNamed("Controller Button"));
    ASSERT_EQ(sim::feed.posted.size(), posts + 1);
    EXPECT_EQ(sim::feed.posted.back().text, "~o~Zentravisor~s~ - Menu key set.");
    // The capture restarted the toggle debounce, so the new key did not close the menu at once.
    EXPECT_EQ(menuShared.open, 1);
}

TEST(MenuCapture, PendingPadCaptureBlocksTheMenuKeyUntilAButtonIsPressed) {
    play::bootWithPadUnbound();
    openAt("GENERAL", "Controller Button");
    play::menuPress(kVkEnter);
    ASSERT_EQ(menuShared.padCapture, 1);
    play::menuPress(kVkEscape);  // not a way out of a controller capture
    EXPECT_EQ(menuShared.padCapture, 1);

    play::menuPress(kVkBackspace);
    play::menuPress(kVkBackspace);
    ASSERT_EQ(menuShared.open, 0);
    play::menuPress(kVkF6);
    EXPECT_EQ(menuShared.open, 0);
    EXPECT_EQ(menuShared.padCapture, 1);

    sim::tapControl(199);  // the keyboard is active: the capture waits
    EXPECT_EQ(menuShared.padCapture, 1);
    sim::controls.usingKeyboard = false;
    sim::tapControl(199);
    EXPECT_EQ(menuShared.padCapture, 0);
    EXPECT_EQ(PadOpenBtn, 199);
    EXPECT_EQ(sim::feed.posted.back().text, "~o~Zentravisor~s~ - Controller button set.");
    sim::runFor(300);
    play::menuPress(kVkF6);
    EXPECT_EQ(menuShared.open, 1);
}

TEST(MenuReset, ControllerOpensTheDialogOnlyTheKeyboardAnswersIt) {
    play::bootWithPadUnbound();
    FOV = 100.0f;
    BodycamMaster = 1;
    syncLensEffect(1);
    sim::runFor(200);  // the press goes down, then up
    int f10 = play::lensPressesSent();
    play::openMenu();
    moveTo("Reset All");
    sim::controls.usingKeyboard = false;
    sim::tapControl(201);  // accept
    sim::runFor(300);
    ASSERT_NE(sim::findText("Are you sure?"), nullptr);

    // Pad accept and cancel, arrows and NUM5 do not answer it.
    sim::tapControl(201);
    sim::tapControl(202);
    play::menuPress(kVkDown);
    play::menuPress(kVkNumpad5);
    EXPECT_NE(sim::findText("Are you sure?"), nullptr);
    EXPECT_EQ(cursorRow(), rowNamed("Reset All"));

    play::menuPress(kVkEnter);
    EXPECT_EQ(sim::findText("Are you sure?"), nullptr);
    EXPECT_EQ(FOV, 90.0f);
    EXPECT_EQ(BodycamMaster, 0);
    EXPECT_EQ(PadOpenBtn, 175);
    EXPECT_EQ(play::lensPressesSent(), f10 + 1);  // the lens effect follows the switch off
    EXPECT_EQ(sim::feed.posted.back().text, "~o~Zentravisor~s~ - All settings restored to defaults.");
    EXPECT_EQ(menuShared.open, 1);

    // Confirming again with the switch already off sends nothing.
    sim::controls.usingKeyboard = true;
    play::menuPress(kVkEnter);
    ASSERT_NE(sim::findText("Are you sure?"), nullptr);
    play::menuPress(kVkEnter);
    EXPECT_EQ(play::lensPressesSent(), f10 + 1);
}

TEST(MenuReset, CancelKeepsSettingsAndThePendingDialogSurvivesClosing) {
    play::bootWithPadUnbound();
    FOV = 100.0f;
    play::openMenu();
    moveTo("Reset All");
    play::menuPress(kVkEnter);
    ASSERT_NE(sim::findText("Are you sure?"), nullptr);
    // The dimming lies under the dialog and over the menu.
    const sim::DrawItem* dim = nullptr;
    for (const sim::DrawItem* d : sim::lastFrameRects())
        if (d->width == 1.0f && d->height == 1.0f) dim = d;
    ASSERT_NE(dim, nullptr);
    EXPECT_EQ(dim->colour.a, 150);

    play::menuPress(kVkF6);  // closes with the dialog pending
    EXPECT_EQ(menuShared.open, 0);
    play::menuPress(kVkF6);
    EXPECT_NE(sim::findText("Are you sure?"), nullptr);
    size_t sounds0 = sim::sounds.played.size();
    play::menuPress(kVkBackspace);
    EXPECT_EQ(soundsSince(sounds0), std::vector<std::string>{"BACK"});
    EXPECT_EQ(sim::findText("Are you sure?"), nullptr);
    EXPECT_EQ(FOV, 100.0f);
    EXPECT_EQ(menuShared.open, 1);  // the cancel restarted the BACK debounce
}

TEST(MenuReset, TheDialogLeavesTheArrowHoldsAlone) {
    play::bootWithPadUnbound();
    play::openMenu();
    moveTo("Reset All");
    // LEFT does nothing on "Reset All", but its hold has begun.
    sim::holdKey(kVkLeft);
    sim::runFor(700);
    play::tap(kVkEnter);
    ASSERT_NE(sim::findText("Are you sure?"), nullptr);
    sim::runFor(300);
    play::tap(kVkBackspace);
    ASSERT_EQ(sim::findText("Are you sure?"), nullptr);

    // Straight up to "ON FOOT" and into it, LEFT still down.
    const int32_t onFoot = rowNamed("ON FOOT");
    sim::holdKey(kVkUp);
    for (int k = 0; k < 100 && cursorRow() != onFoot; ++k) sim::frame();
    sim::releaseKey(kVkUp);
    play::tap(kVkEnter);
    ASSERT_EQ(cursorRow(), rowNamed("FOV"));
    for (int k = 0; k < 20 && FOV == 90.0f; ++k) sim::frame();
    // The first step: the hold began before the dialog, more than 1200 ms ago, so eight steps at once.
    EXPECT_EQ(FOV, 82.0f);
    sim::releaseKey(kVkLeft);
}

std::string settingsFileText() {
    std::ifstream in(sim::hostPath(settingsFilePath()), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(MenuReset, TheFileReceivesTheResetAtTheNextClose) {
    play::bootWithPadUnbound();
    play::openMenu();
    play::menuPress(kVkF6);  // a first close writes the current settings
    ASSERT_NE(settingsFileText().find("PadOpenBtn=0\r\n"), std::string::npos);
    FOV = 100.0f;
    play::openMenu();
    moveTo("Reset All");
    play::menuPress(kVkEnter);
    play::menuPress(kVkEnter);  // confirmed
    ASSERT_EQ(PadOpenBtn, 175);
    std::string beforeClose = settingsFileText();
    EXPECT_NE(beforeClose.find("PadOpenBtn=0\r\n"), std::string::npos);
    play::menuPress(kVkBackspace);  // closes from the section list
    ASSERT_EQ(menuShared.open, 0);
    std::string afterClose = settingsFileText();
    EXPECT_NE(afterClose.find("PadOpenBtn=175\r\n"), std::string::npos);
    EXPECT_NE(afterClose.find("FOV=90"), std::string::npos);
}

TEST(MenuReset, ConfirmingStopsTheScriptedCamera) {
    play::bootWithPadUnbound();
    sim::putGameInFirstPerson();
    play::engageAndSettle();
    play::openMenu();
    moveTo("Reset All");
    play::menuPress(kVkEnter);
    ASSERT_NE(sim::findText("Are you sure?"), nullptr);

    size_t calls0 = sim::rendering.calls.size();
    play::press(kVkEnter, 1);
    // Answered in this frame (whose dialog is still drawn, one last time).
    ASSERT_EQ(sim::feed.posted.back().text, "~o~Zentravisor~s~ - All settings restored to defaults.");
    ASSERT_EQ(sim::feed.posted.back().frame, sim::frameIndex() - 1);
    EXPECT_NE(sim::findText("Are you sure?"), nullptr);
    bool stopped = false;
    for (size_t k = calls0; k < sim::rendering.calls.size(); ++k)
        stopped = stopped || (!sim::rendering.calls[k].render && sim::rendering.calls[k].frame == sim::frameIndex() - 1);
    EXPECT_TRUE(stopped);
}

TEST(MenuRobustness, AnEmptyRowListIsHarmless) {
    play::bootWithPadUnbound();
    play::openMenu();
    menuShared.openSection = rowNamed("ADS Zoom Amount");  // not a section: nothing is visible
    rebuildSelectableRows();
    ASSERT_EQ(menuShared.selectableCount, 0);
    for (int vk : {kVkDown, kVkUp, kVkRight, kVkLeft, kVkEnter, kVkNumpad5}) play::menuPress(vk);
    EXPECT_NE(sim::findText("0 / 0"), nullptr);
    play::menuPress(kVkBackspace);
    EXPECT_EQ(menuShared.openSection, -1);
    EXPECT_EQ(menuShared.selectableCount, 8);
}

}  // namespace

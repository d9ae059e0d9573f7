// The settings checker: what it says about the files players actually write.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "settings/settings.h"
#include "tools/ini_check.h"
#include "tools/settings_template.h"

namespace {

inicheck::Result check(const std::string& body) {
    inicheck::Result r;
    EXPECT_TRUE(inicheck::check("[Camera]\r\n" + body, inicheck::loadCopy, r));
    return r;
}

// The one warning about a line that contains all the given words.
bool warns(const inicheck::Result& r, std::initializer_list<const char*> words) {
    for (const std::string& w : r.warnings) {
        bool all = true;
        for (const char* word : words) all = all && w.find(word) != std::string::npos;
        if (all) return true;
    }
    return false;
}

std::string dump(const inicheck::Result& r) {
    std::string s;
    for (const std::string& w : r.warnings) s += "\n  " + w;
    return s;
}

// The result holds exactly these warnings: one for each list, holding all its words.
void expectWarnings(const inicheck::Result& r, std::initializer_list<std::initializer_list<const char*>> expected) {
    for (std::initializer_list<const char*> words : expected)
        EXPECT_TRUE(warns(r, words)) << "no warning with \"" << *words.begin() << "\"" << dump(r);
    EXPECT_EQ(r.warnings.size(), expected.size()) << dump(r);
}

constexpr const char* kCurrentBindings = "BindVer=5\r\n";

TEST(SettingsChecker, TheTemplateLoadsCleanlyWithTheFirstStartNote) {
    inicheck::Result r;
    ASSERT_TRUE(inicheck::check(templatefile::bytes(), inicheck::loadCopy, r));
    EXPECT_TRUE(r.warnings.empty()) << dump(r);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_NE(r.notes[0].find("BindVer=5, MenuKeyVK=117 and PadOpenBtn=0"), std::string::npos);
    EXPECT_EQ(r.values.size(), 72u);
    EXPECT_FLOAT_EQ(HeadBobAmount, 1.0f);  // the template's value, not the 0.35 default
    EXPECT_FLOAT_EQ(MC_YawLimit, 90.0f);
    EXPECT_EQ(inicheck::print("t.ini", r, std::tmpfile()), 0);
}

TEST(SettingsChecker, ClampedAndNonNumericFloats) {
    inicheck::Result r = check(std::string(kCurrentBindings) +
                               "FOV=200\r\nVeh_FOV=10\r\nMC_FOV=abc\r\nHeight=0.3xyz\r\nSide=\r\nForward=1e-1\r\n"
                               "AutoTurnAngle= 50 \r\n");
    // 1e-1 and " 50 " are plain numbers.
    expectWarnings(r, {{"line 3", "FOV=200", "outside 30 .. 120", "120.0000"},
                       {"line 4", "Veh_FOV=10", "30.0000"},
                       {"line 5", "MC_FOV=abc", "not a number", "reads as 0", "30.0000"},
                       {"line 6", "Height=0.3xyz", "text after the number", "0.3000"},
                       {"line 7", "Side=", "not a number", "0.0000"}});
    EXPECT_FLOAT_EQ(FOV, 120.0f);
    EXPECT_FLOAT_EQ(Forward, 0.1f);
    EXPECT_EQ(inicheck::print("t.ini", r, std::tmpfile()), 1);
}

TEST(SettingsChecker, OverflowsAndInfinitiesAreOutOfRangeNotTextAfterANumber) {
    inicheck::Result r = check(std::string(kCurrentBindings) +
                               "MC_FOV=1e999\r\nVeh_FOV=inf\r\nFOV=-Infinity\r\nSide=1e39\r\nHeight=nan\r\n"
                               "Forward=infinite\r\nHeadBob=1e999\r\n");
    expectWarnings(r, {{"line 3", "MC_FOV=1e999 is out of range: loads as 120.0000"},
                       {"line 4", "Veh_FOV=inf is out of range: loads as 120.0000"},
                       {"line 5", "FOV=-Infinity is out of range: loads as 30.0000"},
                       {"line 6", "Side=1e39 is out of range: loads as 0.6000"},
                       // NaN is not read as a number at all; "infinite" is "inf" with text after it.
                       {"line 7", "Height=nan is not a number", "0.0000"},
                       {"line 8", "Forward=infinite has text after the number", "0.6000"},
                       {"line 9", "HeadBob=1e999 is cut to its first 3 characters", "1 (on)"}});
    EXPECT_FLOAT_EQ(MC_FOV, 120.0f);
    EXPECT_FLOAT_EQ(FOV, 30.0f);
    EXPECT_FLOAT_EQ(Forward, 0.6f);
}

TEST(SettingsChecker, FlagsThatDoNotReadAsWritten) {
    inicheck::Result r = check(std::string(kCurrentBindings) +
                               "HeadBob=true\r\nAimSway=0.9\r\nWeaponLead=0001\r\nRecoilShake=2\r\nAutoTurn=-1\r\n");
    // 2 and -1 are on, as a player would expect.
    expectWarnings(r, {{"HeadBob=true", "not a number", "0 (off)"},
                       {"AimSway=0.9", "not a whole number", "0 (off)"},
                       {"WeaponLead=0001", "cut", "0 (off)"}});
    EXPECT_EQ(HeadBob, 0);
    EXPECT_EQ(RecoilShake, 1);
    EXPECT_EQ(AutoTurn, 1);
}

TEST(SettingsChecker, UnknownKeysGetTheClosestKnownKey) {
    inicheck::Result r = check(std::string(kCurrentBindings) +
                               "HeadBobAmout=1\r\nFOV_Veh=80\r\nMenuKey=1\r\nfov=95\r\nTotallyNew=1\r\n");
    // The template's MenuKey line is known; key case does not matter to the profile functions.
    expectWarnings(r, {{"line 3", "'HeadBobAmout'", "HeadBobAmount?"},
                       {"line 4", "'FOV_Veh'", "Veh_FOV?"},
                       {"line 7", "'TotallyNew'"}});
    EXPECT_FLOAT_EQ(FOV, 95.0f);
}

TEST(SettingsChecker, OldBindingVersionResetsTheBindings) {
    inicheck::Result old = check("BindVer=4\r\nMenuKeyVK=70\r\nPadOpenBtn=199\r\n");
    EXPECT_TRUE(warns(old, {"BindVer=4", "MenuKeyVK 70 -> 117", "PadOpenBtn 199 -> 0", "BindVer=5"})) << dump(old);
    EXPECT_EQ(MenuKeyVK, 117);
    EXPECT_EQ(PadOpenBtn, 0);
}

TEST(SettingsChecker, MissingBindingVersionResetsTheBindingsToo) {
    inicheck::Result missing = check("MenuKeyVK=70\r\n");
    EXPECT_TRUE(warns(missing, {"no BindVer", "MenuKeyVK 70 -> 117"})) << dump(missing);
}

TEST(SettingsChecker, CurrentBindingVersionKeepsThemAndRefusedMenuKeysWarn) {
    inicheck::Result kept = check("BindVer=5\r\nMenuKeyVK=70\r\nPadOpenBtn=199\r\n");
    EXPECT_TRUE(kept.warnings.empty()) << dump(kept);
    EXPECT_EQ(MenuKeyVK, 70);
    EXPECT_EQ(PadOpenBtn, 199);
    inicheck::Result enter = check("BindVer=5\r\nMenuKeyVK=13\r\n");
    EXPECT_TRUE(warns(enter, {"MenuKeyVK=13", "F6 (117)"})) << dump(enter);
}

TEST(SettingsChecker, LinesTheLoadNeverReads) {
    inicheck::Result r = inicheck::Result();
    ASSERT_TRUE(inicheck::check("FOV=100\r\n[Camera]\r\nBindVer=5\r\nFOV=80\r\nFOV=70\r\n[Other]\r\nHeight=0.5\r\n"
                                "[Camera]\r\nSide=0.2\r\n",
                                inicheck::loadCopy, r));
    expectWarnings(r, {{"line 1", "FOV", "outside the first [Camera]"},
                       {"line 5", "appears again", "line 4"},
                       {"line 7", "Height"},
                       {"line 9", "Side"}});
    EXPECT_FLOAT_EQ(FOV, 80.0f);
    EXPECT_FLOAT_EQ(Side, 0.0f);
}

}  // namespace

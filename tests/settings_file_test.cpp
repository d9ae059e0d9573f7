// The settings file as the player's game folder sees it: the first start-up,
// the first save, loading hand-edited and damaged files, the binding migration.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "sim/sim.h"
#include "sim/world/os.h"
#include "tests/play.h"

namespace fs = std::filesystem;

namespace {

// The default file, line by line as the player first sees it.
const char* const kTemplateLines[] = {
    "; Zentravisor v2", "[Camera]", "FOV=90.0", "Height=0.10", "Side=0.00", "Forward=0.00", "HeadBob=0",
    "HeadBobAmount=1.00", "HeadBobSpeed=1.00", "Veh_FOV=85.0", "Veh_Height=0.08", "Veh_Side=0.00",
    "Veh_Forward=0.00", "Veh_Sensitivity=6.0", "WeaponLead=0", "WeaponLeadLag=0.85", "AimSway=0",
    "AimSwayAmount=1.20", "RecoilShake=0", "RecoilAmount=1.00", "CrouchLower=1", "CrouchLowerAmount=0.18",
    "Crosshair=1", "CrosshairOnlyAimed=0", "CrosshairOnlyADS=0", "ADSGameView=0", "ADSZoomAmount=25.0",
    "SniperGameView=1", "VehCam=1", "MenuKey=1", "CinematicAudio=0", "ShowHead=0", "Veh_ShowHead=0",
    "Veh_CamInertia=1", "Veh_CamInertiaAmount=1.0", "AutoTurn=1", "AutoTurnAngle=45.0", "FreeLook=0",
    "FreeLookSensitivity=6.0", "Veh_YawLimit=90.0", "MC_Cam=1", "MC_FOV=100.0", "MC_Height=0.25",
    "MC_Side=0.00", "MC_Forward=0.25", "MC_Sensitivity=8.0", "MC_ShowHead=0", "MC_CamInertia=1",
    "MC_CamInertiaAmount=1.0", "MC_FreeLook=0", "MC_FreeLookSensitivity=6.0", "MC_YawLimit=90.0"};

std::string crlf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* l : lines) text.append(l).append("\r\n");
    return text;
}

std::string templateText() {
    std::string text;
    for (const char* l : kTemplateLines) text.append(l).append("\r\n");
    return text;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

fs::path freshFolder() {
    char name[] = "/tmp/zv-settings-XXXXXX";
    if (!mkdtemp(name)) std::abort();
    return name;
}

// Boots the plug-in on a game folder holding the given settings file (or none)
// and runs the start-up frame.
fs::path bootWithFile(const std::string* settings) {
    const fs::path game = freshFolder();
    if (settings) writeFile(game / "Zentravisor.ini", *settings);
    play::bootAsLoaded({.diskRoot = game.string()});
    return game;
}

// Loads a settings file directly, as start-up does, without booting: for
// tables of hand-edited files within one test.
fs::path loadFile(const std::string& settings, const std::string& exePath = "C:\\Games\\TheGame\\GameApp.exe") {
    const fs::path game = freshFolder();
    writeFile(game / "Zentravisor.ini", settings);
    sim::os.exePath = exePath;
    sim::os.diskRoot = game.string();
    buildSettingsPath();
    writeSettingsTemplate();
    loadSettings();
    return game;
}

void expectMissingValues() {
    for (const Setting& s : kSettings) {
        switch (s.kind) {
            case SettingKind::Float: EXPECT_EQ(*s.floatField, s.missing) << s.key; break;
            case SettingKind::Flag: EXPECT_EQ(*s.flagField, s.missing) << s.key; break;
            case SettingKind::Int: EXPECT_EQ(*s.intField, s.missing) << s.key; break;
        }
    }
}

TEST(SettingsFile, FirstStartUpWritesTheTemplateAndTheMigratedBindings) {
    const std::string tmpl = templateText();
    ASSERT_EQ(tmpl.size(), 865u);
    const fs::path game = bootWithFile(nullptr);
    EXPECT_EQ(readFile(game / "Zentravisor.ini"), tmpl + "BindVer=5\r\nMenuKeyVK=117\r\nPadOpenBtn=0\r\n");
    // Attributes, the create, 73 reads and the migration's 3 writes.
    EXPECT_EQ(sim::os.fileOperations, 1u + 1u + 73u + 3u);
    // Every setting at its missing value except the two the template writes differently.
    EXPECT_EQ(HeadBobAmount, 1.0f);
    EXPECT_EQ(MC_YawLimit, 90.0f);
    HeadBobAmount = 0.35f;
    MC_YawLimit = 70.0f;
    expectMissingValues();
}

TEST(SettingsFile, FirstSaveRewritesValuesInPlaceAndAppendsTheOtherKeys) {
    const fs::path game = bootWithFile(nullptr);
    const uint64_t before = sim::os.fileOperations;
    saveSettings();
    EXPECT_EQ(sim::os.fileOperations - before, 72u);
    const std::string expected = crlf({
        "; Zentravisor v2", "[Camera]", "FOV=90.0000", "Height=0.1000", "Side=0.0000", "Forward=0.0000",
        "HeadBob=0", "HeadBobAmount=1.0000", "HeadBobSpeed=1.0000", "Veh_FOV=85.0000", "Veh_Height=0.0800",
        "Veh_Side=0.0000", "Veh_Forward=0.0000", "Veh_Sensitivity=6.0000", "WeaponLead=0",
        "WeaponLeadLag=0.8500", "AimSway=0", "AimSwayAmount=1.2000", "RecoilShake=0", "RecoilAmount=1.0000",
        "CrouchLower=1", "CrouchLowerAmount=0.1800", "Crosshair=1", "CrosshairOnlyAimed=0",
        "CrosshairOnlyADS=0", "ADSGameView=0", "ADSZoomAmount=25.0000", "SniperGameView=1", "VehCam=1",
        "MenuKey=1", "CinematicAudio=0", "ShowHead=0", "Veh_ShowHead=0", "Veh_CamInertia=1",
        "Veh_CamInertiaAmount=1.0000", "AutoTurn=1", "AutoTurnAngle=45.0000", "FreeLook=0",
        "FreeLookSensitivity=6.0000", "Veh_YawLimit=90.0000", "MC_Cam=1", "MC_FOV=100.0000",
        "MC_Height=0.2500", "MC_Side=0.0000", "MC_Forward=0.2500", "MC_Sensitivity=8.0000", "MC_ShowHead=0",
        "MC_CamInertia=1", "MC_CamInertiaAmount=1.0000", "MC_FreeLook=0", "MC_FreeLookSensitivity=6.0000",
        "MC_YawLimit=90.0000", "BindVer=5", "MenuKeyVK=117", "PadOpenBtn=0",
        // The keys neither the template nor the migration wrote, in save order.
        "BulletTracers=0", "ChromaticAberration=0", "FilmGrain=0", "DamageGlitch=0", "BodycamMaster=0",
        "BodycamRecoil=1", "BodycamRecoilAmount=1.0000", "RecHeavy=1.5000", "RecSniper=5.0000",
        "RecShotgun=5.0000", "RecMG=2.0000", "RecRifle=1.5000", "RecSMG=1.5000", "RecPistol=5.0000",
        "ShowWeaponRecoil=0", "SmoothFollow=1", "FollowAmount=0.8500", "Deadzone=1", "DeadzoneAngle=10.0000",
        "Hand3D=1", "Hand3DAmount=1.3000"});
    EXPECT_EQ(readFile(game / "Zentravisor.ini"), expected);
    // A second save with the same values changes nothing.
    saveSettings();
    EXPECT_EQ(readFile(game / "Zentravisor.ini"), expected);
}

TEST(SettingsFile, SaveAfterResetAllWritesTheResetValuesAndCutsLongInts) {
    const fs::path game = bootWithFile(nullptr);
    MenuKeyVK = 70;
    FOV = 120.0f;
    resetAllSettings();
    saveSettings();
    const std::string file = readFile(game / "Zentravisor.ini");
    EXPECT_NE(file.find("\r\nPadOpenBtn=175\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nMenuKeyVK=117\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nHeadBobAmount=0.3500\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nMC_YawLimit=70.0000\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nFOV=90.0000\r\n"), std::string::npos);
    // Ints go through an 8-byte buffer: at most 7 characters survive.
    MenuKeyVK = 12345678;
    PadOpenBtn = -12345678;
    saveSettings();
    const std::string cut = readFile(game / "Zentravisor.ini");
    EXPECT_NE(cut.find("\r\nMenuKeyVK=1234567\r\n"), std::string::npos);
    EXPECT_NE(cut.find("\r\nPadOpenBtn=-123456\r\n"), std::string::npos);
}

TEST(SettingsFile, FlagsFloatsAndIntsConvertLikeTheGameFolderExpects) {
    loadFile(crlf({"[Camera]", "HeadBob=true", "WeaponLead=2", "AimSway=-1", "RecoilShake= 1", "CrouchLower=0.9",
                   "FOV=", "Veh_FOV=1e2", "MC_FOV=95abc", "ADSZoomAmount=abc", "Veh_YawLimit=200",
                   "AutoTurnAngle=-3", "Height=nan", "Side=inf", "Forward=-inf", "HeadBobSpeed=0x1A",
                   "MC_YawLimit=1e999", "Veh_Sensitivity=-1e999", "RecoilAmount=0.1", "BindVer=5",
                   "PadOpenBtn=99999999999999"}));
    EXPECT_EQ(HeadBob, 0);      // the 4-byte buffer holds "tru"
    EXPECT_EQ(WeaponLead, 1);
    EXPECT_EQ(AimSway, 1);
    EXPECT_EQ(RecoilShake, 1);
    EXPECT_EQ(CrouchLower, 0);  // the integer conversion stops at the point
    EXPECT_EQ(FOV, 30.0f);      // present but empty: 0, clamped; not the missing 90
    EXPECT_EQ(Veh_FOV, 100.0f);
    EXPECT_EQ(MC_FOV, 95.0f);
    EXPECT_EQ(ADSZoomAmount, 5.0f);
    EXPECT_EQ(Veh_YawLimit, 180.0f);
    EXPECT_EQ(AutoTurnAngle, 10.0f);
    // No text reaches the camera as NaN or infinity: "nan" reads 0, an
    // infinity overflows like 1e999 and clamps to the end of the range.
    EXPECT_EQ(Height, 0.0f);
    EXPECT_EQ(Side, 0.6f);
    EXPECT_EQ(Forward, -0.6f);
    EXPECT_EQ(HeadBobSpeed, 0.25f);  // "0x1A" reads its decimal prefix "0"
    EXPECT_EQ(MC_YawLimit, 180.0f);
    EXPECT_EQ(Veh_Sensitivity, 1.0f);
    EXPECT_EQ(RecoilAmount, 0.1f);
    EXPECT_EQ(PadOpenBtn, INT32_MAX);  // saturated, not wrapped
}

TEST(SettingsFile, MenuKeySanityRuleKeepsTheFileAndOnlyRejectsEnterAndNonKeys) {
    const struct { const char* text; int32_t loaded; } cases[] = {
        {"13", 117}, {"0", 117}, {"-5", 117}, {"300", 300}, {"1", 1}, {"12", 12}, {"14", 14}, {"", 117}};
    for (const auto& c : cases) {
        const std::string file = crlf({"[Camera]", "BindVer=5", (std::string("MenuKeyVK=") + c.text).c_str()});
        const fs::path game = loadFile(file);
        EXPECT_EQ(MenuKeyVK, c.loaded) << c.text;
        EXPECT_EQ(readFile(game / "Zentravisor.ini"), file) << "the rule changes memory only";
    }
}

TEST(SettingsFile, OldBindingVersionResetsBothBindingsInMemoryAndInPlace) {
    const std::string old = crlf({"; mine", "[Camera]", "MenuKeyVK=70", "BindVer=4", "PadOpenBtn=199", "FOV=75"});
    const fs::path game = loadFile(old);
    EXPECT_EQ(MenuKeyVK, 117);
    EXPECT_EQ(PadOpenBtn, 0);
    EXPECT_EQ(FOV, 75.0f);
    EXPECT_EQ(readFile(game / "Zentravisor.ini"),
              crlf({"; mine", "[Camera]", "MenuKeyVK=117", "BindVer=5", "PadOpenBtn=0", "FOV=75"}));

    const std::string current = crlf({"[Camera]", "MenuKeyVK=70", "BindVer=5", "PadOpenBtn=199"});
    const fs::path kept = loadFile(current);
    EXPECT_EQ(MenuKeyVK, 70);
    EXPECT_EQ(PadOpenBtn, 199);
    EXPECT_EQ(readFile(kept / "Zentravisor.ini"), current);
}

TEST(SettingsFile, ReadBuffersCutValuesAtTheirSizes) {
    loadFile(crlf({"[Camera]",
                   "FOV=0000000000000000000000000000095",    // 31 characters: whole
                   "Veh_FOV=00000000000000000000000000000095",  // 32: cut to ...9
                   "HeadBob=001",                             // 3: whole
                   "WeaponLead=0001",                         // 4: cut to 000
                   "BindVer=000000000000005",                 // 15: whole, no migration
                   "MenuKeyVK=0000000000000070",              // 16: cut to 7
                   "PadOpenBtn=1000000000000001"}));          // 16: cut to 100000000000000, saturated
    EXPECT_EQ(FOV, 95.0f);
    EXPECT_EQ(Veh_FOV, 30.0f);
    EXPECT_EQ(HeadBob, 1);
    EXPECT_EQ(WeaponLead, 0);
    EXPECT_EQ(MenuKeyVK, 7);
    EXPECT_EQ(PadOpenBtn, INT32_MAX);
}

TEST(SettingsFile, UnusualFilesLoadTheirValuesAndKeepTheirLines) {
    // UTF-8 byte-order mark right before the section header.
    const fs::path bom = loadFile("\xEF\xBB\xBF[Camera]\r\nFOV=100\r\nBindVer=5\r\n");
    EXPECT_EQ(FOV, 100.0f);
    // LF-only and CR-only files: values read, untouched lines keep their ends,
    // new keys come after the section's last line.
    const fs::path lf = loadFile("[Camera]\nFOV=101\nBindVer=5\n");
    EXPECT_EQ(FOV, 101.0f);
    saveSettings();
    const std::string lfSaved = readFile(lf / "Zentravisor.ini");
    EXPECT_EQ(lfSaved.substr(0, 39), "[Camera]\nFOV=101.0000\nBindVer=5\nHeight=");
    const fs::path cr = loadFile("[Camera]\rFOV=102\rBindVer=5\r");
    EXPECT_EQ(FOV, 102.0f);
    // Duplicate keys and a second section of the same name: the first wins.
    loadFile(crlf({"[Camera]", "FOV=103", "FOV=50", "[camera]", "Height=0.5", "FOV=40", "BindVer=5"}));
    EXPECT_EQ(FOV, 103.0f);
    EXPECT_EQ(Height, 0.1f);
    EXPECT_EQ(MenuKeyVK, 117);  // BindVer of the second section was not seen: migrated
    // Keys outside [Camera] are not settings; the section is added at the end.
    const fs::path other = loadFile(crlf({"[Other]", "FOV=100", "BindVer=5"}));
    EXPECT_EQ(FOV, 90.0f);
    EXPECT_EQ(readFile(other / "Zentravisor.ini"),
              crlf({"[Other]", "FOV=100", "BindVer=5", "[Camera]", "BindVer=5", "MenuKeyVK=117", "PadOpenBtn=0"}));
    // NUL bytes: a value ends at its NUL; the line's other bytes stay.
    static constexpr char kNul[] = "[Camera]\r\nFOV=104\0" "9\r\nBindVer=5\r\n";
    const std::string withNul(kNul, sizeof kNul - 1);
    const fs::path nul = loadFile(withNul);
    EXPECT_EQ(FOV, 104.0f);
    saveSettings();
    EXPECT_EQ(readFile(nul / "Zentravisor.ini").substr(0, 23), std::string("[Camera]\r\nFOV=104.0000\r\n", 23));
    (void)bom;
    (void)cr;
}

TEST(SettingsFile, HugeAndGarbageFilesStayBoundedAndNeverCrash) {
    const auto start = std::chrono::steady_clock::now();
    std::string huge = "[Camera]\r\nFOV=100\r\n" + std::string(1u << 20, 'x') + "\r\nHeight=0." +
                       std::string(1u << 20, '3') + "\r\nBindVer=5\r\n";
    const fs::path game = loadFile(huge);
    EXPECT_EQ(FOV, 100.0f);
    EXPECT_NEAR(Height, 0.3333333f, 1e-6f);  // the 32-byte buffer took 31 characters
    saveSettings();
    const std::string saved = readFile(game / "Zentravisor.ini");
    EXPECT_NE(saved.find("\r\n" + std::string(1u << 20, 'x') + "\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\nHeight=0.3333\r\n"), std::string::npos);
    // Beyond the simulated disk's bound a file is neither read nor rewritten.
    const std::string oversized = "[Camera]\r\nFOV=100\r\n" + std::string(17u << 20, ';');
    const fs::path big = loadFile(oversized);
    EXPECT_EQ(FOV, 90.0f);
    saveSettings();
    EXPECT_EQ(fs::file_size(big / "Zentravisor.ini"), oversized.size());
    std::string garbage(1u << 16, '\0');
    uint32_t state = 12345;
    for (char& c : garbage) c = static_cast<char>((state = state * 1664525u + 1013904223u) >> 24);
    loadFile(garbage);
    for (const Setting& s : kSettings) {
        if (s.kind == SettingKind::Float) { EXPECT_TRUE(std::isfinite(*s.floatField)) << s.key; }
    }
    saveSettings();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(SettingsFile, UnusableSettingsPathsGiveMissingValuesAndAreLeftAlone) {
    // A folder where the file should be.
    const fs::path game = freshFolder();
    fs::create_directory(game / "Zentravisor.ini");
    sim::os.exePath = "C:\\Games\\TheGame\\GameApp.exe";
    sim::os.diskRoot = game.string();
    buildSettingsPath();
    writeSettingsTemplate();
    loadSettings();
    expectMissingValues();
    saveSettings();
    EXPECT_TRUE(fs::is_directory(game / "Zentravisor.ini"));

    // A read-only file: loads, but neither the migration nor a save changes it.
    const std::string readOnly = crlf({"[Camera]", "FOV=110", "MenuKeyVK=70"});
    const fs::path locked = freshFolder();
    writeFile(locked / "Zentravisor.ini", readOnly);
    chmod((locked / "Zentravisor.ini").c_str(), 0444);
    sim::os.diskRoot = locked.string();
    loadSettings();
    EXPECT_EQ(FOV, 110.0f);
    EXPECT_EQ(MenuKeyVK, 117);  // migrated in memory
    saveSettings();
    EXPECT_EQ(readFile(locked / "Zentravisor.ini"), readOnly);

    // An executable path without a backslash: the name goes right after it.
    sim::os.exePath = "GameApp.exe";
    buildSettingsPath();
    EXPECT_STREQ(settingsFilePath(), "GameApp.exeZentravisor.ini");
    writeSettingsTemplate();
    loadSettings();
    EXPECT_EQ(HeadBobAmount, 0.35f);  // nothing there, nothing created

    // A path longer than MAX_PATH is cut to 259 characters and still used.
    const std::string dir = "C:\\" + std::string(240, 'd') + "\\";
    sim::os.exePath = dir + "GameApp.exe";
    buildSettingsPath();
    EXPECT_EQ(std::string(settingsFilePath()), dir.substr(0, 259) + std::string("Zentravisor.ini").substr(0, 259 - dir.size()));
    sim::os.diskRoot = freshFolder().string();
    writeSettingsTemplate();
    loadSettings();
    EXPECT_EQ(MC_YawLimit, 90.0f);  // the template, under the cut name
}

}  // namespace

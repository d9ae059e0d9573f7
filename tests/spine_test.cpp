// The plug-in's spine: entry routine, start-up, the lens sync, the settings
// table and the native-call encoding, driven through the simulator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "runtime/native_call.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/injector.h"
#include "sim/world/os.h"

extern "C" int DllMain(void* module, uint32_t reason, void* reserved);

namespace {

int f10Presses() {
    int downs = 0, ups = 0;
    for (const sim::SentKey& k : sim::os.sentKeys) {
        EXPECT_EQ(k.virtualKey, 0x79);
        (k.up ? ups : downs)++;
    }
    EXPECT_EQ(downs, ups);
    return downs;
}

TEST(Startup, FirstRunSendsOneLensPressAndEachPassYieldsOnce) {
    sim::boot();
    sim::frames(100);  // the host fails the run if a pass does not end in one scriptWait(0)
    EXPECT_EQ(sim::frameIndex(), 100u);
    EXPECT_EQ(f10Presses(), 1);
    // Down in the start-up frame; up no sooner than two passes and 50 ms later,
    // so the injector, which reads F10 once a frame, sees the press.
    ASSERT_EQ(sim::os.sentKeys.size(), 2u);
    EXPECT_FALSE(sim::os.sentKeys[0].up);
    EXPECT_EQ(sim::os.sentKeys[0].frame, 0u);
    EXPECT_TRUE(sim::os.sentKeys[1].up);
    EXPECT_EQ(sim::os.sentKeys[1].frame, 4u);  // 16 ms frames: 64 ms after the down
    EXPECT_EQ(sim::injector.lensPressFrames.size(), 1u);
    EXPECT_FALSE(sim::injector.lensOn);  // the switch loaded off, and so is the lens
}

TEST(LensSync, SendsOnlyOnChangeAndEveryChangeReachesTheInjector) {
    sim::boot();
    sim::frames(10);
    ASSERT_EQ(f10Presses(), 1);  // start-up: the switch is off, the lens was taken to be on
    syncLensEffect(0);           // no change
    sim::frames(10);
    EXPECT_EQ(f10Presses(), 1);
    // Changes queue up: three in one pass are three presses, one after the other,
    // none merged into another.
    syncLensEffect(1);
    syncLensEffect(0);
    syncLensEffect(0);
    syncLensEffect(1);
    sim::frames(30);
    EXPECT_EQ(f10Presses(), 4);
    EXPECT_EQ(sim::injector.lensPressFrames.size(), 4u);
    EXPECT_TRUE(sim::injector.lensOn);
    EXPECT_FALSE(sim::os.injectedDown[0x79]);
}

TEST(EntryRoutine, AttachRegistersDetachUnregistersNothingElse) {
    sim::boot();  // attach: registration happened, nothing ran
    EXPECT_EQ(sim::nativeCallCount(), 0u);
    EXPECT_TRUE(sim::os.sentKeys.empty());
    EXPECT_EQ(sim::os.fileOperations, 0u);
    // Other reasons (thread attach 2, thread detach 3) do nothing and succeed.
    EXPECT_EQ(DllMain(nullptr, 2, nullptr), 1);
    EXPECT_EQ(DllMain(nullptr, 3, nullptr), 1);
    EXPECT_EQ(sim::nativeCallCount(), 0u);
}

TEST(SettingsTable, ShapeColumnsAndResetAll) {
    int floats = 0, flags = 0, ints = 0;
    std::set<std::string> keys;
    for (const Setting& s : kSettings) {
        keys.insert(s.key);
        switch (s.kind) {
            case SettingKind::Float:
                ++floats;
                ASSERT_NE(s.floatField, nullptr) << s.key;
                EXPECT_LT(s.minimum, s.maximum) << s.key;
                EXPECT_GE(s.missing, s.minimum) << s.key;
                EXPECT_LE(s.missing, s.maximum) << s.key;
                EXPECT_GE(s.resetAll, s.minimum) << s.key;
                EXPECT_LE(s.resetAll, s.maximum) << s.key;
                break;
            case SettingKind::Flag:
                ++flags;
                ASSERT_NE(s.flagField, nullptr) << s.key;
                EXPECT_TRUE(s.missing == 0 || s.missing == 1) << s.key;
                break;
            case SettingKind::Int: ++ints; ASSERT_NE(s.intField, nullptr) << s.key; break;
        }
    }
    EXPECT_EQ(floats, 39);
    EXPECT_EQ(flags, 31);
    EXPECT_EQ(ints, 2);
    EXPECT_EQ(keys.size(), 72u);
    EXPECT_STREQ(kSettings[0].key, "FOV");
    EXPECT_STREQ(kSettings[71].key, "MC_YawLimit");

    // Reset All equals Missing everywhere except the controller button.
    for (const Setting& s : kSettings)
        if (std::strcmp(s.key, "PadOpenBtn") != 0) {
            EXPECT_EQ(s.resetAll, s.missing) << s.key;
        }

    FOV = 42.0f;
    HeadBob = 1;
    PadOpenBtn = 0;
    MenuKeyVK = 5;
    HeadBobAmount = 1.0f;
    resetAllSettings();
    EXPECT_EQ(FOV, 90.0f);
    EXPECT_EQ(HeadBob, 0);
    EXPECT_EQ(PadOpenBtn, 175);
    EXPECT_EQ(MenuKeyVK, 117);
    EXPECT_EQ(HeadBobAmount, 0.35f);
    EXPECT_EQ(MC_YawLimit, 70.0f);
    EXPECT_EQ(BodycamRecoil, 1);
    EXPECT_EQ(RecSniper, 5.0f);
}

TEST(NativeEncoding, ArgumentWordsAndResults) {
    EXPECT_EQ(nativeWord(int32_t{-1}), 0x00000000FFFFFFFFull);
    EXPECT_EQ(nativeWord(int32_t{7}), 7ull);
    EXPECT_EQ(nativeWord(true), 1ull);
    EXPECT_EQ(nativeWord(false), 0ull);
    EXPECT_EQ(nativeWord(1.0f), 0x3F800000ull);
    EXPECT_EQ(nativeWord(-0.0f), 0x80000000ull);  // sign bit in the low half, upper half zero
    EXPECT_EQ(nativeWord(0xA2719263u), 0xA2719263ull);

    uint64_t area[3] = {0xDEADBEEF00000005ull, 0, 0};
    EXPECT_EQ(nativeResult<int32_t>(area), 5);
    EXPECT_TRUE(nativeResult<bool>(area));
    area[0] = 0xFFFFFFFF00000000ull;  // only the low 32 bits count
    EXPECT_FALSE(nativeResult<bool>(area));
    float xyz[6] = {1.5f, 99.0f, -2.0f, 99.0f, 3.25f, 99.0f};  // x, y, z at byte offsets 0, 8, 16
    std::memcpy(area, xyz, sizeof area);
    Vec3 v = nativeResult<Vec3>(area);
    EXPECT_EQ(v.x, 1.5f);
    EXPECT_EQ(v.y, -2.0f);
    EXPECT_EQ(v.z, 3.25f);
    area[0] = 0x40490FDBull;
    EXPECT_FLOAT_EQ(nativeResult<float>(area), 3.14159274f);
}

TEST(SimulatorDeathTest, RefusesUnknownHashesAndWrongArgumentCounts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(callNative<void>(0x1234567890ABCDEFull, 1), "unknown native 0x1234567890ABCDEF");
    // IS_ENTITY_DEAD takes two words; pushing only the entity leaves the game a stale slot.
    EXPECT_DEATH(callNative<bool>(native::kIsEntityDead, 1), "0x5F9532F3B5CC2551.*1 arguments; it takes 2");
}

}  // namespace

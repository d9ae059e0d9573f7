// The generated native vocabulary: the simulator's table knows what each
// out-pointer holds, a model that writes another kind fails the run, hostile
// values go through out-pointers as their kind, and the press queries ask the
// game in the order their names say.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/control_queries.h"
#include "runtime/controls.h"
#include "sim/hostile.h"
#include "sim/sim.h"
#include "sim/world/controls.h"

namespace {

TEST(NativeTable, OutPointersCarryTheKindTheGameWritesThere) {
    EXPECT_STREQ(sim::findNative(native::kGetCurrentPedWeapon)->argKinds, "iIb");
    EXPECT_STREQ(sim::findNative(native::kGetScreenCoordFromWorldCoord)->argKinds, "fffFF");
    EXPECT_STREQ(sim::findNative(native::kGetShapeTestResult)->argKinds, "iIVVI");
}

TEST(NativeTableDeathTest, AModelWritingAnotherKindThroughAnOutPointerFailsTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    sim::NativeCall call{};
    call.info = sim::findNative(native::kGetScreenCoordFromWorldCoord);
    call.argc = call.info->argc;
    EXPECT_DEATH(call.out<int32_t>(3), "GET_SCREEN_COORD_FROM_WORLD_COORD argument 3 is of kind 'F'");
    EXPECT_DEATH(call.out<float>(2), "argument 2 is of kind 'f', not the out-pointer 'F'");
}

// A vector is written whole, a float or an integer in its own four bytes only.
TEST(HostileNatives, ReplaceEachOutValueAsItsKind) {
    constexpr uint32_t kUntouched = 0x7FC0DEADu;  // a NaN no hostile draw produces
    struct Guarded {
        uint32_t value;
        uint32_t guard[5];  // a 24-byte write into value would reach these
    };
    sim::boot();
    sim::setHostile(1.0, 11);
    bool floatWritten = false, intWritten = false, vectorZWritten = false;
    for (int k = 0; k < 64; ++k) {
        Guarded x{}, hit{};
        std::memset(&x, 0xAB, sizeof x);
        std::memset(&hit, 0xAB, sizeof hit);
        x.value = hit.value = kUntouched;
        NativeVector3 end{}, normal{};
        std::memcpy(&end.z, &kUntouched, sizeof kUntouched);
        float y = 0.0f;
        Entity entity = 0;
        game::getScreenCoordFromWorldCoord(0.0f, 10.0f, 1.0f, reinterpret_cast<float*>(&x.value), &y);
        game::getShapeTestResult(1, reinterpret_cast<int32_t*>(&hit.value), &end, &normal, &entity);
        for (const Guarded* g : {&x, &hit})
            for (uint32_t word : g->guard) ASSERT_EQ(word, 0xABABABABu) << "an out-value was written past its four bytes";
        uint32_t endZ;
        std::memcpy(&endZ, &end.z, sizeof endZ);
        floatWritten |= x.value != kUntouched;
        intWritten |= hit.value != kUntouched;
        vectorZWritten |= endZ != kUntouched;
    }
    sim::setHostile(0.0, 0);
    EXPECT_TRUE(floatWritten);
    EXPECT_TRUE(intWritten);
    EXPECT_TRUE(vectorZWritten) << "a vector's z at byte 16 is the game's to write";
}

std::vector<uint64_t> hashesSince(size_t mark) {
    std::vector<uint64_t> out;
    for (size_t k = mark; k < sim::callLog().size(); ++k) out.push_back(sim::callLog()[k].hash);
    return out;
}

// The second query is asked only when the first says no.
TEST(ControlQueries, AskTheGameInTheOrderTheirNamesSay) {
    sim::boot();
    const int g = kControlGroupPlayer, aim = kControlAim;
    const uint64_t pressed = native::kIsControlPressed, disabled = native::kIsDisabledControlPressed;

    size_t mark = sim::callLog().size();
    EXPECT_FALSE(isPressedEnabledFirst(g, aim));
    EXPECT_FALSE(isPressedDisabledFirst(g, aim));
    EXPECT_FALSE(isJustPressedDisabledFirst(g, aim));
    EXPECT_EQ(hashesSince(mark), (std::vector<uint64_t>{pressed, disabled, disabled, pressed,
                                                        native::kIsDisabledControlJustPressed,
                                                        native::kIsControlJustPressed}));

    sim::holdControl(aim);
    mark = sim::callLog().size();
    EXPECT_TRUE(isPressedEnabledFirst(g, aim));
    EXPECT_TRUE(isPressedDisabledFirst(g, aim));
    EXPECT_TRUE(isJustPressedDisabledFirst(g, aim));
    EXPECT_EQ(hashesSince(mark), (std::vector<uint64_t>{pressed, disabled, native::kIsDisabledControlJustPressed}));

    game::disableControlAction(g, aim, true);  // the game ignores it; the disabled query still sees it
    mark = sim::callLog().size();
    EXPECT_TRUE(isPressedEnabledFirst(g, aim));
    EXPECT_EQ(hashesSince(mark), (std::vector<uint64_t>{pressed, disabled}));
}

}  // namespace

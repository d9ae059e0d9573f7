// The plug-in against a hostile game: random episodes through every state with
// native results replaced by hostile values (sim/adversary.h). The dispatcher
// fails the run on any non-finite or absurd float argument and on a pass that
// calls natives without end; the adversary fails it on a slow frame, and on
// heap allocations or file operations in any frame after start-up other than
// the save when the menu closes. The long run is ./zv soak.
#include <gtest/gtest.h>

#include "sim/adversary.h"
#include "sim/alloc_watch.h"

namespace {

void expectEveryStateReached(const sim::AdversaryReport& r, uint32_t minimumPages) {
    EXPECT_EQ(r.failure, "");
    EXPECT_GT(r.overridden, r.frames);
    EXPECT_GT(r.engagedFrames, 0u);
    EXPECT_GT(r.vehicleFrames, 0u);
    EXPECT_GT(r.deadFrames, 0u);
    EXPECT_GT(r.cutsceneFrames, 0u);
    EXPECT_GT(r.menuFrames, 0u);
    EXPECT_GT(r.resetDialogFrames, 0u);
    EXPECT_GT(r.saves, 0u);
    EXPECT_GE(r.pagesSeen, minimumPages);
}

TEST(Adversary, HostileNativesAcrossEveryState) {
    sim::AdversaryOptions options;
    options.frames = 20'000;
    options.seed = 2026;
    expectEveryStateReached(sim::runAdversary(options), 6);
}

// Every timer of the plug-in crosses the 32-bit wrap a few seconds in.
TEST(Adversary, HostileNativesAcrossTheTickWrap) {
    sim::AdversaryOptions options;
    options.frames = 12'000;
    options.seed = 7;
    options.startTick = 0xFFFFFFFFu - 5000u;
    expectEveryStateReached(sim::runAdversary(options), 5);
}

// The allocation count is live: plug-in code that allocates is seen, and the
// game's side (a native's model, the simulated OS) is not.
TEST(Adversary, AllocationsInPluginCodeAreCounted) {
    ASSERT_TRUE(sim::allocationsCounted());
    const uint64_t before = sim::pluginAllocations();
    sim::setInPluginCode(true);
    delete new volatile int(1);
    {
        const sim::OutsidePlugin game;
        delete new volatile int(2);
    }
    sim::setInPluginCode(false);
    delete new volatile int(3);
    EXPECT_EQ(sim::pluginAllocations() - before, 1u);
}

}  // namespace

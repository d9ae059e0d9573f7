// The options the Wine host and the Linux tracer share: an option they do not
// know fails the run instead of being left out of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/run_options.h"

namespace {

bool parse(std::vector<std::string> words, sim::RunOptions& run) {
    std::vector<char*> argv{const_cast<char*>("zv_trace")};
    for (std::string& w : words) argv.push_back(w.data());
    return sim::parseRunOptions(static_cast<int>(argv.size()), argv.data(), 1, run);
}

TEST(RunOptions, ChecksAreOffUnlessGivenAndUnknownOptionsFail) {
    sim::RunOptions run;
    ASSERT_TRUE(parse({"--session", "menu-keys.zvs", "--start-tick", "0xFFFFF000", "--lens-presses", "0"}, run));
    EXPECT_EQ(run.session, "menu-keys.zvs");
    EXPECT_EQ(run.startTick, 0xFFFFF000u);
    EXPECT_EQ(run.lensPresses, 0);
    EXPECT_EQ(run.expectNotSaved, -1);
    EXPECT_EQ(run.maxEmptyPadCalls, -1);

    sim::RunOptions other;
    EXPECT_FALSE(parse({"--key", "0x75@20+2"}, other));  // keys are steps of a session
    EXPECT_FALSE(parse({"--lens-presses", "-1"}, other));
    EXPECT_FALSE(parse({"--frames", "0"}, other));
    EXPECT_FALSE(parse({"--frames"}, other));
}

}  // namespace

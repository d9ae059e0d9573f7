// The release Zentravisor.asi carries no recorder: the recorder's file name, its
// format's magic and the thread-pool import its writer uses, all present in
// Zentravisor-trace.asi from the same sources, appear nowhere in it, and it is
// smaller by at least the recorder's code.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#ifndef ZV_WIN_BUILD
#error "ZV_WIN_BUILD names the release build folder"
#endif

namespace {

std::string readBinary(const std::string& name) {
    std::ifstream in(std::string(ZV_WIN_BUILD) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(TraceBuild, ReleaseBinaryCarriesNoRecorder) {
    const std::string release = readBinary("Zentravisor.asi");
    const std::string trace = readBinary("Zentravisor-trace.asi");
    if ((release.empty() || trace.empty()) && std::getenv("ZV_REQUIRE_WIN_BUILD") == nullptr)
        GTEST_SKIP() << "no release build in " << ZV_WIN_BUILD << " (./zv build makes it)";
    ASSERT_EQ(release.substr(0, 2), "MZ");
    ASSERT_EQ(trace.substr(0, 2), "MZ");
    const std::string markers[] = {"Zentravisor-trace.zvt", std::string("ZVTRACE", 8), "SubmitThreadpoolWork"};
    for (const std::string& marker : markers) {
        EXPECT_NE(trace.find(marker), std::string::npos) << "the trace build lacks '" << marker.c_str() << "'";
        EXPECT_EQ(release.find(marker), std::string::npos) << "the release build carries '" << marker.c_str() << "'";
    }
    constexpr size_t kRecorderCodeBytes = 4096;  // the recorder and its hooks take more than this
    EXPECT_GT(trace.size(), release.size() + kRecorderCodeBytes);
}

}  // namespace

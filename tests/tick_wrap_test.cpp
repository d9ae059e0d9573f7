// The bundled sessions played with the clock starting far from the 32-bit wrap
// and just below it, so that every timer (the deferred destroy, the debounces,
// the wheel and sprint holds, the glitch window, tracer flight, the eases and
// the sniper hold) crosses the wrap somewhere: at fixed points, and 40 ms into
// each step of the session, where the timers its inputs and events start are
// running. Nothing the plug-in hands the game depends on the tick's absolute
// value, so the native-call traces must match line for line.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <vector>

#include "bundled_sessions.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/trace.h"
#include "tests/child_run.h"
#include "tests/play.h"

namespace {

// Where the wrap falls, in ms after the session's start: during start-up, in
// the first steps, and well into each session. None lands a frame on tick 0
// itself, which the plug-in reads as 1 (1 ms off, once in 49.7 days).
constexpr uint32_t kWrapAfterMs[] = {15, 707, 2503, 5001, 9005};

// Far from the wrap: where each step's first frame falls, in ms after the start,
// and where every frame falls. The menu's steps are left out: a menu session is
// mostly key presses, and the fixed points already cross its debounces.
struct Timeline {
    std::vector<uint32_t> stepStarts;
    std::set<uint32_t> frames;
};

std::optional<Timeline> timelineOf(const std::string& file) {
    struct Watch {
        std::FILE* out;
        const scenario::Step* step = nullptr;
    };
    const auto text = runInChild([&](std::FILE* out) {
        scenario::Scenario session;
        scenario::ParseError error;
        Watch watch{out};
        const auto observe = [](void* context, const scenario::FrameInfo& frame) {
            Watch& w = *static_cast<Watch*>(context);
            const uint32_t at = sim::now() - play::kFarFromTheWrap;
            const bool starts = frame.step != w.step && frame.step->verb != scenario::Verb::Menu;
            std::fprintf(w.out, "%c %u\n", starts ? 's' : 'f', at);
            w.step = frame.step;
        };
        return scenario::parseFile(file, session, error) && scenario::play(session, observe, &watch, error, play::kFarFromTheWrap);
    });
    if (!text) return std::nullopt;
    Timeline timeline;
    std::istringstream in(*text);
    char kind = 0;
    for (uint32_t at = 0; in >> kind >> at;) {
        timeline.frames.insert(at);
        if (kind == 's') timeline.stepStarts.push_back(at);
    }
    return timeline;
}

// Wrap points, in ms after the start: the fixed ones, and 40 ms after each step
// begins (every 300 ms at most), moved off any frame, since a frame on tick 0
// itself reads as tick 1.
std::vector<uint32_t> wrapPoints(const Timeline& timeline) {
    constexpr uint32_t kIntoStep = 40, kMinApart = 300;
    std::vector<uint32_t> points(std::begin(kWrapAfterMs), std::end(kWrapAfterMs));
    bool any = false;
    uint32_t last = 0;
    for (uint32_t start : timeline.stepStarts) {
        if (any && start - last < kMinApart) continue;
        any = true;
        last = start;
        uint32_t at = start + kIntoStep;
        while (timeline.frames.count(at) != 0) ++at;
        points.push_back(at);
    }
    return points;
}

std::optional<std::string> traceOf(const std::string& file, uint32_t startTick) {
    return runInChild([&](std::FILE* out) {
        scenario::Scenario session;
        scenario::ParseError error;
        if (!scenario::parseFile(file, session, error) || !scenario::play(session, nullptr, nullptr, error, startTick)) {
            scenario::printError(file, error);
            return false;
        }
        sim::writeTrace(out);
        return true;
    });
}

// The trace's lines, with the one value that follows the tick counter itself
// masked: the alpha of drawn rectangles, which the menu pulses with the clock.
std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.find(" DRAW_RECT ") != std::string::npos) {
            std::istringstream words(line);
            std::vector<std::string> w;
            for (std::string word; words >> word;) w.push_back(word);
            if (w.size() > 10) w[10] = "i:alpha";  // frame, hash, name, x, y, width, height, r, g, b, alpha
            line.clear();
            for (const std::string& word : w) line += word + " ";
        }
        out.push_back(line);
    }
    return out;
}

class TickWrap : public testing::TestWithParam<std::string> {};

TEST_P(TickWrap, SessionTraceIsTheSameAcrossTheWrap) {
    const std::string file = bundled::sessionFile(GetParam());
    const auto reference = traceOf(file, play::kFarFromTheWrap);
    const auto timeline = timelineOf(file);
    ASSERT_TRUE(reference && timeline) << "the session did not play far from the wrap";
    const std::vector<std::string> want = lines(*reference);
    ASSERT_GT(want.size(), 100u);
    for (uint32_t after : wrapPoints(*timeline)) {
        const uint32_t start = static_cast<uint32_t>(0x1'0000'0000ull - after);
        const auto wrapped = traceOf(file, start);
        ASSERT_TRUE(wrapped) << "the session failed with the clock starting at " << start;
        const std::vector<std::string> got = lines(*wrapped);
        size_t k = 0;
        while (k < want.size() && k < got.size() && want[k] == got[k]) ++k;
        EXPECT_EQ(k, std::max(want.size(), got.size()))
            << "with the wrap " << after << " ms in, the trace first differs at line " << k + 1 << ":\n  far:     "
            << (k < want.size() ? want[k] : "(end)") << "\n  wrapped: " << (k < got.size() ? got[k] : "(end)");
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, TickWrap, testing::ValuesIn(bundled::sessionNames()), bundled::testName);

}  // namespace

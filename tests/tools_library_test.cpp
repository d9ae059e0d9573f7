// Pieces of the tools' library that the demo leans on without showing them:
// how a session run's exit is reported, where its output goes, and how a
// trace's CSV reads back when its last cells are empty.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/process.h"
#include "tools/trace_csv.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSegfault = 11;

struct ScratchFolder {
    fs::path path;
    ScratchFolder() {
        char name[] = "/tmp/zv-tools-test-XXXXXX";
        path = mkdtemp(name);
    }
    ~ScratchFolder() { fs::remove_all(path); }
    std::string read(const std::string& file) const {
        std::ifstream in(path / file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

// A run that failed must never read as exit 0: a crash is 128 plus its
// signal, a program that cannot start is 127, and both streams reach the log.
TEST(ToolsProcess, ExitStatusesAndTheLog) {
    ScratchFolder dir;
    EXPECT_EQ(process::run({"/bin/sh", "-c", "echo out; echo err >&2; exit 3"}, dir.path / "run.log"), 3);
    EXPECT_EQ(dir.read("run.log"), "out\nerr\n");
    EXPECT_EQ(process::run({"/bin/sh", "-c", "kill -SEGV $$"}), 128 + kSegfault);
    EXPECT_EQ(process::run({(dir.path / "no-such-program").string()}), process::kNotStarted);
}

TEST(ToolsProcess, WaitAnyReportsEachStartedRunOnce) {
    const pid_t quick = process::start({"/bin/sh", "-c", "exit 5"});
    const pid_t crash = process::start({"/bin/sh", "-c", "kill -SEGV $$"});
    ASSERT_GT(quick, 0);
    ASSERT_GT(crash, 0);
    int seen = 0;
    for (int k = 0; k < 2; ++k) {
        int status = -1;
        const pid_t pid = process::waitAny(status);
        if (pid == quick) {
            EXPECT_EQ(status, 5);
            seen |= 1;
        } else if (pid == crash) {
            EXPECT_EQ(status, 128 + kSegfault);
            seen |= 2;
        }
    }
    EXPECT_EQ(seen, 3);
    int status = 0;
    EXPECT_EQ(process::waitAny(status), -1);  // none left
}

// The trace's last columns, line and mark, are mostly empty: a row that ends
// in a comma still has its last cell, read as "" and as NaN.
TEST(TraceCsv, EmptyLastCellsReadAsEmptyAndNaN) {
    ScratchFolder dir;
    std::ofstream(dir.path / "t.csv") << "frame,time_s,fov,line,mark\n0,0.0,90,3,\n1,0.5,,3,jog\n2,1.0,80,,\n";
    report::Trace t;
    ASSERT_TRUE(t.read(dir.path / "t.csv"));
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0].size(), t.header.size());
    EXPECT_EQ(t.text(0, "mark"), "");
    EXPECT_EQ(t.text(1, "mark"), "jog");
    EXPECT_EQ(t.text(2, "no such column"), "");
    std::vector<double> fov = t.column("fov"), line = t.column("line");
    EXPECT_EQ(fov[0], 90.0);
    EXPECT_TRUE(std::isnan(fov[1]));
    EXPECT_TRUE(std::isnan(line[2]));
    EXPECT_EQ(t.markTime("jog", -1.0), 0.5);
    EXPECT_EQ(t.markTime("sprint", -1.0), -1.0);
    report::Trace headerOnly;
    std::ofstream(dir.path / "h.csv") << "frame,time_s\n";
    EXPECT_FALSE(headerOnly.read(dir.path / "h.csv"));
}

}  // namespace

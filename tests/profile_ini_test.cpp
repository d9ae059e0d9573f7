// The simulator's profile reader and writer: the rules the settings file relies
// on, and that no input breaks them.
#include <gtest/gtest.h>

#include <string>

#include "sim/profile_ini.h"
#include "tests/profile_lines.h"

namespace {

std::string read(const std::string& file, const char* key, uint32_t size = 64) {
    char buffer[64];
    profile::readString(&file, "Camera", key, "<absent>", buffer, size);
    return buffer;
}

TEST(ProfileIni, WritesReplaceInPlaceOrAppendAtTheEndOfTheSection) {
    const std::string file = "; c\r\n[Camera]\r\n  Fov = 1 \n\r\nx=2\r\n\r\n[Other]\r\nA=1\r\n";
    // In place: the line keeps everything up to '=' and its own line end.
    EXPECT_EQ(profile::writeString(file, "Camera", "FOV", "90.0000"),
              "; c\r\n[Camera]\r\n  Fov =90.0000\n\r\nx=2\r\n\r\n[Other]\r\nA=1\r\n");
    // Absent key: after the section's last non-blank line, before the blank one.
    EXPECT_EQ(profile::writeString(file, "camera", "New", "5"),
              "; c\r\n[Camera]\r\n  Fov = 1 \n\r\nx=2\r\nNew=5\r\n\r\n[Other]\r\nA=1\r\n");
    // Absent section: appended at the end; an unended last line gets its end.
    EXPECT_EQ(profile::writeString("[Other]\r\nA=1", "Camera", "K", "1"), "[Other]\r\nA=1\r\n[Camera]\r\nK=1\r\n");
    EXPECT_EQ(profile::writeString("", "Camera", "K", "1"), "[Camera]\r\nK=1\r\n");
    EXPECT_EQ(profile::writeString("[Camera]", "Camera", "K", "1"), "[Camera]\r\nK=1\r\n");
    EXPECT_EQ(profile::writeString("[Camera]\rA=1\r", "Camera", "K", "1"), "[Camera]\rA=1\rK=1\r\n");
}

TEST(ProfileIni, LookupFollowsTheWindowsRules) {
    const std::string file = "\xEF\xBB\xBF[ camera ]\r\nFOV=1\r\nfov=2\r\nA = \"q\" \r\nB='x\r\nD\r\n"
                             "[Other]\r\nE=3\r\n[CAMERA]\r\nE=4\r\nF=5\r\n";
    EXPECT_EQ(read(file, "fov"), "1");   // case-insensitive, first duplicate wins
    EXPECT_EQ(read(file, "A"), "q");     // blanks trimmed, a matching quote pair dropped
    EXPECT_EQ(read(file, "B"), "'x");    // an unmatched quote stays
    EXPECT_EQ(read(file, "D"), "<absent>");  // a line without '=' is no key
    EXPECT_EQ(read(file, "E"), "<absent>");  // neither are keys of a second [Camera]
    EXPECT_EQ(read(file, "FOV", 1), "");     // cut to the buffer
    char buffer[4];
    EXPECT_EQ(profile::readString(&file, "Camera", "Nope", "12345  ", buffer, sizeof buffer), 3u);
    EXPECT_STREQ(buffer, "123");
    EXPECT_EQ(profile::readString(nullptr, "Camera", "FOV", "7", buffer, sizeof buffer), 1u);
    const std::string nul("[Camera]\r\nC=1\0" "2\r\n", 17);
    EXPECT_EQ(profile::readString(&nul, "Camera", "C", "", buffer, sizeof buffer), 1u);  // a NUL ends the value
}

TEST(ProfileIni, AnyFileReadsBackWhatWasWrittenAndKeepsItsOtherLines) {
    const std::string seed = "; Zentravisor v2\r\n[Camera]\r\nFOV=90.0\r\nHeight=0.10\r\nMenuKey=1\r\n";
    const char* const pieces[] = {"\r", "\n", "\r\n", "=", "[", "]", " ", "\t", "\"", "\xEF\xBB\xBF", "[Ca", "mera]", "FOV"};
    const char* keys[] = {"FOV", "fov", "Height", "BindVer", "New", "MenuKey"};
    uint32_t state = 99;
    auto next = [&state](uint32_t n) { state = state * 1664525u + 1013904223u; return (state >> 8) % n; };
    for (int round = 0; round < 3000; ++round) {
        std::string file = seed;
        for (uint32_t k = next(12); k > 0; --k) {
            const size_t at = next(static_cast<uint32_t>(file.size() + 1));
            if (next(4) == 0) file.insert(at, 1, static_cast<char>(next(256)));
            else file.insert(at, pieces[next(sizeof pieces / sizeof pieces[0])]);
        }
        for (int w = 0; w < 4; ++w) {
            const char* key = keys[next(6)];
            const std::string value = std::to_string(next(100000));
            const std::string written = profile::writeString(file, "Camera", key, value);
            ASSERT_EQ(read(written, key), value) << "round " << round;
            ASSERT_EQ(profile_lines::firstLostLine(file, written), "") << "round " << round;
            file = written;
        }
    }
}

}  // namespace

// The bundled play sessions, sessions/NAME.zvs, for the tests that play each.
#pragma once
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "tools/demo.h"

namespace bundled {

// The sessions' names, in order.
inline std::vector<std::string> sessionNames() { return demo::namesOf(demo::bundledSessions(ZV_SOURCE_DIR "/sessions")); }

inline std::string sessionFile(const std::string& name) { return ZV_SOURCE_DIR "/sessions/" + name + ".zvs"; }

// A session's name as a test's: each character but a letter or digit an underscore.
inline std::string testName(const testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

}  // namespace bundled

// The settings reference in docs/ is generated; it must match the tables it is
// generated from.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "settings/settings.h"
#include "tools/settings_reference.h"

namespace {

TEST(SettingsReference, DocsMatchTheSettingsAndMenuTables) {
    std::ifstream in(ZV_SOURCE_DIR "/docs/settings.md", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(text.str() == reference::generate())
        << "docs/settings.md is stale: regenerate it with build/sim/zv_settings_doc docs/settings.md";
}

TEST(SettingsReference, EveryKeyHasOneRowWithItsMenuRowOrNone) {
    const std::string md = reference::generate();
    for (const Setting& s : kSettings) {
        const std::string key = std::string("| `") + s.key + "` |";
        size_t at = md.find(key);
        ASSERT_NE(at, std::string::npos) << s.key;
        EXPECT_EQ(md.find(key, at + 1), std::string::npos) << s.key << " twice";
    }
    // The four file-only settings, and two rows that edit through capture flows.
    EXPECT_NE(md.find("| `BulletTracers` | flag | 0 or 1 | 0 | absent | 0 | none |"), std::string::npos);
    EXPECT_NE(md.find("| `DamageGlitch` | flag | 0 or 1 | 0 | absent | 0 | none |"), std::string::npos);
    EXPECT_NE(md.find("| 117 | absent | 117 | GENERAL > Menu Key |"), std::string::npos);
    EXPECT_NE(md.find("| 0 | absent | 175 | GENERAL > Controller Button |"), std::string::npos);
    // Template values that differ from the defaults come from the plug-in's template.
    EXPECT_NE(md.find("| `HeadBobAmount` | float | 0.1 .. 2 | 0.35 | 1.00 | 0.35 |"), std::string::npos);
    EXPECT_NE(md.find("| `MC_YawLimit` | float | 10 .. 180 | 70 | 90.0 | 70 |"), std::string::npos);
}

}  // namespace

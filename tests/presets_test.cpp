// The shipped presets: each a complete settings file that loads without a
// warning, kept byte for byte as the plug-in's own writer produces it, and
// Classic the very defaults a first start gives.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "tools/ini_check.h"
#include "tools/presets.h"
#include "tools/settings_template.h"

namespace {

std::string committed(const std::string& name) {
    std::ifstream in(std::string(ZV_SOURCE_DIR) + "/presets/" + name + ".ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string dump(const inicheck::Result& r) {
    std::string s;
    for (const std::string& w : r.warnings) s += "\n  " + w;
    for (const std::string& n : r.notes) s += "\n  note: " + n;
    return s;
}

TEST(Presets, EachIsCompleteAndLoadsWithoutAWarning) {
    ASSERT_EQ(presets::all().size(), 4u);
    for (const presets::Preset& p : presets::all()) {
        SCOPED_TRACE(p.name);
        std::string text = committed(p.name);
        ASSERT_FALSE(text.empty()) << "presets/" << p.name << ".ini is missing";
        EXPECT_EQ(text, presets::bytes(p)) << "presets/" << p.name << ".ini differs from what zv_presets writes";
        inicheck::Result r;
        ASSERT_TRUE(inicheck::check(text, inicheck::loadCopy, r));
        EXPECT_TRUE(r.warnings.empty()) << dump(r);
        EXPECT_TRUE(r.notes.empty()) << dump(r);  // BindVer is in the file: no first-start note either
        EXPECT_EQ(r.values.size(), size_t(kSettingCount));
        for (const Setting& s : kSettings)  // every key on a line of its own
            EXPECT_NE(text.find(std::string("\r\n") + s.key + "="), std::string::npos) << s.key;
        for (const presets::Change& c : p.changes) {  // loaded as designed, not clamped
            for (const Setting& s : kSettings) {
                if (std::string(c.key) != s.key) continue;
                float loaded = s.kind == SettingKind::Float ? *s.floatField
                             : s.kind == SettingKind::Flag  ? float(*s.flagField) : float(*s.intField);
                EXPECT_FLOAT_EQ(loaded, c.value) << c.key;
            }
        }
    }
}

// Every setting as loaded now, as text.
std::vector<std::string> loadedValues() {
    std::vector<std::string> out;
    for (const Setting& s : kSettings) out.push_back(inicheck::loadedText(s));
    return out;
}

TEST(Presets, ClassicLoadsAsTheFirstStartFile) {
    ASSERT_TRUE(inicheck::loadCopy(templatefile::bytes()));
    std::vector<std::string> firstStart = loadedValues();
    resetAllSettings();  // Reset All differs from the first-start file in places: start elsewhere
    ASSERT_TRUE(inicheck::loadCopy(committed("Classic")));
    EXPECT_EQ(loadedValues(), firstStart);
}

}  // namespace

// The menu item table: the settings its rows edit, their help texts, and which
// rows each menu state shows.
#include <cstring>
#include <set>

#include "menu_test_util.h"

using menutest::rowNamed;

namespace {

int visibleCount() {
    int n = 0;
    for (int32_t r = 0; r < kMenuRowCount; ++r) n += isMenuRowVisible(r) ? 1 : 0;
    return n;
}

const Setting* settingOf(const void* field) {
    for (const Setting& s : kSettings)
        if (field && (s.floatField == field || s.flagField == field)) return &s;
    return nullptr;
}

TEST(MenuTable, RowsAgreeWithTheSettingsTheyEdit) {
    std::set<const void*> edited;
    std::vector<std::string> ownValues;  // sliders whose range or default is not their setting's
    for (int32_t r = 0; r < kMenuRowCount; ++r) {
        const MenuItem& item = menuItems[r];
        if (item.kind == MenuItemKind::Slider) {
            const Setting* s = settingOf(item.value);
            ASSERT_NE(s, nullptr) << item.name;
            if (item.min != s->minimum || item.max != s->maximum || item.defaultValue != s->resetAll)
                ownValues.push_back(item.name);
            EXPECT_TRUE(edited.insert(item.value).second) << item.name << " edits a setting twice";
        }
        if (item.kind == MenuItemKind::Toggle || item.kind == MenuItemKind::RevealToggle) {
            ASSERT_NE(settingOf(item.flag), nullptr) << item.name;
            EXPECT_TRUE(edited.insert(item.flag).second) << item.name;
        }
        EXPECT_NE(menuHelpText(r)[0], '\0') << "row " << r << " has no help text";
    }
    // 72 settings: four have no row, two are edited by the binding rows.
    EXPECT_EQ(edited.size(), 72u - 4u - 2u);
    // Every slider's range and default are its setting's load clamp and Reset All
    // value; a row given values of its own is named here.
    EXPECT_EQ(ownValues, std::vector<std::string>{});
    EXPECT_STREQ(menuHelpText(-1), "");
    EXPECT_STREQ(menuHelpText(kMenuRowCount), "");

    // Every contributor row is thanked by name in its help text.
    int contributors = 0;
    for (int32_t r = 0; r < kMenuRowCount; ++r)
        if (menuItems[r].kind == MenuItemKind::ContributorName) {
            ++contributors;
            std::string thanks = std::string("Thank you for your feedback and suggestions, ") + menuItems[r].name + "!";
            EXPECT_EQ(menuHelpText(r), thanks);
        }
    EXPECT_EQ(contributors, 8);
}

TEST(MenuVisibility, SectionListShowsHeadersAndTheResetAction) {
    menuShared.openSection = -1;
    std::vector<std::string> shown;
    for (int32_t r = 0; r < kMenuRowCount; ++r)
        if (isMenuRowVisible(r)) shown.push_back(menuItems[r].name);
    EXPECT_EQ(shown, (std::vector<std::string>{"GENERAL", "ON FOOT", "VEHICLE", "MOTORCYCLE", "WEAPON", "BODYCAM",
                                               "Reset All", "SPECIAL THANKS"}));
    EXPECT_FALSE(isMenuRowVisible(-1));
    EXPECT_FALSE(isMenuRowVisible(kMenuRowCount));
}

TEST(MenuVisibility, PagesShowTheirOwnRowsAndPerWeaponRowsOnlyWhenRevealed) {
    const int32_t bodycam = rowNamed("BODYCAM");
    const int32_t reveal = rowNamed("Per-Weapon Recoil");
    const int32_t pistol = rowNamed("Recoil: Pistol");
    menuShared.openSection = bodycam;
    ShowWeaponRecoil = 0;
    EXPECT_EQ(visibleCount(), 10);
    EXPECT_FALSE(isMenuRowVisible(bodycam));  // the header itself is not on its page
    EXPECT_TRUE(isMenuRowVisible(reveal));
    EXPECT_FALSE(isMenuRowVisible(pistol));
    ShowWeaponRecoil = 1;
    EXPECT_EQ(visibleCount(), 17);
    ShowWeaponRecoil = 2;  // only exactly 1 reveals
    EXPECT_EQ(visibleCount(), 10);

    // The per-weapon rule holds in every state.
    ShowWeaponRecoil = 0;
    menuShared.openSection = -1;
    EXPECT_FALSE(isMenuRowVisible(pistol));

    menuShared.openSection = rowNamed("ON FOOT");
    EXPECT_EQ(visibleCount(), 12);
    menuShared.openSection = rowNamed("SPECIAL THANKS");  // labels are visible too
    EXPECT_EQ(visibleCount(), 12);
    menuShared.openSection = rowNamed("ACTIONS");  // reachable only through the list, but consistent
    EXPECT_EQ(visibleCount(), 1);
    menuShared.openSection = rowNamed("ADS Zoom Amount");  // not a header row
    EXPECT_EQ(visibleCount(), 0);
}

TEST(MenuVisibility, SectionSubtitlesAreExactMatches) {
    EXPECT_STREQ(sectionSubtitle("ON FOOT"), "FOV, offsets & head bob");
    EXPECT_STREQ(sectionSubtitle("BODYCAM"), "Lens, vignette & effects");
    EXPECT_STREQ(sectionSubtitle("General"), "");
    EXPECT_STREQ(sectionSubtitle("SPECIAL THANKS"), "");
    EXPECT_STREQ(sectionSubtitle(nullptr), "");
    EXPECT_EQ(sectionRowCount(rowNamed("BODYCAM")), 17);
    EXPECT_EQ(sectionRowCount(rowNamed("ACTIONS")), 1);
}

}  // namespace

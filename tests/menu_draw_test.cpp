// What the menu draws: panel geometry, the rows' edge fade, the highlight, the
// open/close animation, the drawing primitives and the binding names.
#include <cmath>

#include "menu_test_util.h"

using namespace menutest;

namespace {

// The panel body: the one rectangle in the panel colour.
const sim::DrawItem* panelRect() {
    auto rects = rectsOfColour(17, 17, 19);
    return rects.empty() ? nullptr : rects.front();
}

// The scrollbar track sits at x 0.2715 in the rule colour.
bool hasScrollbar() {
    for (const sim::DrawItem* d : rectsOfColour(30, 30, 34))
        if (std::fabs(d->x - 0.2715f) < 1e-4f) return true;
    return false;
}

TEST(MenuDraw, SectionListHeaderFooterAndHighlightOnTheCursorRow) {
    play::bootWithPadUnbound();
    play::openMenu();
    EXPECT_NE(sim::findText("ZENTRAVISOR"), nullptr);
    // The badge reads V2.7, centred on x 0.249, and the package carries that version.
    const sim::DrawItem* badge = sim::findText("V2.7");
    ASSERT_NE(badge, nullptr);
    EXPECT_FLOAT_EQ(badge->x, 0.249f);
    EXPECT_TRUE(badge->style.centre);
    EXPECT_STREQ("V" ZV_VERSION, "V2.7");
    const sim::DrawItem* counter = sim::findText("1 / 8");
    ASSERT_NE(counter, nullptr);
    EXPECT_TRUE(counter->style.centre);
    EXPECT_NE(sim::findText("ENTER OPEN    BKSP CLOSE"), nullptr);
    // Every text goes out in the menu font with the outline, as one STRING command.
    const sim::DrawItem* general = sim::findText("GENERAL");
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(general->style.font, 4);
    EXPECT_TRUE(general->style.outline);
    EXPECT_EQ(general->command, "STRING");
    EXPECT_NE(sim::findText("General settings: HUD, menu key, and audio options."), nullptr);

    // The highlight (white, alpha 10) has come to rest on the cursor row: eight
    // section rows of 0.056, except "Reset All" at 0.046.
    play::menuPress(kVkDown, 2);  // "VEHICLE"
    sim::runFor(500);
    const sim::DrawItem* panel = panelRect();
    ASSERT_NE(panel, nullptr);
    float content = 7 * 0.056f + 0.046f;
    float listTop = 0.5f - (content + 0.086f) / 2.0f + 0.058f;
    const sim::DrawItem* highlight = nullptr;
    for (const sim::DrawItem* d : rectsOfColour(255, 255, 255))
        if (d->colour.a == 10) highlight = d;
    ASSERT_NE(highlight, nullptr);
    EXPECT_NEAR(highlight->y, listTop + 2 * 0.056f + 0.028f, 1e-4f);
    EXPECT_NEAR(highlight->height, 0.056f, 1e-4f);
    EXPECT_NE(sim::findText("3 / 8"), nullptr);
}

TEST(MenuDraw, ShortPageFitsItsPanelAndASelectedSliderGrows) {
    play::bootWithPadUnbound();
    play::openMenu();
    openPage("WEAPON");  // three toggles and three sliders, cursor on a toggle
    const sim::DrawItem* panel = panelRect();
    ASSERT_NE(panel, nullptr);
    EXPECT_NEAR(panel->height, 6 * 0.046f + 0.086f, 1e-5f);
    EXPECT_FLOAT_EQ(panel->y, 0.5f);
    EXPECT_FALSE(hasScrollbar());
    EXPECT_NE(sim::findText("WEAPON"), nullptr);
    // The page subtitle is centred on x 0.261 under the page name.
    const sim::DrawItem* subtitle = sim::findText("Lead, sway & recoil");
    ASSERT_NE(subtitle, nullptr);
    EXPECT_FLOAT_EQ(subtitle->x, 0.261f);
    EXPECT_TRUE(subtitle->style.centre);

    play::menuPress(kVkDown);  // "Lead Lag", a slider
    panel = panelRect();
    ASSERT_NE(panel, nullptr);
    EXPECT_NEAR(panel->height, 5 * 0.046f + 0.064f + 0.086f, 1e-5f);
    EXPECT_FLOAT_EQ(panel->y, 0.5f);
    // The selected slider shows its bar with the range ends instead of the plain value.
    EXPECT_NE(sim::findText("0.30"), nullptr);
    EXPECT_NE(sim::findText("0.90"), nullptr);
    EXPECT_NE(sim::findText("0.85"), nullptr);
    // An unselected slider: value and unit, centred on x 0.257 on the label's line.
    const sim::DrawItem* value = sim::findText("1.20deg");
    ASSERT_NE(value, nullptr);
    EXPECT_FLOAT_EQ(value->x, 0.257f);
    EXPECT_TRUE(value->style.centre);
}

TEST(MenuDraw, HelpBoxKeepsItsSizeWhateverTheTextLength) {
    play::bootWithPadUnbound();
    openAt("ON FOOT", "Bob Intensity");  // one of the longest help texts
    sim::runFor(600);
    const sim::DrawItem* panel = panelRect();
    ASSERT_NE(panel, nullptr);
    float hb = panel->y + panel->height / 2.0f + 0.03f;
    const sim::DrawItem* box = nullptr;
    const sim::DrawItem* shadow = nullptr;
    for (const sim::DrawItem* d : rectsOfColour(13, 13, 16))
        if (d->y > hb - 0.001f) box = d;
    for (const sim::DrawItem* d : rectsOfColour(0, 0, 0))
        if (d->colour.a == 80) shadow = d;
    ASSERT_NE(box, nullptr);
    ASSERT_NE(shadow, nullptr);
    EXPECT_NEAR(box->y, hb, 1e-5f);
    EXPECT_NEAR(box->height, 0.052f, 1e-6f);
    EXPECT_NEAR(shadow->y, hb + 0.004f, 1e-5f);
    EXPECT_NEAR(shadow->height, 0.06f, 1e-6f);
    EXPECT_NEAR(shadow->width, 0.256f, 1e-6f);
    const sim::DrawItem* help = sim::findText(menuHelpText(rowNamed("Bob Intensity")));
    ASSERT_NE(help, nullptr);
    EXPECT_NEAR(help->y, hb - 0.014f, 1e-5f);
    EXPECT_TRUE(help->style.wrap);
}

TEST(MenuDraw, LongPageScrollsFadesItsEdgeRowsAndDrawsNothingOutside) {
    play::bootWithPadUnbound();
    ShowWeaponRecoil = 1;
    openAt("BODYCAM", "Follow Amount");  // seventeen rows, longer than the window; the cursor near the bottom
    sim::runFor(600);
    EXPECT_TRUE(hasScrollbar());
    EXPECT_NE(sim::findText("13 / 17"), nullptr);

    // The window is 0.5 high; the accent line under the header marks its top.
    const sim::DrawItem* panel = panelRect();
    ASSERT_NE(panel, nullptr);
    EXPECT_NEAR(panel->height, 0.5f + 0.086f, 1e-5f);
    float listTop = 0.5f - panel->height / 2.0f + 0.058f;
    EXPECT_NEAR(menuRender.scrollPosition, menuRender.scrollTarget, 1e-6f);
    // Content above the selected row's bottom: four toggles/reveal rows, seven sliders, one toggle (0.046 each),
    // then the selected slider (0.064); the window ends 0.004 below it.
    float expectedScroll = 12 * 0.046f + 0.064f + 0.004f - 0.5f;
    EXPECT_NEAR(menuRender.scrollTarget, expectedScroll, 1e-5f);

    // Rows above the window draw nothing; the row cut by the top edge fades with f squared.
    EXPECT_EQ(sim::findText("Bodycam Enabled"), nullptr);
    float y = listTop - menuRender.scrollPosition;
    int partial = 0;
    for (int32_t r = 57; r <= 73; ++r) {
        float top = y;
        y += r == 69 ? 0.064f : 0.046f;
        if (top >= listTop || y <= listTop) continue;
        const sim::DrawItem* label = sim::findText(menuItems[r].name);
        ASSERT_NE(label, nullptr) << menuItems[r].name;
        float f = 1.0f - (listTop - top) / 0.046f;
        EXPECT_NEAR(label->style.colour.a, 255.0f * f * f, 1.0f) << menuItems[r].name;
        ++partial;
    }
    EXPECT_EQ(partial, 1);
    EXPECT_EQ(sim::findText("3D Motion Amount"), nullptr);  // below the window
}

TEST(MenuDraw, OpenAndCloseAnimation) {
    play::bootWithPadUnbound();
    menuShared.openProgress = 0.5f;
    menuShared.closing = 1;
    drawMenu();
    EXPECT_FLOAT_EQ(menuRender.fade, 0.125f);
    EXPECT_FLOAT_EQ(menuRender.scale, 0.965f);
    EXPECT_FLOAT_EQ(menuRender.slide, 0.016f * 0.875f);
    menuShared.closing = 0;
    drawMenu();
    EXPECT_FLOAT_EQ(menuRender.fade, 0.875f);

    // The first frame after opening advances by 0.016 s: p = 0.072.
    sim::frame();
    play::press(kVkF6, 1);
    ASSERT_EQ(menuShared.open, 1);
    EXPECT_NEAR(menuShared.openProgress, 0.072f, 1e-6f);
    float e = 1.0f - std::pow(1.0f - 0.072f, 3.0f);
    const sim::DrawItem* panel = panelRect();
    ASSERT_NE(panel, nullptr);
    EXPECT_NEAR(panel->width, 0.25f * (0.96f + 0.04f * e), 1e-6f);
    EXPECT_NEAR(panel->x, 0.15f - 0.016f * (1.0f - e), 1e-6f);
    EXPECT_EQ(panel->colour.a, int(250.0f * e + 0.5f));
}

TEST(MenuDraw, PrimitivesMapPanelCoordinatesAndScaleAlpha) {
    play::bootWithPadUnbound();
    menuRender.scale = 0.98f;
    menuRender.slide = 0.01f;
    menuRender.fade = 0.5f;
    menuRender.rowFade = 0.25f;
    drawMenuRect(0.25f, 0.6f, 0.1f, 0.02f, 1, 2, 3, 200);
    const sim::DrawItem& r = sim::draws.current.back();
    EXPECT_FLOAT_EQ(r.x, (0.25f - 0.15f) * 0.98f + 0.15f - 0.01f);
    EXPECT_FLOAT_EQ(r.y, (0.6f - 0.5f) * 0.98f + 0.5f);
    EXPECT_FLOAT_EQ(r.width, 0.098f);
    EXPECT_FLOAT_EQ(r.height, 0.0196f);
    EXPECT_EQ(r.colour.a, 25);  // 200 * 0.5 * 0.25 + 0.5, truncated

    drawMenuWrappedText("help", 0.037f, 0.5f, 0.285f, 9, 9, 9, 255, false, 0.037f, 0.267f);
    const sim::DrawItem& t = sim::draws.current.back();
    EXPECT_TRUE(t.style.wrap);
    EXPECT_FALSE(t.style.outline);
    EXPECT_FLOAT_EQ(t.style.wrapStart, (0.037f - 0.15f) * 0.98f + 0.15f - 0.01f);
    EXPECT_FLOAT_EQ(t.style.scaleY, 0.285f * 0.98f);

    menuRender.fade = 1.0f;
    menuRender.rowFade = 1.0f;
    EXPECT_EQ(menuAlpha(300), 255);
    EXPECT_EQ(menuAlpha(-20), 0);
}

TEST(MenuDraw, BindingNames) {
    EXPECT_STREQ(menuKeyName(117), "F6");
    EXPECT_STREQ(menuKeyName(48), "0");
    EXPECT_STREQ(menuKeyName(75), "K");
    EXPECT_STREQ(menuKeyName(220), "\\");
    EXPECT_STREQ(menuKeyName(5), "MOUSE4");
    EXPECT_STREQ(menuKeyName(226), "K226");
    EXPECT_STREQ(menuKeyName(300), "K300");
    EXPECT_STREQ(padButtonName(201), "BTN 201");
    EXPECT_STREQ(padButtonName(175), "DPAD RIGHT");
    EXPECT_STREQ(padButtonName(0), "NONE");
    EXPECT_STREQ(padButtonName(-3), "NONE");
}

}  // namespace

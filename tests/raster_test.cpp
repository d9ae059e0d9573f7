// The screenshot rasterizer: blending, hairlines and text placement.
#include <gtest/gtest.h>

#include "sim/raster.h"

namespace {

struct Pixel {
    int r, g, b;
};
Pixel at(const std::vector<unsigned char>& img, int x, int y) {
    size_t k = (size_t(y) * sim::kScreenWidth + x) * 3;
    return {img[k], img[k + 1], img[k + 2]};
}

sim::DrawItem rect(float x, float y, float w, float h, sim::Rgba c) {
    sim::DrawItem d;
    d.kind = sim::DrawKind::Rect;
    d.x = x, d.y = y, d.width = w, d.height = h, d.colour = c;
    return d;
}

sim::DrawItem text(const std::string& s, float x, float y, float scale, bool centre) {
    sim::DrawItem d;
    d.kind = sim::DrawKind::Text;
    d.text = s;
    d.x = x, d.y = y;
    d.style.scaleX = d.style.scaleY = scale;
    d.style.centre = centre;
    return d;
}

// Columns [x0, x1) and rows [y0, y1) of white-ish pixels over a black box.
struct Ink {
    int x0 = 1 << 30, x1 = -1, y0 = 1 << 30, y1 = -1;
};
Ink inkOf(const std::vector<unsigned char>& img) {
    Ink ink;
    for (int y = 0; y < sim::kScreenHeight; ++y)
        for (int x = 0; x < sim::kScreenWidth; ++x)
            if (at(img, x, y).r > 128 && at(img, x, y).g > 128) {
                ink.x0 = std::min(ink.x0, x), ink.x1 = std::max(ink.x1, x + 1);
                ink.y0 = std::min(ink.y0, y), ink.y1 = std::max(ink.y1, y + 1);
            }
    return ink;
}

TEST(Raster, RectanglesBlendInCallOrderAndHairlinesShow) {
    std::vector<sim::DrawItem> items = {
        rect(0.5f, 0.5f, 1.0f, 1.0f, {0, 0, 0, 255}),
        rect(0.25f, 0.25f, 0.1f, 0.1f, {255, 0, 0, 255}),
        rect(0.25f, 0.25f, 0.1f, 0.1f, {0, 0, 255, 128}),  // half blue over red
        rect(0.75f, 0.5f, 0.2f, 0.001f, {255, 255, 255, 255}),  // 1.08 px high
    };
    std::vector<unsigned char> img = sim::rasterizeFrame(items);
    ASSERT_EQ(img.size(), size_t(sim::kScreenWidth) * sim::kScreenHeight * 3);
    Pixel p = at(img, 480, 270);
    EXPECT_NEAR(p.r, 127, 1);
    EXPECT_EQ(p.g, 0);
    EXPECT_NEAR(p.b, 128, 1);
    EXPECT_EQ(at(img, 100, 100).r, 0);
    int lit = 0;
    for (int y = 535; y < 545; ++y) lit += at(img, 1440, y).r > 0 ? 1 : 0;
    EXPECT_GE(lit, 1);
    EXPECT_LE(lit, 3);
}

TEST(Raster, TextSitsAtItsPositionCentresAndWraps) {
    sim::DrawItem backdrop = rect(0.5f, 0.5f, 1.0f, 1.0f, {0, 0, 0, 255});
    Ink left = inkOf(sim::rasterizeFrame({backdrop, text("MENU", 0.25f, 0.5f, 0.4f, false)}));
    EXPECT_GE(left.x0, 480);
    EXPECT_LE(left.x0, 486);
    EXPECT_GE(left.y0, 540);
    EXPECT_LE(left.y1, 540 + int(0.4f * 0.064f * 1080) + 2);  // within its line

    Ink centred = inkOf(sim::rasterizeFrame({backdrop, text("MENU", 0.25f, 0.5f, 0.4f, true)}));
    EXPECT_NEAR((centred.x0 + centred.x1) / 2.0, 480.0, 3.0);

    sim::DrawItem longText = text("one two three four five six seven eight nine ten", 0.1f, 0.2f, 0.3f, false);
    Ink single = inkOf(sim::rasterizeFrame({backdrop, longText}));
    longText.style.wrap = true;
    longText.style.wrapStart = 0.1f;
    longText.style.wrapEnd = 0.2f;
    Ink wrapped = inkOf(sim::rasterizeFrame({backdrop, longText}));
    EXPECT_LE(wrapped.x1, int(0.2f * 1920) + 1);
    EXPECT_GT(wrapped.y1 - wrapped.y0, 2 * (single.y1 - single.y0));
}

}  // namespace

// The clip rasteriser: where the horizon, the road and a wall fall in a frame,
// and that the frame's own drawing (the dot) lands on top.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sim/clip_render.h"
#include "sim/world/shapetests.h"
#include "sim/world/stage.h"

namespace {

constexpr int kW = sim::kClipWidth, kH = sim::kClipHeight;

struct Pixel {
    int r, g, b;
};

Pixel at(const std::vector<unsigned char>& rgb, int x, int y) {
    const unsigned char* p = &rgb[(size_t(y) * kW + x) * 3];
    return {p[0], p[1], p[2]};
}

int brightness(Pixel p) { return p.r + p.g + p.b; }

// The first row from the top where the brightness drops sharply: the sky's
// bright haze meeting the darker distant ground (the sky's own gradient
// changes by a few steps a row; grid lines come only below the horizon).
int horizonRow(const std::vector<unsigned char>& rgb, int x) {
    constexpr int kEdge = 40;  // summed 0-255 steps
    for (int y = 1; y < kH; ++y)
        if (brightness(at(rgb, x, y - 1)) - brightness(at(rgb, x, y)) > kEdge) return y;
    return -1;
}

TEST(ClipRender, LevelViewPutsTheHorizonMidScreen) {
    sim::ViewPose view{{0.0f, 0.0f, 1.7f}, {0.0f, 0.0f, 0.0f}, 60.0f};  // the bare ground plane
    std::vector<unsigned char> rgb = sim::renderClipFrame(view, {});
    ASSERT_EQ(rgb.size(), size_t(kW) * kH * 3);
    for (int x : {kW / 4, kW / 2, 3 * kW / 4}) EXPECT_NEAR(horizonRow(rgb, x), kH / 2, 2) << "column " << x;
    Pixel sky = at(rgb, kW / 2, 5), ground = at(rgb, kW / 2, kH - 5);
    EXPECT_GT(sky.b, sky.r);        // blue above
    EXPECT_GT(ground.g, ground.b);  // green-grey ground below
}

TEST(ClipRender, RollTiltsTheHorizonAndPitchMovesIt) {
    sim::ViewPose rolled{{0.0f, 0.0f, 1.7f}, {0.0f, 10.0f, 0.0f}, 60.0f};
    std::vector<unsigned char> rgb = sim::renderClipFrame(rolled, {});
    int left = horizonRow(rgb, kW / 4), right = horizonRow(rgb, 3 * kW / 4);
    // Rolled 10 degrees, the horizon rises tan(10) of the half width, in pixels, across the middle half.
    EXPECT_NEAR(double(std::abs(left - right)), std::tan(10.0 * 3.14159265 / 180.0) * kW / 2, 3.0);
    // Pitched up 10 degrees, it drops by tan(10) / tan(30) of the half height.
    sim::ViewPose pitched{{0.0f, 0.0f, 1.7f}, {10.0f, 0.0f, 0.0f}, 60.0f};
    rgb = sim::renderClipFrame(pitched, {});
    double expected = kH / 2 + std::tan(10.0 * 3.14159265 / 180.0) / std::tan(30.0 * 3.14159265 / 180.0) * kH / 2;
    EXPECT_NEAR(horizonRow(rgb, kW / 2), expected, 2.0);
}

TEST(ClipRender, TheStreetsRoadRunsDownTheMiddle) {
    sim::buildStage();
    sim::ViewPose view{{0.0f, -100.0f, 1.7f}, {-10.0f, 0.0f, 0.0f}, 60.0f};  // looking north down the road
    std::vector<unsigned char> rgb = sim::renderClipFrame(view, {});
    Pixel road = at(rgb, kW / 2 + 40, kH - 5), verge = at(rgb, 10, kH * 6 / 10);  // the verge: 6 m left, 6 m on
    EXPECT_LT(brightness(road), 3 * 70);  // dark asphalt at the bottom centre
    EXPECT_GT(verge.g, verge.b);          // ground beside it
}

TEST(ClipRender, AWallHidesTheSkyAndTheDotStaysVisible) {
    sim::addSolidBox({0.0f, 10.0f, 5.0f}, {20.0f, 1.0f, 10.0f});
    sim::ViewPose view{{0.0f, 0.0f, 1.7f}, {0.0f, 0.0f, 0.0f}, 60.0f};
    sim::DrawItem dot;
    dot.kind = sim::DrawKind::Rect;
    dot.x = 0.5f, dot.y = 0.5f, dot.width = 0.0012f, dot.height = 0.0021f;  // about a pixel at this size
    dot.colour = {255, 255, 255, 255};
    std::vector<unsigned char> rgb = sim::renderClipFrame(view, {dot});
    Pixel top = at(rgb, kW / 4, 5);
    EXPECT_LT(top.b, top.r + 10);  // a 10 m wall 10 m ahead fills the top of the view: no sky
    Pixel centre = at(rgb, kW / 2, kH / 2);
    EXPECT_GT(centre.r, 240);  // the dot, drawn at least two pixels wide
    EXPECT_GT(centre.g, 240);
}

}  // namespace

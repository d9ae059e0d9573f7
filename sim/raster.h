// Turns one frame's screen drawing into a picture: rectangles, texts and 3-D lines, alpha
// blended in call order over a plain backdrop, written as a PNG. A stand-in
// condensed sans (Roboto Condensed) takes the place of the game's fonts; the
// layout is the plug-in's own.
#pragma once
#include <string>
#include <vector>

#include "sim/world/draw.h"
#include "sim/world/projection.h"

namespace sim {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// The items painted over the backdrop: kScreenWidth x kScreenHeight RGB bytes,
// row by row from the top; empty when the font cannot be loaded. Given the view
// the frame was rendered through, the backdrop is the simulated world seen
// through it and 3-D lines are drawn projected; without one, lines are skipped
// over a plain backdrop.
std::vector<unsigned char> rasterizeFrame(const std::vector<DrawItem>& items, const ViewPose* view = nullptr);

// The same drawing at any size, over a picture already in rgb (width x height,
// three floats 0..1 per pixel, rows top down): screen fractions scale with the
// picture, text with its height. Call fontLoaded() first.
void paintItems(const std::vector<DrawItem>& items, const ViewPose* view, int width, int height, std::vector<float>& rgb);
bool fontLoaded();  // false, with a message on stderr, when the font cannot be loaded
std::vector<unsigned char> toBytes(const std::vector<float>& rgb);  // 0..1 floats to 0..255 bytes

// Writes rasterizeFrame's picture as a PNG. Returns false (with a message on
// stderr) when the font cannot be loaded or the file cannot be written.
bool writeFramePng(const std::vector<DrawItem>& items, const std::string& path, const ViewPose* view = nullptr);

}  // namespace sim

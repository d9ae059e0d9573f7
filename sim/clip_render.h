// The frames of the demo's clips: the simulated world through the rendered
// camera, drawn by a small z-buffered rasteriser fast enough for thirty frames
// a second of every session. Sky with a horizon haze, the ground with a one
// metre grid and the street's road paint, the solid boxes, vehicles and other
// peds as shaded boxes, then the frame's own drawing (crosshair, tracers, menu)
// on top.
#pragma once
#include <vector>

#include "sim/world/draw.h"
#include "sim/world/projection.h"

namespace sim {

constexpr int kClipWidth = 960;
constexpr int kClipHeight = 540;

// Fills rgb (width x height, three floats 0..1 per pixel, rows top down) with
// the world seen through the view.
void paintClipWorld(const ViewPose& view, int width, int height, std::vector<float>& rgb);

// One clip frame as RGB bytes: the world, then the draw items over it; empty
// when the font cannot be loaded.
std::vector<unsigned char> renderClipFrame(const ViewPose& view, const std::vector<DrawItem>& items,
                                           int width = kClipWidth, int height = kClipHeight);

}  // namespace sim

// Line plots as plain SVG: a few series over a shared x axis, with grid,
// labelled ticks, a legend and vertical markers.
#pragma once
#include <string>
#include <vector>

namespace svg {

struct Series {
    std::string label;  // "": drawn, but not in the legend
    std::vector<double> x, y;
    std::string colour;  // "": the palette's next
    bool dashed = false;
};

struct Marker {
    double x;
    std::string label;
};

struct Plot {
    std::string title;
    std::string xLabel = "time (s)";
    std::string yLabel;
    std::vector<Series> series;
    std::vector<Marker> markers;
};

// The text with the characters that SVG and HTML give a meaning escaped.
std::string escape(const std::string& s);

std::string render(const Plot& plot, int width = 880, int height = 360);

}  // namespace svg

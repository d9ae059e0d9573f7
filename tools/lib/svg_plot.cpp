#include "tools/svg_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace svg {

namespace {

const char* palette(size_t k) {
    static const char* const kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b", "#17becf"};
    return kColours[k % 7];
}

// A "nice" tick step for a span: 1, 2 or 5 times a power of ten, about 6 ticks.
double tickStep(double span) {
    if (!(span > 0.0)) return 1.0;
    double raw = span / 6.0;
    double p = std::pow(10.0, std::floor(std::log10(raw)));
    double m = raw / p;
    return (m < 1.5 ? 1.0 : m < 3.5 ? 2.0 : m < 7.5 ? 5.0 : 10.0) * p;
}

std::string num(double v) {
    char b[32];
    if (std::fabs(v) < 1e-9) v = 0.0;
    std::snprintf(b, sizeof b, "%g", v);
    return b;
}

}  // namespace

std::string escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

std::string render(const Plot& plot, int width, int height) {
    const double left = 70, right = 200, top = 36, bottom = 46;
    double x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
    for (const Series& s : plot.series) {
        for (double v : s.x) x0 = std::min(x0, v), x1 = std::max(x1, v);
        for (double v : s.y)
            if (std::isfinite(v)) y0 = std::min(y0, v), y1 = std::max(y1, v);
    }
    if (x0 > x1) x0 = 0, x1 = 1;
    if (y0 > y1) y0 = 0, y1 = 1;
    if (x1 - x0 < 1e-9) x1 = x0 + 1;
    if (y1 - y0 < 1e-9) y0 -= 0.5, y1 += 0.5;
    double pad = (y1 - y0) * 0.06;
    y0 -= pad, y1 += pad;
    const double pw = width - left - right, ph = height - top - bottom;
    auto X = [&](double v) { return left + (v - x0) / (x1 - x0) * pw; };
    auto Y = [&](double v) { return top + (y1 - v) / (y1 - y0) * ph; };
    char b[256];
    std::string o;
    std::snprintf(b, sizeof b,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
                  "font-family=\"DejaVu Sans, Arial, sans-serif\" font-size=\"12\">\n",
                  width, height, width, height);
    o += b;
    o += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    o += "<text x=\"" + num(left) + "\" y=\"22\" font-size=\"15\" font-weight=\"bold\">" + escape(plot.title) + "</text>\n";
    double xs = tickStep(x1 - x0), ys = tickStep(y1 - y0);
    for (double t = std::ceil(x0 / xs) * xs; t <= x1 + 1e-9; t += xs) {
        std::snprintf(b, sizeof b, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#e4e4e4\"/>"
                      "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" fill=\"#555\">%s</text>\n",
                      X(t), top, X(t), top + ph, X(t), top + ph + 16, num(t).c_str());
        o += b;
    }
    for (double t = std::ceil(y0 / ys) * ys; t <= y1 + 1e-9; t += ys) {
        std::snprintf(b, sizeof b, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\"/>"
                      "<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"end\" fill=\"#555\">%s</text>\n",
                      left, Y(t), left + pw, Y(t), std::fabs(t) < ys * 1e-6 ? "#aaaaaa" : "#e4e4e4", left - 6, Y(t) + 4,
                      num(t).c_str());
        o += b;
    }
    std::snprintf(b, sizeof b, "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"none\" stroke=\"#888\"/>\n",
                  left, top, pw, ph);
    o += b;
    std::snprintf(b, sizeof b, "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\" fill=\"#333\">%s</text>\n", left + pw / 2,
                  height - 8, escape(plot.xLabel).c_str());
    o += b;
    std::snprintf(b, sizeof b,
                  "<text transform=\"translate(16 %.1f) rotate(-90)\" text-anchor=\"middle\" fill=\"#333\">%s</text>\n",
                  top + ph / 2, escape(plot.yLabel).c_str());
    o += b;
    // Marker labels step down a row when they would run into the previous one.
    double labelEnd[3] = {-1e9, -1e9, -1e9};
    for (const Marker& m : plot.markers) {
        if (m.x < x0 || m.x > x1 - (x1 - x0) * 0.01) continue;
        std::snprintf(b, sizeof b, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#666\" stroke-dasharray=\"4 3\"/>\n",
                      X(m.x), top, X(m.x), top + ph);
        o += b;
        if (m.label.empty()) continue;
        int row = 0;
        while (row < 2 && labelEnd[row] > X(m.x)) ++row;
        labelEnd[row] = X(m.x) + 6.5 * double(m.label.size()) + 8;
        std::snprintf(b, sizeof b, "<text x=\"%.1f\" y=\"%.1f\" fill=\"#444\" font-size=\"11\">%s</text>\n", X(m.x) + 3,
                      top + 12 + 13.0 * row, escape(m.label).c_str());
        o += b;
    }
    int legendRow = 0;
    for (size_t k = 0; k < plot.series.size(); ++k) {
        const Series& s = plot.series[k];
        std::string colour = s.colour.empty() ? palette(k) : s.colour;
        std::string points;
        for (size_t i = 0; i < s.x.size() && i < s.y.size(); ++i) {
            if (!std::isfinite(s.y[i])) continue;
            std::snprintf(b, sizeof b, "%.1f,%.1f ", X(s.x[i]), Y(s.y[i]));
            points += b;
        }
        o += "<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"1.8\"" +
             (s.dashed ? " stroke-dasharray=\"6 4\"" : "") + " points=\"" + points + "\"/>\n";
        if (s.label.empty()) continue;  // drawn, but not in the legend
        double ly = top + 14 + 18.0 * double(legendRow++);
        std::snprintf(b, sizeof b, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" stroke-width=\"3\"%s/>"
                      "<text x=\"%.1f\" y=\"%.1f\">%s</text>\n",
                      left + pw + 12, ly - 4, left + pw + 32, ly - 4, colour.c_str(),
                      s.dashed ? " stroke-dasharray=\"6 4\"" : "", left + pw + 38, ly, escape(s.label).c_str());
        o += b;
    }
    o += "</svg>\n";
    return o;
}

}  // namespace svg

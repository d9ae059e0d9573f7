// A session's per-frame trace (tools/demo_trace.h) read back from its CSV:
// columns by name.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "tools/svg_plot.h"

namespace report {

struct Trace {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    // false when the file has no header or no row
    bool read(const std::filesystem::path& path);
    int index(const std::string& name) const;  // -1: no such column
    std::string text(size_t row, const std::string& name) const;  // "" where the row has no such cell
    std::vector<double> column(const std::string& name) const;    // NaN for an empty or missing cell
    std::vector<svg::Marker> marks() const;                       // the session's marks, at their times
    double markTime(const std::string& label, double fallback) const;
};

}  // namespace report

#include "tools/trace_csv.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace report {

namespace {

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream s(line);
    for (std::string cell; std::getline(s, cell, ',');) out.push_back(cell);
    if (!line.empty() && line.back() == ',') out.push_back("");
    return out;
}

}  // namespace

bool Trace::read(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    if (!std::getline(in, line)) return false;
    header = split(line);
    while (std::getline(in, line)) rows.push_back(split(line));
    return !rows.empty();
}

int Trace::index(const std::string& name) const {
    for (size_t k = 0; k < header.size(); ++k)
        if (header[k] == name) return static_cast<int>(k);
    return -1;
}

std::string Trace::text(size_t row, const std::string& name) const {
    int k = index(name);
    return k >= 0 && static_cast<size_t>(k) < rows[row].size() ? rows[row][k] : "";
}

std::vector<double> Trace::column(const std::string& name) const {
    std::vector<double> out;
    int k = index(name);
    for (const auto& r : rows)
        out.push_back(k >= 0 && static_cast<size_t>(k) < r.size() && !r[k].empty() ? std::atof(r[k].c_str()) : NAN);
    return out;
}

std::vector<svg::Marker> Trace::marks() const {
    std::vector<svg::Marker> out;
    std::vector<double> t = column("time_s");
    for (size_t k = 0; k < rows.size(); ++k) {
        std::string m = text(k, "mark");
        if (!m.empty()) out.push_back({t[k], m});
    }
    return out;
}

double Trace::markTime(const std::string& label, double fallback) const {
    for (const svg::Marker& m : marks())
        if (m.label == label) return m.x;
    return fallback;
}

}  // namespace report

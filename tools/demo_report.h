// The demo report: plots from the session traces, the screenshots, and
// index.html with one line per picture saying what to look for.
#pragma once
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/svg_plot.h"

namespace report {

namespace fs = std::filesystem;

struct SessionRun {
    std::string name;
    fs::path file;
    fs::path csv;
    int status;
    double seconds;
};

// A trace read back: columns by name.
struct Trace {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    bool read(const fs::path& path) {
        std::ifstream in(path);
        std::string line;
        if (!std::getline(in, line)) return false;
        header = split(line);
        while (std::getline(in, line)) rows.push_back(split(line));
        return !rows.empty();
    }
    static std::vector<std::string> split(const std::string& line) {
        std::vector<std::string> out;
        std::stringstream s(line);
        for (std::string cell; std::getline(s, cell, ',');) out.push_back(cell);
        if (!line.empty() && line.back() == ',') out.push_back("");
        return out;
    }
    int index(const std::string& name) const {
        for (size_t k = 0; k < header.size(); ++k)
            if (header[k] == name) return static_cast<int>(k);
        return -1;
    }
    bool has(const std::string& name) const { return index(name) >= 0; }
    std::string text(size_t row, const std::string& name) const {
        int k = index(name);
        return k >= 0 && static_cast<size_t>(k) < rows[row].size() ? rows[row][k] : "";
    }
    std::vector<double> column(const std::string& name) const {
        std::vector<double> out;
        int k = index(name);
        for (const auto& r : rows)
            out.push_back(k >= 0 && static_cast<size_t>(k) < r.size() && !r[k].empty() ? std::atof(r[k].c_str()) : NAN);
        return out;
    }
    std::vector<svg::Marker> marks() const {
        std::vector<svg::Marker> out;
        std::vector<double> t = column("time_s");
        for (size_t k = 0; k < rows.size(); ++k) {
            std::string m = text(k, "mark");
            if (!m.empty()) out.push_back({t[k], m});
        }
        return out;
    }
    double markTime(const std::string& label, double fallback) const {
        for (const svg::Marker& m : marks())
            if (m.label == label) return m.x;
        return fallback;
    }
};

// The time window of a plot, between two marks (or the whole trace).
inline svg::Series series(const Trace& t, const std::string& column, const std::string& label, double from = -1e9,
                          double to = 1e9, double scale = 1.0) {
    svg::Series s;
    s.label = label;
    std::vector<double> time = t.column("time_s"), v = t.column(column);
    for (size_t k = 0; k < time.size(); ++k) {
        if (time[k] < from || time[k] > to) continue;
        s.x.push_back(time[k]);
        s.y.push_back(v[k] * scale);
    }
    return s;
}

struct Picture {
    std::string file;     // relative to the report folder
    std::string title;
    std::string lookFor;  // one line: what to look for
};

struct Report {
    std::vector<SessionRun> runs;
    std::vector<Picture> plots;
    std::vector<Picture> screenshots;
    std::vector<std::string> notes;
};

inline bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

// Generic plots of one session: where the camera is, where it looks, its zoom.
inline void sessionPlots(const SessionRun& run, const Trace& t, const fs::path& out, Report& r) {
    std::vector<double> x = t.column("cam_x"), y = t.column("cam_y"), z = t.column("cam_z");
    svg::Plot pos{run.name + ": camera position", "time (s)", "metres", {}, t.marks()};
    pos.series = {series(t, "cam_x", "x"), series(t, "cam_y", "y"), series(t, "cam_z", "z")};
    svg::Plot rot{run.name + ": camera rotation", "time (s)", "degrees", {}, t.marks()};
    rot.series = {series(t, "pitch", "pitch"), series(t, "roll", "roll"), series(t, "yaw", "yaw")};
    svg::Plot fov{run.name + ": field of view and rendering", "time (s)", "degrees / flag x 10", {}, t.marks()};
    fov.series = {series(t, "fov", "field of view"), series(t, "rendering", "rendering x 10", -1e9, 1e9, 10.0)};
    fs::create_directories(out / "plots");
    writeText(out / "plots" / (run.name + "-position.svg"), svg::render(pos));
    writeText(out / "plots" / (run.name + "-rotation.svg"), svg::render(rot));
    writeText(out / "plots" / (run.name + "-fov.svg"), svg::render(fov));
    r.plots.push_back({"plots/" + run.name + "-position.svg", run.name + ": position",
                       "The camera's world position each frame; dashed lines are the session's marks."});
    r.plots.push_back({"plots/" + run.name + "-rotation.svg", run.name + ": rotation",
                       "Pitch, roll and yaw as the plug-in set them on its camera."});
    r.plots.push_back({"plots/" + run.name + "-fov.svg", run.name + ": field of view",
                       "The field of view, and when the plug-in's camera was rendered (10) or handed back (0)."});
}

inline Report build(const std::vector<SessionRun>& runs, const fs::path& out, const fs::path& binDir, bool full) {
    Report r;
    r.runs = runs;
    (void)binDir;
    (void)full;
    for (const SessionRun& run : runs) {
        Trace t;
        if (!t.read(run.csv)) {
            r.notes.push_back("No trace for " + run.name + ".");
            continue;
        }
        sessionPlots(run, t, out, r);
    }
    return r;
}

inline std::string html(const std::string& s) { return svg::escape(s); }

inline void writeIndex(const Report& r, const fs::path& out) {
    std::ostringstream h;
    h << "<!doctype html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
      << "<title>Zentravisor in the simulator</title>\n<style>\n"
      << "body{font-family:'DejaVu Sans',Arial,sans-serif;max-width:900px;margin:2em auto;padding:0 1em;color:#222;"
         "line-height:1.45}\n"
      << "h1{font-size:1.6em}h2{margin-top:2em;border-bottom:1px solid #ddd;padding-bottom:.2em}\n"
      << "figure{margin:1.5em 0}figure img{max-width:100%;border:1px solid #ddd}\n"
      << "figcaption{margin-top:.3em}figcaption b{display:block}\n"
      << "table{border-collapse:collapse}td,th{padding:.2em .8em;border-bottom:1px solid #eee;text-align:left}\n"
      << ".bad{color:#b00}code{background:#f4f4f4;padding:0 .2em}\n</style></head><body>\n"
      << "<h1>Zentravisor in the simulator</h1>\n"
      << "<p>Every session below drove the real plug-in, frame by frame, through a simulated game. "
         "Each trace is a CSV with one row per frame.</p>\n";
    h << "<h2>Sessions</h2>\n<table><tr><th>session</th><th>frames</th><th>wall time</th><th>trace</th></tr>\n";
    for (const SessionRun& run : r.runs) {
        Trace t;
        size_t frames = t.read(run.csv) ? t.rows.size() : 0;
        char secs[32];
        std::snprintf(secs, sizeof secs, "%.2f s", run.seconds);
        h << "<tr><td>" << html(run.name) << (run.status ? " <span class=\"bad\">(failed)</span>" : "") << "</td><td>"
          << frames << "</td><td>" << secs << "</td><td><a href=\"traces/" << html(run.name) << ".csv\">"
          << html(run.name) << ".csv</a></td></tr>\n";
    }
    h << "</table>\n";
    for (const std::string& n : r.notes) h << "<p class=\"bad\">" << html(n) << "</p>\n";
    auto pictures = [&](const char* title, const std::vector<Picture>& list) {
        if (list.empty()) return;
        h << "<h2>" << title << "</h2>\n";
        for (const Picture& p : list)
            h << "<figure><img src=\"" << html(p.file) << "\" alt=\"" << html(p.title) << "\"><figcaption><b>"
              << html(p.title) << "</b>" << html(p.lookFor) << "</figcaption></figure>\n";
    };
    pictures("Motion", r.plots);
    pictures("Screenshots", r.screenshots);
    h << "</body></html>\n";
    writeText(out / "index.html", h.str());
}

}  // namespace report

// index.html: the sessions played, the report's sections and its pictures,
// each picture with one line saying what to look for.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/report.h"
#include "tools/svg_plot.h"
#include "tools/trace_csv.h"

namespace report {

namespace fs = std::filesystem;

bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

std::string html(const std::string& s) { return svg::escape(s); }

void writeIndex(const Report& r, const fs::path& out) {
    std::ostringstream h;
    h << "<!doctype html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
      << "<title>Zentravisor in the simulator</title>\n<style>\n"
      << "body{font-family:'DejaVu Sans',Arial,sans-serif;max-width:1100px;margin:2em auto;padding:0 1em;color:#222;"
         "line-height:1.45}\n"
      << "h1{font-size:1.6em}h2{margin-top:2em;border-bottom:1px solid #ddd;padding-bottom:.2em}\n"
      << "figure{margin:1.5em 0}figure img{max-width:100%;border:1px solid #ddd}\n"
      << "figcaption{margin-top:.3em}figcaption b{display:block}\n"
      << "table{border-collapse:collapse}td,th{padding:.2em .8em;border-bottom:1px solid #eee;text-align:left}\n"
      << ".bad{color:#b00}code{background:#f4f4f4;padding:0 .2em}pre{background:#f7f7f7;padding:.6em;overflow:auto}\n"
      << ".wide{overflow-x:auto}table.figures td,table.figures th{text-align:right;padding:.2em .45em;font-size:.85em}"
         "table.figures td:first-child,table.figures th:first-child{text-align:left}\n"
      << ".def{display:block;font-size:.8em;color:#888}.def.more{color:#b35900}.def.less{color:#2a7a2a}\n"
      << ".clip{display:flex;gap:1em;align-items:flex-start;flex-wrap:wrap;margin:1.5em 0}.clip figure{margin:0;flex:1 1 420px;max-width:640px}"
         ".clip img{width:100%;border:1px solid #ddd}\n</style></head><body>\n"
      << "<h1>Zentravisor in the simulator</h1>\n"
      << "<p>Every session below drove the real plug-in, frame by frame, through a simulated game: the same "
         "code that is in <code>Zentravisor.asi</code>, with the game's side played by the simulator. Each "
         "picture says what to look for.</p>\n"
      << "<p>Release: <a href=\"../../dist/Zentravisor.asi\">dist/Zentravisor.asi</a>, the zip for players in "
         "<a href=\"../../dist/\">dist/</a>; every setting in <a href=\"../../docs/settings.md\">docs/settings.md</a>."
         "</p>\n";
    h << "<h2>Sessions</h2>\n<p>Each session is a plain text file, one step per line; "
         "<code>./zv demo my-session.zvs</code> plays your own.</p>\n"
      << "<table><tr><th>session</th><th>frames</th><th>virtual time</th><th>wall time</th><th>trace</th></tr>\n";
    for (const SessionRun& run : r.runs) {
        Trace t;
        bool read = t.read(run.csv);
        char secs[64];
        std::snprintf(secs, sizeof secs, "%.1f s</td><td>%.2f s", read ? t.column("time_s").back() : 0.0, run.seconds);
        h << "<tr><td><a href=\"sessions/" << html(run.file.filename().string()) << "\">" << html(run.name) << "</a>"
          << (run.status ? " <span class=\"bad\">(failed)</span>" : "") << "</td><td>" << (read ? t.rows.size() : 0)
          << "</td><td>" << secs << "</td><td><a href=\"traces/" << html(run.name) << ".csv\">" << html(run.name)
          << ".csv</a></td></tr>\n";
    }
    h << "</table>\n<p>Trace columns: tick, rendering (the plug-in's camera-rendering flag), mode (game, on-foot, "
         "vehicle, two-wheeler, handed-back), the rendered camera's position, rotation and field of view, and the "
         "motion channels the plots use.</p>\n";
    for (const SessionRun& run : r.runs) {
        std::ifstream in(run.file);
        std::ostringstream text;
        text << in.rdbuf();
        h << "<details><summary>" << html(run.name) << "</summary><pre>" << html(text.str()) << "</pre></details>\n";
    }
    for (const std::string& n : r.notes) h << "<p class=\"bad\">" << html(n) << "</p>\n";
    h << r.motionHtml;
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

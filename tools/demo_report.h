// The demo report: plots from the session traces, the screenshots, and
// index.html with one line per picture saying what to look for.
#pragma once
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/svg_plot.h"

extern char** environ;

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
    std::string motionHtml;  // the clips, comfort, frame-rate and presets sections
};

inline bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

// Generic plots of one session: where the camera is, where it looks, its zoom.
inline void sessionPlots(const SessionRun& run, const Trace& t, const fs::path& out, Report& r) {
    svg::Plot pos{run.name + ": camera position", "time (s)", "metres", {}, t.marks()};
    pos.series = {series(t, "cam_x", "x"), series(t, "cam_y", "y"), series(t, "cam_z", "z")};
    svg::Plot rot{run.name + ": camera rotation", "time (s)", "degrees", {}, t.marks()};
    rot.series = {series(t, "pitch", "pitch"), series(t, "roll", "roll"), series(t, "yaw", "yaw")};
    svg::Plot fov{run.name + ": field of view and rendering", "time (s)", "degrees / flag x 10", {}, t.marks()};
    fov.series = {series(t, "fov", "field of view"), series(t, "rendering", "rendering x 10", -1e9, 1e9, 10.0)};
    // The motion channels that moved at all in this session.
    svg::Plot motion{run.name + ": motion", "time (s)", "cm / degrees / percent", {}, t.marks()};
    const struct { const char* column; const char* label; double scale; } kChannels[] = {
        {"bob_vertical", "head bob vertical (cm)", 100.0}, {"bob_lateral", "head bob lateral (cm)", 100.0},
        {"recoil_pitch", "recoil pitch (deg)", 1.0},       {"crouch_drop", "crouch drop (cm)", 100.0},
        {"ads_blend", "ADS blend (%)", 100.0},              {"forward_shift", "vehicle forward shift (cm)", 100.0},
        {"look_yaw", "vehicle look yaw (deg)", 1.0},
    };
    for (const auto& ch : kChannels) {
        svg::Series s = series(t, ch.column, ch.label, -1e9, 1e9, ch.scale);
        if (std::any_of(s.y.begin(), s.y.end(), [](double v) { return std::fabs(v) > 1e-4; })) motion.series.push_back(s);
    }
    fs::create_directories(out / "plots");
    if (!motion.series.empty()) {
        writeText(out / "plots" / (run.name + "-motion.svg"), svg::render(motion));
        r.plots.push_back({"plots/" + run.name + "-motion.svg", run.name + ": motion",
                           "Head bob, recoil, crouch, zoom and vehicle inertia: the channels that moved in this session."});
    }
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

// ---- the plots of the full report -----------------------------------------------

struct Context {
    const std::map<std::string, Trace>& traces;
    const fs::path& out;
    Report& report;

    const Trace* trace(const std::string& session) const {
        for (const auto& [name, t] : traces)
            if (name.find(session) != std::string::npos) return &t;
        return nullptr;
    }
    void add(const std::string& file, const svg::Plot& plot, const std::string& lookFor) {
        fs::create_directories(out / "plots");
        writeText(out / "plots" / file, svg::render(plot));
        report.plots.push_back({"plots/" + file, plot.title, lookFor});
    }
};

inline svg::Series dashed(svg::Series s) {
    s.dashed = true;
    return s;
}

// gameplay yaw +- the deadzone angle: the edges the smoothed view may lag by.
inline svg::Series deadzoneEdge(const Trace& t, double sign, double from, double to, const std::string& label) {
    svg::Series s = series(t, "gameplay_yaw", label, from, to);
    svg::Series dz = series(t, "deadzone", "", from, to);
    for (size_t k = 0; k < s.y.size(); ++k) s.y[k] += sign * dz.y[k];
    s.dashed = true;
    s.colour = "#999999";
    return s;
}

inline std::vector<svg::Marker> shotMarkers(const Trace& t, double from, double to) {
    std::vector<svg::Marker> out;
    std::vector<double> time = t.column("time_s"), shot = t.column("shot");
    for (size_t k = 0; k < time.size(); ++k)
        if (shot[k] > 0.5 && time[k] >= from && time[k] <= to) out.push_back({time[k], ""});
    return out;
}

inline void headBobPlots(Context& c) {
    const Trace* t = c.trace("walk");
    if (!t) return;
    double jog = t->markTime("jog", 0.0);
    double a = jog + 1.5, b = jog + 2.7;  // a settled jog: about three strides
    svg::Plot offsets{"Head bob offsets over a jog stride", "time (s)", "centimetres", {}, {}};
    offsets.series = {series(*t, "bob_lateral", "lateral", a, b, 100.0), series(*t, "bob_vertical", "vertical", a, b, 100.0)};
    c.add("headbob-offsets.svg", offsets,
          "Vertical bounces twice per stride (each foot plant), lateral sways once; both smooth, no steps.");
    svg::Plot angles{"Head bob angles over a jog stride", "time (s)", "degrees", {}, {}};
    angles.series = {series(*t, "bob_pitch", "pitch", a, b), series(*t, "bob_yaw", "yaw", a, b),
                     series(*t, "bob_roll", "roll", a, b)};
    c.add("headbob-angles.svg", angles,
          "Roll swings once per stride; yaw and pitch carry a small swing and the slow noise layer, never a jolt.");
    svg::Plot paces{"Head bob through walk, jog, sprint and stop", "time (s)", "centimetres", {}, t->marks()};
    paces.series = {series(*t, "bob_vertical", "vertical", -1e9, 1e9, 100.0),
                    series(*t, "bob_lateral", "lateral", -1e9, 1e9, 100.0)};
    c.add("headbob-paces.svg", paces,
          "Cadence rises from walk to jog to sprint while the sprint bounce stays capped; after the stop the "
          "bob eases out into a slow breathing sway.");
}

inline void crouchTurnPlots(Context& c) {
    const Trace* t = c.trace("crouch");
    if (!t) return;
    double lookAt = t->markTime("look 30", 0.0);
    svg::Plot crouch{"Crouch drop", "time (s)", "centimetres", {}, t->marks()};
    crouch.series = {series(*t, "crouch_drop", "crouch drop", -1e9, lookAt, 100.0),
                     series(*t, "cam_z", "eye height - 1 m", -1e9, lookAt, 100.0)};
    for (double& y : crouch.series[1].y) y -= 100.0;
    c.add("crouch-drop.svg", crouch, "The eye eases down by CrouchLowerAmount (here 30 cm) and back up, never jumps.");
    svg::Plot turn{"Auto-turn: body heading against the view", "time (s)", "degrees", {}, t->marks()};
    turn.series = {series(*t, "gameplay_yaw", "view yaw", lookAt - 0.5), series(*t, "ped_heading", "body heading", lookAt - 0.5)};
    c.add("autoturn.svg", turn,
          "A 30 degree look leaves the body alone; at 80 degrees, past AutoTurnAngle (45), the body turns until the "
          "view is back within the angle, and stays there when the view returns.");
}

inline void weaponPlots(Context& c) {
    const Trace* t = c.trace("bodycam");
    if (!t) return;
    double burst = t->markTime("burst", 0.0), small = t->markTime("small turn", 0.0), back = t->markTime("back", 0.0);
    svg::Plot recoil{"Recoil kick and settle (rifle, bodycam on)", "time (s)", "degrees", {}, {}};
    recoil.series = {series(*t, "recoil_pitch", "pitch", burst - 0.2, small), series(*t, "recoil_yaw", "yaw", burst - 0.2, small),
                     series(*t, "recoil_roll", "roll", burst - 0.2, small)};
    recoil.markers = shotMarkers(*t, burst - 0.2, small);
    c.add("recoil.svg", recoil,
          "Each shot (dashed line) kicks the view up with a little yaw and roll; it settles back to zero between "
          "single shots and builds only a little through the burst.");
    svg::Plot follow{"Smoothed against gameplay yaw, with the deadzone", "time (s)", "degrees", {}, t->marks()};
    follow.series = {series(*t, "gameplay_yaw", "gameplay yaw", small - 0.3, back + 1.5),
                     series(*t, "smoothed_yaw", "camera yaw", small - 0.3, back + 1.5),
                     deadzoneEdge(*t, +1.0, small - 0.3, back + 1.5, "deadzone edges"),
                     deadzoneEdge(*t, -1.0, small - 0.3, back + 1.5, "")};
    c.add("deadzone.svg", follow,
          "A 6 degree turn stays inside the deadzone and the camera holds still; a 40 degree turn drags it along, "
          "lagging a little more while the turn is fast (smooth follow), and it comes to rest on the dashed edge.");
}

inline void aimingPlots(Context& c) {
    const Trace* t = c.trace("ads");
    if (!t) return;
    svg::Plot ads{"ADS zoom and the sniper hand-back", "time (s)", "degrees / percent", {}, t->marks()};
    ads.series = {series(*t, "fov", "FOV (degrees)"), series(*t, "ads_blend", "ADS blend (%)", -1e9, 1e9, 100.0),
                  series(*t, "blend", "plug-in view (%)", -1e9, 1e9, 100.0)};
    ads.series[2].dashed = true;
    c.add("ads.svg", ads,
          "A wheel notch while aiming eases the field of view down by ADSZoomAmount (30 here) and back; aiming the "
          "sniper rifle hands the screen to the game's scope (the dashed line drops) and takes it back after.");
}

inline void vehiclePlots(Context& c) {
    if (const Trace* t = c.trace("drive")) {
        svg::Plot drive{"Vehicle inertia: forward shift through brake, reverse and crash", "time (s)", "cm / m/s", {},
                        t->marks()};
        drive.series = {series(*t, "forward_shift", "forward shift (cm)", -1e9, 1e9, 100.0),
                        dashed(series(*t, "vehicle_speed", "speed (m/s)")),
                        series(*t, "crash_impulse", "crash impulse x100", -1e9, 1e9, 100.0)};
        c.add("vehicle-inertia.svg", drive,
              "The camera slides forward under hard braking, while reversing and most after the crash, then eases "
              "back to the seat; gentle acceleration leaves it in place.");
    }
    if (const Trace* t = c.trace("motorcycle")) {
        svg::Plot look{"Motorcycle free look", "time (s)", "degrees", {}, t->marks()};
        look.series = {series(*t, "look_yaw", "free-look yaw")};
        c.add("motorcycle-freelook.svg", look,
              "The look stick turns the head at a steady rate and it stays where it was left; NUMPAD0 recentres it.");
    }
}

inline void lifecyclePlots(Context& c) {
    if (const Trace* t = c.trace("death")) {
        svg::Plot death{"Death and respawn", "time (s)", "percent", {}, t->marks()};
        death.series = {series(*t, "blend", "plug-in view (%)", -1e9, 1e9, 100.0),
                        dashed(series(*t, "rendering", "rendering x100", -1e9, 1e9, 100.0))};
        c.add("death-respawn.svg", death,
              "On death the view eases over to the game's camera (half a second); after the respawn the plug-in's "
              "camera eases back in by itself, no key pressed. With SniperGameView on, both are cuts.");
    }
    if (const Trace* t = c.trace("menu")) {
        svg::Plot menu{"Menu tour: FOV edit, menu key rebind, Reset All", "time (s)", "value", {}, t->marks()};
        menu.series = {series(*t, "setting_fov", "FOV setting"), series(*t, "menu_key", "MenuKeyVK"),
                       dashed(series(*t, "menu", "menu open x100", -1e9, 1e9, 100.0))};
        c.add("menu-tour.svg", menu,
              "FOV steps up one degree per RIGHT and NUMPAD5 puts it back to 90; the menu key becomes F7 (118), "
              "closes the menu, and Reset All returns it to F6 (117).");
    }
}

// ---- screenshots ---------------------------------------------------------------

struct Caption {
    const char* file;
    const char* title;
    const char* lookFor;
};

constexpr Caption kScreenshotCaptions[] = {
    {"menu-sections.png", "Menu: the section list",
     "The sections with subtitles and row counts, and Reset All; the version badge is the release zip's version."},
    {"menu-onfoot.png", "Menu: the ON FOOT page", "The selected slider shows its bar with the default marked; values carry their units."},
    {"menu-bodycam.png", "Menu: BODYCAM with per-weapon recoil shown", "The seven per-weapon rows revealed, the page scrolled to keep the cursor in view."},
    {"menu-capture.png", "Menu: waiting for a new menu key", "The binding row asks for a key; ESCAPE cancels."},
    {"menu-reset.png", "Menu: the Reset All confirmation", "The dialog over the dimmed menu: ENTER confirms, BACKSPACE cancels."},
    {"menu-thanks.png", "Menu: SPECIAL THANKS", "The supporter card and the contributor names."},
    {"bodycam-burst.png", "Overlays: a machine-gun burst with tracers",
     "Tracers streak from the muzzle to where the shots land on the wall; the dot crosshair sits on the aim point."},
    {"bodycam-swing.png", "Overlays: the aim swinging ahead of the view",
     "The view lags the aim (smooth follow), so the dot leads it to the pillar while the tracers fly where the weapon "
     "points."},
};

inline Picture screenshotPicture(const std::string& file) {
    for (const Caption& c : kScreenshotCaptions)
        if (file == c.file) return {"shots/" + file, c.title, c.lookFor};
    std::string title = fs::path(file).stem().string();
    for (char& ch : title)
        if (ch == '-' || ch == '_') ch = ' ';
    return {"shots/" + file, title, "As drawn by the plug-in's own drawing calls, rasterised by the simulator."};
}

// Starts a program; with a log path, its output goes there. The process id,
// or -1 when it could not be started.
inline pid_t startProgram(const std::vector<std::string>& args, const fs::path& log = {}) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!log.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    std::vector<std::string> copies = args;
    std::vector<char*> argv;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned != 0 ? -1 : pid;
}

// Runs a program and waits for it; with a log path, its output goes there.
// Returns its exit status (128 + the signal when it crashed).
inline int runProgram(const std::vector<std::string>& args, const fs::path& log = {}) {
    const pid_t pid = startProgram(args, log);
    if (pid < 0) return 127;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs the screenshot tools built beside the demo, each into out/shots/.
inline void screenshots(const fs::path& binDir, const fs::path& out, Report& r) {
    fs::create_directories(out / "shots");
    for (const char* tool : {"menu_shots", "overlay_shots"}) {
        fs::path exe = binDir / tool;
        if (!fs::exists(exe)) {
            r.notes.push_back(std::string("No ") + tool + " in " + binDir.string() + ": its screenshots are missing.");
            continue;
        }
        if (runProgram({exe.string(), (out / "shots").string()}, out / "shots" / (std::string(tool) + ".log")) != 0)
            r.notes.push_back(std::string(tool) + " failed; see shots/" + tool + ".log");
    }
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(out / "shots"))
        if (e.path().extension() == ".png") files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        auto rank = [](const std::string& f) {
            for (size_t k = 0; k < std::size(kScreenshotCaptions); ++k)
                if (f == kScreenshotCaptions[k].file) return k;
            return std::size(kScreenshotCaptions);
        };
        return rank(a) != rank(b) ? rank(a) < rank(b) : a < b;
    });
    for (const std::string& f : files) r.screenshots.push_back(screenshotPicture(f));
}

inline Report build(const std::vector<SessionRun>& runs, const fs::path& out, const fs::path& binDir, bool full) {
    Report r;
    r.runs = runs;
    std::map<std::string, Trace> traces;
    for (const SessionRun& run : runs) {
        if (!traces[run.name].read(run.csv)) r.notes.push_back("No trace for " + run.name + ".");
    }
    if (!full) {
        for (const SessionRun& run : runs)
            if (!traces[run.name].rows.empty()) sessionPlots(run, traces[run.name], out, r);
        return r;
    }
    Context c{traces, out, r};
    headBobPlots(c);
    crouchTurnPlots(c);
    weaponPlots(c);
    aimingPlots(c);
    vehiclePlots(c);
    lifecyclePlots(c);
    screenshots(binDir, out, r);
    return r;
}

inline std::string html(const std::string& s) { return svg::escape(s); }

inline void writeIndex(const Report& r, const fs::path& out) {
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

// The report's sections: the plots drawn from the session traces, the
// screenshots, each session's clip beside the motion it adds, the comfort
// figures, the frame-rate comparison and the presets.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "tools/comfort.h"
#include "tools/demo_motion.h"
#include "tools/presets.h"
#include "tools/process.h"
#include "tools/report.h"
#include "tools/svg_plot.h"
#include "tools/trace_csv.h"

namespace report {

namespace fs = std::filesystem;
using motion::Channel;
using motion::RateDifference;
using motion::Stutter;

namespace {

constexpr PresetClip kPresetClips[] = {
    {"Comfort", "walk", 3.5, 8.5},     // walk, jog and into the sprint
    {"Bodycam", "bodycam", 1.3, 5.8},  // aim, the burst and the single shots
    {"Cinematic", "bodycam", 1.3, 5.8},
    {"Classic", "walk", 3.5, 8.5},
};

using FiguresBySession = std::map<std::string, comfort::Figures>;

// ---- the plots of one session, and of the full report ----------------------------

// The time window of a plot, between two marks (or the whole trace).
svg::Series series(const Trace& t, const std::string& column, const std::string& label, double from = -1e9,
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

// Generic plots of one session: where the camera is, where it looks, its zoom.
void sessionPlots(const SessionRun& run, const Trace& t, const fs::path& out, Report& r) {
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

svg::Series dashed(svg::Series s) {
    s.dashed = true;
    return s;
}

// gameplay yaw +- the deadzone angle: the edges the smoothed view may lag by.
svg::Series deadzoneEdge(const Trace& t, double sign, double from, double to, const std::string& label) {
    svg::Series s = series(t, "gameplay_yaw", label, from, to);
    svg::Series dz = series(t, "deadzone", "", from, to);
    for (size_t k = 0; k < s.y.size(); ++k) s.y[k] += sign * dz.y[k];
    s.dashed = true;
    s.colour = "#999999";
    return s;
}

std::vector<svg::Marker> shotMarkers(const Trace& t, double from, double to) {
    std::vector<svg::Marker> out;
    std::vector<double> time = t.column("time_s"), shot = t.column("shot");
    for (size_t k = 0; k < time.size(); ++k)
        if (shot[k] > 0.5 && time[k] >= from && time[k] <= to) out.push_back({time[k], ""});
    return out;
}

void headBobPlots(Context& c) {
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

void crouchTurnPlots(Context& c) {
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

void weaponPlots(Context& c) {
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

void aimingPlots(Context& c) {
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

void vehiclePlots(Context& c) {
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

void lifecyclePlots(Context& c) {
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

Picture screenshotPicture(const std::string& file) {
    for (const Caption& c : kScreenshotCaptions)
        if (file == c.file) return {"shots/" + file, c.title, c.lookFor};
    std::string title = fs::path(file).stem().string();
    for (char& ch : title)
        if (ch == '-' || ch == '_') ch = ' ';
    return {"shots/" + file, title, "As drawn by the plug-in's own drawing calls, rasterised by the simulator."};
}

// The screenshot tools and the sessions they play.
struct ShotTool {
    const char* tool;
    const char* session;
};
constexpr ShotTool kShotTools[] = {
    {"menu_shots", "sessions/shots/menu.zvs"},
    {"overlay_shots", "sessions/shots/overlays.zvs"},
};

// Runs the screenshot tools built beside the demo, each into out/shots/.
void screenshots(const fs::path& binDir, const fs::path& out, Report& r) {
    fs::create_directories(out / "shots");
    for (const ShotTool& t : kShotTools) {
        const std::string tool = t.tool;
        fs::path exe = binDir / tool;
        if (!fs::exists(exe)) {
            r.notes.push_back("No " + tool + " in " + binDir.string() + ": its screenshots are missing.");
            continue;
        }
        if (process::run({exe.string(), t.session, (out / "shots").string()}, out / "shots" / (tool + ".log")) != 0)
            r.notes.push_back(tool + " failed; see shots/" + tool + ".log");
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

// ---- comfort figures, and each session's clip beside the motion it adds ----------

// One figure of the table: its name, unit, and how to print it.
struct Column {
    const char* head;
    double (*value)(const comfort::Figures&);
    int decimals;
};

const std::vector<Column>& columns() {
    static const std::vector<Column> kColumns = {
        {"pitch °/s peak", [](const comfort::Figures& f) { return f.speedPeak[comfort::kPitch]; }, 1},
        {"pitch °/s RMS", [](const comfort::Figures& f) { return f.speedRms[comfort::kPitch]; }, 1},
        {"yaw °/s peak", [](const comfort::Figures& f) { return f.speedPeak[comfort::kYaw]; }, 1},
        {"yaw °/s RMS", [](const comfort::Figures& f) { return f.speedRms[comfort::kYaw]; }, 1},
        {"roll °/s peak", [](const comfort::Figures& f) { return f.speedPeak[comfort::kRoll]; }, 1},
        {"roll °/s RMS", [](const comfort::Figures& f) { return f.speedRms[comfort::kRoll]; }, 1},
        {"roll ° peak", [](const comfort::Figures& f) { return f.rollPeak; }, 2},
        {"roll ° RMS", [](const comfort::Figures& f) { return f.rollRms; }, 2},
        {"bob cm p-p", [](const comfort::Figures& f) { return f.bobPeakToPeakCm; }, 1},
        {"bob Hz", [](const comfort::Figures& f) { return f.bobHz; }, 2},
        {"jerk k°/s³ peak", [](const comfort::Figures& f) { return f.jerkPeak / 1000.0; }, 1},
        {"seat slide cm peak", [](const comfort::Figures& f) { return f.shiftPeakCm; }, 1},
    };
    return kColumns;
}

constexpr const char* kHowToRead =
    "How to read it: every figure is motion the camera makes on its own, on top of where the player looks; lower "
    "is calmer. Speeds are how fast the view turns by itself, roll is how far the horizon tilts, bob is the eye's "
    "up-and-down and how many times a second it repeats, a large jerk means a sudden lurch or stutter, and seat "
    "slide is how far the eye slides in a vehicle's seat (the inertia on braking and crashes). The "
    "small grey number under each figure is the same figure at the default settings.";

// A table of figures per session; with defaults, each figure carries the
// default's beside it.
std::string figuresTable(const std::vector<std::string>& sessions, const FiguresBySession& figures,
                         const FiguresBySession* defaults) {
    std::ostringstream h;
    h << "<div class=\"wide\"><table class=\"figures\"><tr><th>session</th>";
    for (const Column& c : columns()) h << "<th>" << c.head << "</th>";
    h << "</tr>\n";
    for (const std::string& s : sessions) {
        auto f = figures.find(s);
        if (f == figures.end()) continue;
        h << "<tr><td>" << html(s) << "</td>";
        for (const Column& c : columns()) {
            h << "<td>" << fixed(c.value(f->second), c.decimals);
            if (defaults && defaults->count(s)) {
                double d = c.value(defaults->at(s)), v = c.value(f->second);
                const char* cls = v > d * 1.05 + 1e-9 ? "more" : v < d * 0.95 - 1e-9 ? "less" : "same";
                h << "<span class=\"def " << cls << "\">" << fixed(d, c.decimals) << "</span>";
            }
            h << "</td>";
        }
        h << "</tr>\n";
    }
    h << "</table></div>\n";
    return h.str();
}

FiguresBySession figuresOf(const std::vector<std::string>& names, const fs::path& folder) {
    FiguresBySession out;
    for (const std::string& n : names)
        if (fs::exists(folder / (n + ".csv"))) out[n] = motion::figuresOf(folder / (n + ".csv"));
    return out;
}

std::string addedMotionPlot(const std::string& name, const Trace& t, const fs::path& out) {
    comfort::Motion m = motion::addedMotion(t);
    // height wobble: the eye's height less its one-second running mean.
    svg::Plot p{name + ": motion the camera adds", "time (s)", "degrees / cm", {}, t.marks()};
    svg::Series pitch{"pitch (°)", {}, {}, "", false}, yaw{"yaw (°)", {}, {}, "", false}, roll{"roll (°)", {}, {}, "", false},
        up{"height wobble (cm)", {}, {}, "", false};
    std::vector<double> bob = comfort::bobSignal(m);
    for (size_t k = 0; k < m.time.size(); ++k) {
        if (!m.counts[k]) continue;
        for (svg::Series* s : {&pitch, &yaw, &roll, &up}) s->x.push_back(m.time[k]);
        pitch.y.push_back(m.pitch[k]);
        yaw.y.push_back(m.yaw[k]);
        roll.y.push_back(m.roll[k]);
        up.y.push_back(std::isfinite(bob[k]) ? bob[k] * 100.0 : 0.0);
    }
    p.series = {pitch, yaw, roll, up};
    fs::create_directories(out / "plots");
    std::string file = "plots/" + name + "-added.svg";
    writeText(out / file, svg::render(p));
    return file;
}

// Each session's clip beside the motion it adds, with its comfort row.
std::string clipsSection(const std::vector<std::string>& names, const fs::path& out, const std::string& clipFolder,
                         const FiguresBySession& figures, const FiguresBySession& defaults,
                         const std::string& defaultClipFolder = "") {
    std::ostringstream h;
    for (const std::string& n : names) {
        Trace t;
        if (!t.read(out / "traces" / (n + ".csv"))) continue;
        std::string plot = addedMotionPlot(n, t, out);
        h << "<h3>" << html(n) << "</h3>\n<div class=\"clip\"><figure><img src=\"" << clipFolder << "/"
          << html(n) << ".webp\" alt=\"" << html(n) << " clip\"><figcaption>" << html(n)
          << " through the plug-in's camera, 30 frames a second.</figcaption></figure>\n";
        if (!defaultClipFolder.empty())
            h << "<figure><img src=\"" << defaultClipFolder << "/" << html(n) << ".webp\" alt=\"" << html(n)
              << " at the defaults\"><figcaption>The same session at the default settings.</figcaption></figure>\n";
        h << "<figure><img src=\"" << plot << "\" alt=\"added motion\"><figcaption>The motion the camera adds to the "
             "player's own look, on the frames where the plug-in's camera fills the screen.</figcaption></figure></div>\n";
        h << figuresTable({n}, figures, &defaults);
    }
    return h.str();
}

std::string comfortSection(const std::vector<std::string>& names, const FiguresBySession& figures,
                           const FiguresBySession& defaults) {
    std::ostringstream h;
    h << "<h2 id=\"comfort\">Comfort figures</h2>\n<p>" << kHowToRead << "</p>\n"
      << "<p>The sessions as written (each sets a few settings of its own) beside the same sessions at the plug-in's "
         "defaults. Bob is the eye's height less its one-second running mean; its frequency is the strongest between "
      << fixed(comfort::kBobMinHz, 1) << " and " << fixed(comfort::kBobMaxHz, 0) << " Hz.</p>\n"
      << figuresTable(names, figures, &defaults);
    return h.str();
}

// ---- frame rate ----------------------------------------------------------------

struct RateRow {
    const Channel* channel;
    std::string session;
    double fps;  // the run that differed most
    RateDifference diff;
    double relative() const { return diff.range > 0.0 ? diff.largest / diff.range : 0.0; }
};

using RateTraces = std::map<double, std::map<std::string, Trace>>;

// Reads traces/<kind><R>/<session>.csv for every rate.
RateTraces rateTraces(const fs::path& out, const std::vector<std::string>& sessions, const char* kind) {
    RateTraces traces;
    for (double fps : kFrameRates)
        for (const std::string& s : sessions) {
            Trace t;
            if (t.read(out / "traces" / (kind + fixed(fps, 0)) / (s + ".csv"))) traces[fps][s] = std::move(t);
        }
    return traces;
}

// The follow lag and the auto-turn step work per frame by design: how they
// come out at each frame rate.
std::string perFrameEffects(const RateTraces& traces) {
    std::ostringstream h;
    h << "<table><tr><th>per-frame effect</th>";
    for (double fps : kFrameRates) h << "<th>" << fixed(fps, 0) << " fps</th>";
    h << "</tr>\n";
    auto row = [&](const char* label, const char* session, double (*measure)(const Trace&)) {
        h << "<tr><td>" << label << "</td>";
        for (double fps : kFrameRates) {
            const Trace* t = nullptr;
            for (const auto& [name, trace] : traces.at(fps))
                if (name.find(session) != std::string::npos) t = &trace;
            h << "<td>" << (t ? fixed(measure(*t), 1) : std::string("-")) << "</td>";
        }
        h << "</tr>\n";
    };
    row("follow lag: largest lag in the 40° turn (°)", "bodycam", [](const Trace& t) {
        double from = t.markTime("big turn", 0.0), to = t.markTime("back", 1e9), lag = 0.0;
        std::vector<double> time = t.column("time_s"), v = motion::difference(t, "gameplay_yaw", "smoothed_yaw");
        for (size_t k = 0; k < time.size(); ++k)
            if (time[k] >= from && time[k] < to) lag = std::max(lag, std::fabs(v[k]));
        return lag;
    });
    row("follow lag: seconds for the camera to settle after the 40° turn", "bodycam", [](const Trace& t) {
        double from = t.markTime("big turn", 0.0), to = t.markTime("back", 1e9);
        std::vector<double> time = t.column("time_s"), cam = t.column("smoothed_yaw");
        double rest = NAN, settled = from;
        for (size_t k = 0; k < time.size(); ++k)
            if (time[k] < to) rest = cam[k];
        for (size_t k = 0; k < time.size(); ++k)
            if (time[k] >= from && time[k] < to && std::fabs(comfort::wrapDegrees(cam[k] - rest)) > 0.5) settled = time[k];
        return settled - from;
    });
    row("auto-turn: the body's fastest turn (°/s)", "crouch", [](const Trace& t) {
        std::vector<double> time = t.column("time_s"), heading = t.column("ped_heading");
        double fastest = 0.0;
        for (size_t k = 1; k < time.size(); ++k)
            if (time[k] > time[k - 1])
                fastest = std::max(fastest, std::fabs(comfort::wrapDegrees(heading[k] - heading[k - 1])) / (time[k] - time[k - 1]));
        return fastest;
    });
    row("auto-turn: seconds the body takes to catch up after the 80° look", "crouch", [](const Trace& t) {
        double from = t.markTime("look 80", 0.0), to = t.markTime("look back", 1e9), last = from;
        std::vector<double> time = t.column("time_s"), heading = t.column("ped_heading");
        for (size_t k = 1; k < time.size(); ++k)
            if (time[k] >= from && time[k] < to && std::fabs(comfort::wrapDegrees(heading[k] - heading[k - 1])) > 1e-3)
                last = time[k];
        return last - from;
    });
    h << "</table>\n";
    return h.str();
}

// Before and after the clock mend, at each rate: per eased channel, the share
// of frames that stood still and the largest step against the ideal clock's.
std::string stutterTable(const RateTraces& before, const RateTraces& after, const RateTraces& ideal,
                         const std::vector<std::string>& sessions) {
    std::ostringstream h;
    h << "<table><tr><th rowspan=\"2\">eased channel</th>";
    for (double fps : kFrameRates) h << "<th colspan=\"2\">" << fixed(fps, 0) << " fps: stood still</th>";
    for (double fps : kFrameRates) h << "<th colspan=\"2\">" << fixed(fps, 0) << " fps: largest step</th>";
    h << "</tr>\n<tr>";
    for (size_t k = 0; k < 2 * std::size(kFrameRates); ++k) h << "<th>before</th><th>after</th>";
    h << "</tr>\n";
    for (const Channel& c : motion::easedChannels()) {
        std::map<double, Stutter> was, is;
        for (double fps : kFrameRates)
            for (const std::string& s : sessions) {
                if (!ideal.count(fps) || !ideal.at(fps).count(s)) continue;
                const Trace& reference = ideal.at(fps).at(s);
                if (before.count(fps) && before.at(fps).count(s)) motion::addStutter(was[fps], before.at(fps).at(s), reference, c);
                if (after.count(fps) && after.at(fps).count(s)) motion::addStutter(is[fps], after.at(fps).at(s), reference, c);
            }
        if (is[kReferenceRate].shouldMove == 0) continue;  // never moves in any session
        h << "<tr><td>" << c.name << "</td>";
        for (double fps : kFrameRates)
            h << "<td>" << fixed(100.0 * was[fps].stillShare(), 0) << " %</td><td>" << fixed(100.0 * is[fps].stillShare(), 0)
              << " %</td>";
        for (double fps : kFrameRates)
            h << "<td>" << fixed(was[fps].stepRatio(), 2) << "×</td><td>" << fixed(is[fps].stepRatio(), 2) << "×</td>";
        h << "</tr>\n";
    }
    h << "</table>\n";
    return h.str();
}

std::string frameRateSection(const fs::path& out, const std::vector<std::string>& sessions) {
    auto traces = rateTraces(out, sessions, kWindowsTickRuns);
    auto ideal = rateTraces(out, sessions, kIdealClockRuns);
    auto before = rateTraces(out, sessions, kTickClockRuns);
    std::ostringstream h;
    h << "<h2 id=\"frame-rate\">Frame rate, on Windows' tick</h2>\n<p>Every session played again at 60, 144 and 240 "
         "frames a second on a player's Windows as it really is: <code>GetTickCount</code> moves only at the system "
         "timer's interrupt, in steps of 15.625 ms (15 or 16 ms at a time), whatever the frame rate, while the "
         "high-resolution counter moves with every frame. The plug-in takes its frame times from the counter.</p>\n";
    if (traces.size() != std::size(kFrameRates) || ideal.size() != std::size(kFrameRates) ||
        before.size() != std::size(kFrameRates)) {
        h << "<p class=\"bad\">Frame-rate traces are missing.</p>\n";
        return h.str();
    }
    h << "<h3>Motion on every frame</h3>\n<p>For each motion the plug-in eases by the frame's time: the share of "
         "frames on which it <b>stood still</b> where the same session on an ideal clock moved it, and its "
         "<b>largest step</b> in one frame against the ideal clock's largest. <b>Before</b> is the plug-in with its "
         "old clock, GetTickCount itself (a build of the same sources, <code>zv_demo_tickclock</code>); "
         "<b>after</b> is this one. Before, at 144 and 240 fps most frames saw no time pass and stood still, and the "
         "rest jumped by a whole timer step; at 60 fps, one frame in about fifteen saw two steps at once.</p>\n"
      << stutterTable(before, traces, ideal, sessions);

    std::vector<RateRow> rows;
    for (const Channel& c : motion::channels()) {
        RateRow best{&c, "", 0.0, {}};
        double range = 0.0;  // the channel's largest magnitude in any session at the reference rate
        for (const std::string& s : sessions) {
            if (!traces[kReferenceRate].count(s)) continue;
            for (double fps : kFrameRates) {
                if (fps == kReferenceRate || !traces[fps].count(s)) continue;
                RateDifference d = motion::compare(traces[kReferenceRate][s], traces[fps][s], c, 1.0 / std::min(fps, kReferenceRate));
                range = std::max(range, d.range);
                if (best.session.empty() || d.largest > best.diff.largest) best = {&c, s, fps, d};
            }
        }
        best.diff.range = range;
        if (!best.session.empty() && range > 0.0) rows.push_back(best);
    }
    std::sort(rows.begin(), rows.end(), [](const RateRow& a, const RateRow& b) { return a.relative() > b.relative(); });
    h << "<h3>The same motion at each frame rate</h3>\n<p>For each motion channel, the largest difference of the 144 "
         "and 240 fps runs from the 60 fps run, over all sessions, with the runs lined up step by step and an event "
         "allowed to land one frame later. Relative is that difference against the channel's largest value in any "
         "session at 60 fps.</p>\n";
    h << "<table><tr><th>channel</th><th>largest difference</th><th>relative</th><th>at</th><th>session</th><th>time</th></tr>\n";
    for (const RateRow& r : rows)
        h << "<tr><td>" << r.channel->name << "</td><td>" << fixed(r.diff.largest, 2) << " " << r.channel->unit << "</td><td>"
          << fixed(100.0 * r.relative(), 1) << " %</td><td>" << fixed(r.fps, 0) << " fps</td><td>" << html(r.session)
          << "</td><td>" << fixed(r.diff.when, 2) << " s</td></tr>\n";
    h << "</table>\n";
    // The two channels that differ most, at all three rates around the difference.
    for (size_t k = 0; k < rows.size() && k < 2; ++k) {
        const RateRow& r = rows[k];
        double from = std::max(0.0, r.diff.when - 1.5), to = r.diff.when + 1.5;
        svg::Plot p{std::string(r.channel->name) + " at 60, 144 and 240 fps (" + r.session + ")", "time (s)",
                    r.channel->unit, {}, {}};
        for (double fps : kFrameRates) {
            const Trace& t = traces[fps][r.session];
            std::vector<double> time = t.column("time_s"), v = r.channel->read(t);
            svg::Series s{fixed(fps, 0) + " fps", {}, {}, "", fps == kReferenceRate};
            for (size_t i = 0; i < time.size(); ++i)
                if (time[i] >= from && time[i] <= to) s.x.push_back(time[i]), s.y.push_back(v[i]);
            p.series.push_back(s);
        }
        std::string file = "plots/framerate-" + std::to_string(k + 1) + ".svg";
        writeText(out / file, svg::render(p));
        h << "<figure><img src=\"" << file << "\" alt=\"" << html(p.title) << "\"><figcaption><b>"
          << html(p.title) << "</b>The 60 fps run is dashed; where the lines part, a player at that frame rate "
             "sees a different motion.</figcaption></figure>\n";
    }
    h << "<h3>The per-frame effects</h3>\n<p>The follow lag and the auto-turn step advance once per frame by design; "
         "here is what that makes of them at each frame rate.</p>\n"
      << perFrameEffects(traces);
    std::vector<std::string> felt;
    for (const RateRow& r : rows)
        if (r.relative() > 0.10) felt.push_back(r.channel->name);
    h << "<p><b>What a player feels differently at their frame rate:</b> ";
    if (felt.empty()) {
        h << "nothing measurable: every channel stays within 10 % of the 60 fps run.";
    } else {
        for (size_t k = 0; k < felt.size(); ++k) h << (k ? (k + 1 == felt.size() ? " and " : ", ") : "") << felt[k];
        h << " differ by more than 10 % of their size between 60, 144 and 240 fps; every other channel stays within "
             "10 %, so it feels the same at any frame rate.";
    }
    h << "</p>\n";
    return h.str();
}

// ---- presets -------------------------------------------------------------------

// The keys where a settings file differs from another, "Key=value" each.
std::vector<std::string> differingKeys(const fs::path& file, const fs::path& base) {
    auto read = [](const fs::path& p) {
        std::map<std::string, std::string> values;
        std::ifstream in(p);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            size_t eq = line.find('=');
            if (eq != std::string::npos && line[0] != ';') values[line.substr(0, eq)] = line.substr(eq + 1);
        }
        return values;
    };
    std::map<std::string, std::string> a = read(file), b = read(base);
    std::vector<std::string> out;
    for (const auto& [key, value] : a)
        if (!b.count(key) || b[key] != value) out.push_back(key + "=" + value);
    return out;
}

std::string presetsSection(const std::vector<std::string>& names, const fs::path& out, const FiguresBySession& defaults) {
    std::ostringstream h;
    h << "<h2 id=\"presets\">Presets</h2>\n<p>Four complete <code>Zentravisor.ini</code> files in the zip's "
         "<code>presets/</code> folder. To use one, copy it over <code>Zentravisor.ini</code> in the game folder "
         "while the game is closed, or start from it and change it further in the menu. Each played every session "
         "with the sessions' own settings lines ignored; figures beside the defaults' (green: calmer, orange: more "
         "motion).</p>\n";
    for (const presets::Preset& p : presets::all()) {
        std::string dir = std::string(kPresetRuns) + "/" + p.name;
        const PresetClip* clip = presetClip(p.name);
        h << "<h3>" << p.name << "</h3>\n<p>" << p.what << " <a href=\"presets/" << p.name << ".ini\">" << p.name
          << ".ini</a></p>\n";
        std::vector<std::string> changes = differingKeys(out / kPresetRuns / (std::string(p.name) + ".ini"),
                                                          out / kPresetRuns / "Classic.ini");
        if (!changes.empty()) {
            h << "<p>Changed from Classic: ";
            for (size_t k = 0; k < changes.size(); ++k) h << (k ? ", " : "") << "<code>" << html(changes[k]) << "</code>";
            h << "</p>\n";
        }
        std::string session;
        for (const std::string& n : names)
            if (clip && n.find(clip->session) != std::string::npos) session = n;
        h << "<div class=\"clip\"><figure><img src=\"clips/presets/" << p.name << ".webp\" alt=\"" << p.name
          << " clip\"><figcaption>" << p.name << ": part of " << html(session) << ".</figcaption></figure></div>\n";
        h << figuresTable(names, figuresOf(names, out / "traces" / dir), &defaults);
    }
    return h.str();
}

}  // namespace

std::string fixed(double v, int decimals) {
    char b[32];
    std::snprintf(b, sizeof b, "%.*f", decimals, std::fabs(v) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : v);
    return b;
}

const PresetClip* presetClip(const std::string& preset) {
    for (const PresetClip& c : kPresetClips)
        if (preset == c.preset) return &c;
    return nullptr;
}

Report build(const std::vector<SessionRun>& runs, const fs::path& out, const fs::path& binDir, bool full) {
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

std::string fullMotionSections(const std::vector<std::string>& sessions, const fs::path& out, const RunSummary& summary) {
    const FiguresBySession figures = figuresOf(sessions, out / "traces");
    const FiguresBySession defaults = figuresOf(sessions, out / "traces" / kDefaultsRuns);
    char line[256];
    std::snprintf(line, sizeof line, "%zu session runs (%zu clips, %.1f MB) in %.1f s on %u cores.", summary.runs,
                  summary.clips, summary.clipBytes / 1e6, summary.seconds, summary.cores);
    std::ostringstream h;
    h << "<h2 id=\"clips\">The sessions in motion</h2>\n<p>Each session through the plug-in's camera as the simulator "
         "draws it: the street's grid, posts and walls, the crosshair, tracers and menu as the plug-in drew them. "
      << line << "</p>\n"
      << clipsSection(sessions, out, "clips", figures, defaults) << comfortSection(sessions, figures, defaults)
      << frameRateSection(out, sessions) << presetsSection(sessions, out, defaults);
    return h.str();
}

std::string oneSessionSections(const std::vector<std::string>& sessions, const fs::path& out) {
    const FiguresBySession figures = figuresOf(sessions, out / "traces");
    const FiguresBySession defaults = figuresOf(sessions, out / "traces" / kDefaultsRuns);
    return "<h2 id=\"clips\">In motion</h2>\n<p>" + std::string(kHowToRead) + "</p>\n" +
           clipsSection(sessions, out, "clips", figures, defaults);
}

std::string settingsFileSections(const std::string& iniName, const std::vector<std::string>& sessions, const fs::path& out) {
    const FiguresBySession figures = figuresOf(sessions, out / "traces");
    const FiguresBySession defaults = figuresOf(sessions, out / "traces" / kDefaultsRuns);
    std::ostringstream h;
    h << "<h2 id=\"comfort\">Your settings: " << html(iniName) << "</h2>\n<p>Every bundled "
         "session played with this file (the sessions' own settings lines ignored), beside the same sessions at the "
         "defaults. "
      << kHowToRead << "</p>\n"
      << figuresTable(sessions, figures, &defaults) << "<h2 id=\"clips\">Clips: yours, then the defaults</h2>\n"
      << clipsSection(sessions, out, "clips", figures, defaults, kDefaultsClips);
    return h.str();
}

}  // namespace report

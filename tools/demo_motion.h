// The report's motion sections: each session's clip beside its added motion,
// the comfort figures against the defaults, the frame-rate comparison and the
// presets. Everything here reads the traces the session runs wrote.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/comfort.h"
#include "tools/demo_report.h"
#include "tools/svg_plot.h"

namespace motion {

namespace fs = std::filesystem;
using report::Trace;

constexpr double kFullBlend = 0.999;  // the plug-in's camera fills the screen

// Added = the rendered camera minus the game's own camera.
inline comfort::Motion addedMotion(const Trace& t) {
    comfort::Motion m;
    m.time = t.column("time_s");
    std::vector<double> pitch = t.column("pitch"), yaw = t.column("yaw"), roll = t.column("roll"), z = t.column("cam_z"),
                        x = t.column("cam_x"), y = t.column("cam_y"), gx = t.column("game_x"), gy2 = t.column("game_y");
    std::vector<double> gp = t.column("gameplay_pitch"), gy = t.column("gameplay_yaw"), gr = t.column("gameplay_roll"),
                        gz = t.column("game_z"), blend = t.column("blend"), rendering = t.column("rendering"),
                        moveRatio = t.column("move_ratio");
    for (size_t k = 0; k < m.time.size(); ++k) {
        m.pitch.push_back(comfort::wrapDegrees(pitch[k] - gp[k]));
        m.yaw.push_back(comfort::wrapDegrees(yaw[k] - gy[k]));
        m.roll.push_back(comfort::wrapDegrees(roll[k] - gr[k]));
        m.up.push_back(z[k] - gz[k]);
        m.east.push_back(x[k] - gx[k]);
        m.north.push_back(y[k] - gy2[k]);
        m.counts.push_back(rendering[k] > 0.5 && blend[k] >= kFullBlend);
        std::string mode = t.text(k, "mode");
        m.moving.push_back(moveRatio[k] > 0.0 && mode == "on-foot");
        m.seated.push_back(mode == "vehicle" || mode == "two-wheeler");
    }
    return m;
}

inline comfort::Figures figuresOf(const fs::path& csv) {
    Trace t;
    if (!t.read(csv)) return {};
    return comfort::analyse(addedMotion(t));
}

inline std::string fixed(double v, int decimals) {
    char b[32];
    std::snprintf(b, sizeof b, "%.*f", decimals, std::fabs(v) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : v);
    return b;
}

// One figure of the table: its name, unit, and how to print it.
struct Column {
    const char* head;
    double (*value)(const comfort::Figures&);
    int decimals;
};

inline const std::vector<Column>& columns() {
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
inline std::string figuresTable(const std::vector<std::string>& sessions, const std::map<std::string, comfort::Figures>& figures,
                                const std::map<std::string, comfort::Figures>* defaults) {
    std::ostringstream h;
    h << "<div class=\"wide\"><table class=\"figures\"><tr><th>session</th>";
    for (const Column& c : columns()) h << "<th>" << c.head << "</th>";
    h << "</tr>\n";
    for (const std::string& s : sessions) {
        auto f = figures.find(s);
        if (f == figures.end()) continue;
        h << "<tr><td>" << report::html(s) << "</td>";
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

// ---- each session's added motion, beside its clip --------------------------------

inline std::string addedMotionPlot(const std::string& name, const Trace& t, const fs::path& out) {
    comfort::Motion m = addedMotion(t);
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
    report::writeText(out / file, svg::render(p));
    return file;
}

// ---- frame rate ----------------------------------------------------------------

// Every session is played at these rates on Windows' tick (GetTickCount in
// 15.625 ms steps, as a player's machine has it), on an ideal clock, and with
// the plug-in's old clock, GetTickCount itself, on Windows' tick.
constexpr double kFrameRates[] = {60.0, 144.0, 240.0};
constexpr double kReferenceRate = 60.0;
constexpr const char* kWindowsTickRuns = "fps";      // traces/fps144/...
constexpr const char* kIdealClockRuns = "ideal";     // traces/ideal144/...
constexpr const char* kTickClockRuns = "tickclock";  // traces/tickclock144/...

// A motion channel of the trace, in the unit the report prints.
struct Channel {
    const char* name;
    const char* unit;
    std::vector<double> (*read)(const Trace&);
    bool angle;  // differences wrap at 360
};

inline std::vector<double> scaled(const Trace& t, const char* column, double scale) {
    std::vector<double> v = t.column(column);
    for (double& x : v) x *= scale;
    return v;
}

inline std::vector<double> difference(const Trace& t, const char* a, const char* b) {
    std::vector<double> x = t.column(a), y = t.column(b);
    for (size_t k = 0; k < x.size(); ++k) x[k] = comfort::wrapDegrees(x[k] - y[k]);
    return x;
}

inline const std::vector<Channel>& channels() {
    static const std::vector<Channel> kChannels = {
        {"head bob vertical", "cm", [](const Trace& t) { return scaled(t, "bob_vertical", 100.0); }, false},
        {"head bob lateral", "cm", [](const Trace& t) { return scaled(t, "bob_lateral", 100.0); }, false},
        {"head bob pitch", "°", [](const Trace& t) { return t.column("bob_pitch"); }, true},
        {"head bob yaw", "°", [](const Trace& t) { return t.column("bob_yaw"); }, true},
        {"head bob roll", "°", [](const Trace& t) { return t.column("bob_roll"); }, true},
        {"recoil pitch", "°", [](const Trace& t) { return t.column("recoil_pitch"); }, true},
        {"recoil yaw", "°", [](const Trace& t) { return t.column("recoil_yaw"); }, true},
        {"recoil roll", "°", [](const Trace& t) { return t.column("recoil_roll"); }, true},
        {"follow lag (aim minus camera yaw)", "°", [](const Trace& t) { return difference(t, "gameplay_yaw", "smoothed_yaw"); }, true},
        {"auto-turn (body heading)", "°", [](const Trace& t) { return t.column("ped_heading"); }, true},
        {"ADS blend", "%", [](const Trace& t) { return scaled(t, "ads_blend", 100.0); }, false},
        {"crouch drop", "cm", [](const Trace& t) { return scaled(t, "crouch_drop", 100.0); }, false},
        {"vehicle forward shift", "cm", [](const Trace& t) { return scaled(t, "forward_shift", 100.0); }, false},
        {"vehicle look yaw", "°", [](const Trace& t) { return t.column("look_yaw"); }, true},
        {"camera/game blend", "%", [](const Trace& t) { return scaled(t, "blend", 100.0); }, false},
        {"field of view", "°", [](const Trace& t) { return t.column("fov"); }, false},
    };
    return kChannels;
}

// value of a sampled channel at time x, linear between samples.
inline double at(const std::vector<double>& time, const std::vector<double>& v, double x, bool angle) {
    if (time.empty()) return NAN;
    if (x <= time.front()) return v.front();
    if (x >= time.back()) return v.back();
    size_t k = std::upper_bound(time.begin(), time.end(), x) - time.begin();
    double a = v[k - 1], b = v[k], u = (x - time[k - 1]) / (time[k] - time[k - 1]);
    double d = angle ? comfort::wrapDegrees(b - a) : b - a;
    return a + d * u;
}

struct RateDifference {
    double largest = 0.0;  // in the channel's unit
    double when = 0.0;     // seconds into the session
    double range = 0.0;    // the channel's largest magnitude at 60 fps
};

// When each step of the session started, by its line.
inline std::map<int, double> stepStarts(const Trace& t) {
    std::map<int, double> starts;
    std::vector<double> time = t.column("time_s"), line = t.column("line");
    for (size_t k = 0; k < time.size(); ++k)
        if (std::isfinite(line[k]) && !starts.count(int(line[k]))) starts[int(line[k])] = time[k];
    return starts;
}

// The largest difference of one run from the reference. A step with a
// duration runs whole frames until its time has passed, so at another frame
// rate each step starts a little earlier or later; the runs are lined up step
// by step, and either may land an event up to one of its frames later: a step
// that starts on the next frame is the frame clock, not the effect.
inline RateDifference compare(const Trace& reference, const Trace& other, const Channel& c, double slack) {
    RateDifference r;
    std::vector<double> t0 = reference.column("time_s"), v0 = c.read(reference), line0 = reference.column("line");
    std::vector<double> t1 = other.column("time_s"), v1 = c.read(other);
    std::map<int, double> starts0 = stepStarts(reference), starts1 = stepStarts(other);
    for (size_t k = 0; k < t0.size(); ++k) {
        if (!std::isfinite(v0[k])) continue;
        r.range = std::max(r.range, std::fabs(v0[k]));
        double x = t0[k];
        if (std::isfinite(line0[k]) && starts1.count(int(line0[k]))) x = starts1[int(line0[k])] + (t0[k] - starts0[int(line0[k])]);
        double best = INFINITY;
        for (int s = -4; s <= 4; ++s) {
            double d = v0[k] - at(t1, v1, x + slack * s / 4.0, c.angle);
            if (c.angle) d = comfort::wrapDegrees(d);
            best = std::min(best, std::fabs(d));
        }
        if (best > r.largest) r.largest = best, r.when = t0[k];
    }
    return r;
}

struct RateRow {
    const Channel* channel;
    std::string session;
    double fps;  // the run that differed most
    RateDifference diff;
    double relative() const { return diff.range > 0.0 ? diff.largest / diff.range : 0.0; }
};

using RateTraces = std::map<double, std::map<std::string, Trace>>;

// Reads traces/<kind><R>/<session>.csv for every rate.
inline RateTraces rateTraces(const fs::path& out, const std::vector<std::string>& sessions, const char* kind) {
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
inline std::string perFrameEffects(const RateTraces& traces) {
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
        std::vector<double> time = t.column("time_s"), v = difference(t, "gameplay_yaw", "smoothed_yaw");
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

// ---- frame times on Windows' tick ------------------------------------------------

// The channels whose motion is eased by the frame's time: each frame should
// move them by that frame's length.
inline const std::vector<Channel>& easedChannels() {
    static const std::vector<Channel> kEased = [] {
        std::vector<Channel> eased;
        for (const Channel& c : channels()) {
            const std::string name = c.name;
            if (name.rfind("head bob", 0) == 0 || name.rfind("recoil", 0) == 0 || name == "ADS blend" ||
                name == "crouch drop" || name == "vehicle forward shift")
                eased.push_back(c);
        }
        eased.push_back({"3D hand, side", "cm", [](const Trace& t) { return scaled(t, "hand_side", 100.0); }, false});
        eased.push_back({"3D hand, height", "cm", [](const Trace& t) { return scaled(t, "hand_up", 100.0); }, false});
        eased.push_back({"menu open/close", "%", [](const Trace& t) { return scaled(t, "menu_progress", 100.0); }, false});
        return eased;
    }();
    return kEased;
}

// How a channel moves frame by frame in a run, against the same frames on an
// ideal clock: the frames on which it stood still where it should have moved,
// and its largest one-frame step.
struct Stutter {
    size_t shouldMove = 0;  // frames on which the ideal clock's run moved
    size_t stoodStill = 0;  // ... and this run did not
    double largestStep = 0.0, idealLargestStep = 0.0;
    double stillShare() const { return shouldMove ? double(stoodStill) / double(shouldMove) : 0.0; }
    double stepRatio() const { return idealLargestStep > 0.0 ? largestStep / idealLargestStep : 1.0; }
};

constexpr double kMovedAtLeast = 0.002;  // in the channel's unit: a few of the trace's last digits

// The runs are the same frames of the same world (only the clock the plug-in
// reads differs), so they line up frame by frame.
inline void addStutter(Stutter& out, const Trace& run, const Trace& ideal, const Channel& c) {
    std::vector<double> v = c.read(run), w = c.read(ideal);
    const size_t n = std::min(v.size(), w.size());
    for (size_t k = 1; k < n; ++k) {
        if (!std::isfinite(v[k]) || !std::isfinite(v[k - 1]) || !std::isfinite(w[k]) || !std::isfinite(w[k - 1])) continue;
        double step = v[k] - v[k - 1], idealStep = w[k] - w[k - 1];
        if (c.angle) step = comfort::wrapDegrees(step), idealStep = comfort::wrapDegrees(idealStep);
        if (std::fabs(idealStep) >= kMovedAtLeast) {
            ++out.shouldMove;
            if (step == 0.0) ++out.stoodStill;
        }
        out.largestStep = std::max(out.largestStep, std::fabs(step));
        out.idealLargestStep = std::max(out.idealLargestStep, std::fabs(idealStep));
    }
}

// Before and after the clock mend, at each rate: per eased channel, the share
// of frames that stood still and the largest step against the ideal clock's.
inline std::string stutterTable(const RateTraces& before, const RateTraces& after, const RateTraces& ideal,
                                const std::vector<std::string>& sessions) {
    std::ostringstream h;
    h << "<table><tr><th rowspan=\"2\">eased channel</th>";
    for (double fps : kFrameRates) h << "<th colspan=\"2\">" << fixed(fps, 0) << " fps: stood still</th>";
    for (double fps : kFrameRates) h << "<th colspan=\"2\">" << fixed(fps, 0) << " fps: largest step</th>";
    h << "</tr>\n<tr>";
    for (size_t k = 0; k < 2 * std::size(kFrameRates); ++k) h << "<th>before</th><th>after</th>";
    h << "</tr>\n";
    for (const Channel& c : easedChannels()) {
        std::map<double, Stutter> was, is;
        for (double fps : kFrameRates)
            for (const std::string& s : sessions) {
                if (!ideal.count(fps) || !ideal.at(fps).count(s)) continue;
                const Trace& reference = ideal.at(fps).at(s);
                if (before.count(fps) && before.at(fps).count(s)) addStutter(was[fps], before.at(fps).at(s), reference, c);
                if (after.count(fps) && after.at(fps).count(s)) addStutter(is[fps], after.at(fps).at(s), reference, c);
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

inline std::string frameRateSection(const fs::path& out, const std::vector<std::string>& sessions) {
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
    for (const Channel& c : channels()) {
        RateRow best{&c, "", 0.0, {}};
        double range = 0.0;  // the channel's largest magnitude in any session at the reference rate
        for (const std::string& s : sessions) {
            if (!traces[kReferenceRate].count(s)) continue;
            for (double fps : kFrameRates) {
                if (fps == kReferenceRate || !traces[fps].count(s)) continue;
                RateDifference d = compare(traces[kReferenceRate][s], traces[fps][s], c, 1.0 / std::min(fps, kReferenceRate));
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
          << fixed(100.0 * r.relative(), 1) << " %</td><td>" << fixed(r.fps, 0) << " fps</td><td>" << report::html(r.session)
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
        report::writeText(out / file, svg::render(p));
        h << "<figure><img src=\"" << file << "\" alt=\"" << report::html(p.title) << "\"><figcaption><b>"
          << report::html(p.title) << "</b>The 60 fps run is dashed; where the lines part, a player at that frame rate "
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

// ---- presets ---------------------------------------------------------------------

// The session each preset's clip shows (a part of its name), and which part of it.
struct PresetClip {
    const char* preset;
    const char* session;
    double from, to;  // seconds into the session
};
constexpr PresetClip kPresetClips[] = {
    {"Comfort", "walk", 3.5, 8.5},  // walk, jog and into the sprint
    {"Bodycam", "bodycam", 1.3, 5.8},  // aim, the burst and the single shots
    {"Cinematic", "bodycam", 1.3, 5.8},
    {"Classic", "walk", 3.5, 8.5},
};

// The keys where a settings file differs from another, "Key=value" each.
inline std::vector<std::string> differingKeys(const fs::path& file, const fs::path& base) {
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

}  // namespace motion

#include "tools/demo_motion.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace motion {

namespace {

constexpr double kFullBlend = 0.999;  // the plug-in's camera fills the screen

std::vector<double> scaled(const Trace& t, const char* column, double scale) {
    std::vector<double> v = t.column(column);
    for (double& x : v) x *= scale;
    return v;
}

// value of a sampled channel at time x, linear between samples.
double at(const std::vector<double>& time, const std::vector<double>& v, double x, bool angle) {
    if (time.empty()) return NAN;
    if (x <= time.front()) return v.front();
    if (x >= time.back()) return v.back();
    size_t k = std::upper_bound(time.begin(), time.end(), x) - time.begin();
    double a = v[k - 1], b = v[k], u = (x - time[k - 1]) / (time[k] - time[k - 1]);
    double d = angle ? comfort::wrapDegrees(b - a) : b - a;
    return a + d * u;
}

// When each step of the session started, by its line.
std::map<int, double> stepStarts(const Trace& t) {
    std::map<int, double> starts;
    std::vector<double> time = t.column("time_s"), line = t.column("line");
    for (size_t k = 0; k < time.size(); ++k)
        if (std::isfinite(line[k]) && !starts.count(int(line[k]))) starts[int(line[k])] = time[k];
    return starts;
}

constexpr double kMovedAtLeast = 0.002;  // in the channel's unit: a few of the trace's last digits

}  // namespace

comfort::Motion addedMotion(const Trace& t) {
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

comfort::Figures figuresOf(const std::filesystem::path& csv) {
    Trace t;
    if (!t.read(csv)) return {};
    return comfort::analyse(addedMotion(t));
}

std::vector<double> difference(const Trace& t, const char* a, const char* b) {
    std::vector<double> x = t.column(a), y = t.column(b);
    for (size_t k = 0; k < x.size(); ++k) x[k] = comfort::wrapDegrees(x[k] - y[k]);
    return x;
}

const std::vector<Channel>& channels() {
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

const std::vector<Channel>& easedChannels() {
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

RateDifference compare(const Trace& reference, const Trace& other, const Channel& c, double slack) {
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

double Stutter::stillShare() const { return shouldMove ? double(stoodStill) / double(shouldMove) : 0.0; }

double Stutter::stepRatio() const { return idealLargestStep > 0.0 ? largestStep / idealLargestStep : 1.0; }

void addStutter(Stutter& out, const Trace& run, const Trace& ideal, const Channel& c) {
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

}  // namespace motion

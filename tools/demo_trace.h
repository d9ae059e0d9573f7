// The per-frame trace of a play session: what was rendered, frame by frame,
// as CSV. One row per frame; the columns are a table, so a new channel is one
// line.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "camera/camera.h"
#include "runtime/runtime.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/vehicles.h"

namespace trace {

// The scripted camera's pose as the plug-in last set it.
struct Pose {
    double x = 0, y = 0, z = 0, pitch = 0, roll = 0, yaw = 0, fov = 0;
};

inline Pose& lastPose() {
    static Pose pose;
    return pose;
}

inline void readPose() {
    Pose& p = lastPose();
    for (const sim::CallRecord* c : sim::frameCalls(0x4D41783FB745E42E))  // SET_CAM_COORD
        p.x = c->f(1), p.y = c->f(2), p.z = c->f(3);
    for (const sim::CallRecord* c : sim::frameCalls(0x85973643155D0B07))  // SET_CAM_ROT
        p.pitch = c->f(1), p.roll = c->f(2), p.yaw = c->f(3);
    for (const sim::CallRecord* c : sim::frameCalls(0xB13C14F66A00D047))  // SET_CAM_FOV
        p.fov = c->f(1);
}

// Which camera the player sees.
inline const char* activeMode() {
    if (!cameraRendering) return "game";
    if (sim::player.vehicle == 0) return "on-foot";
    int cls = sim::vehicles[sim::player.vehicle].vehicleClass;
    return cls == 8 || cls == 13 ? "two-wheeler" : "vehicle";
}

struct Column {
    const char* name;
    std::string (*sample)();
};

inline std::string fmt(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.5f", v);
    return b;
}

inline const std::vector<Column>& columns() {
    static const std::vector<Column> kColumns = {
        {"tick", [] { return std::to_string(sim::now()); }},
        {"rendering", [] { return std::string(cameraRendering ? "1" : "0"); }},
        {"mode", [] { return std::string(activeMode()); }},
        {"menu", [] { return std::string(menuShared.open || menuShared.closing ? "1" : "0"); }},
        {"cam_x", [] { return fmt(lastPose().x); }},
        {"cam_y", [] { return fmt(lastPose().y); }},
        {"cam_z", [] { return fmt(lastPose().z); }},
        {"pitch", [] { return fmt(lastPose().pitch); }},
        {"roll", [] { return fmt(lastPose().roll); }},
        {"yaw", [] { return fmt(lastPose().yaw); }},
        {"fov", [] { return fmt(lastPose().fov); }},
    };
    return kColumns;
}

struct Recorder {
    std::vector<std::vector<std::string>> rows;
    uint32_t startTick = 0;

    void write(const std::string& path) const {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return;
        std::fprintf(f, "frame,time_s");
        for (const Column& c : columns()) std::fprintf(f, ",%s", c.name);
        std::fprintf(f, ",line,mark\n");
        for (const auto& row : rows) {
            for (size_t k = 0; k < row.size(); ++k) std::fprintf(f, "%s%s", k ? "," : "", row[k].c_str());
            std::fprintf(f, "\n");
        }
        std::fclose(f);
    }
};

inline void observe(void* context, const scenario::FrameInfo& frame) {
    Recorder& r = *static_cast<Recorder*>(context);
    if (r.rows.empty()) {
        sim::setRecording(sim::Recording::LastFrame);
        r.startTick = sim::now();
    }
    readPose();
    std::vector<std::string> row;
    row.push_back(std::to_string(sim::frameIndex() - 1));
    row.push_back(fmt((sim::now() - r.startTick) / 1000.0));
    for (const Column& c : columns()) row.push_back(c.sample());
    row.push_back(frame.step ? std::to_string(frame.step->line) : "");
    std::string mark = frame.mark ? *frame.mark : "";
    for (char& ch : mark)
        if (ch == ',' || ch == '"') ch = ' ';
    row.push_back(mark);
    r.rows.push_back(std::move(row));
}

}  // namespace trace

#include "tools/demo_trace.h"

#include <cstdio>

#include "camera/aiming.h"
#include "camera/camera.h"
#include "camera/headbob.h"
#include "camera/onfoot.h"
#include "camera/rig.h"
#include "camera/vehicle.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "sim/scenario.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/player.h"
#include "sim/world/vehicles.h"
#include "sim/world/weapons.h"
#include "weapon/bodycam_aim.h"
#include "weapon/recoil.h"

namespace trace {

namespace {

std::string fmt(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.5f", v);
    return b;
}

// Which camera the player sees.
const char* activeMode() {
    if (!engaged) return "game";
    if (!cameraRendering) return "handed-back";
    if (sim::player.vehicle == 0) return "on-foot";
    int cls = sim::vehicles[sim::player.vehicle].vehicleClass;
    return cls == sim::kMotorcycleClass || cls == sim::kCycleClass ? "two-wheeler" : "vehicle";
}

// The inertia state of the vehicle camera in use.
const InVehicleCamState& vehicleState() {
    int cls = sim::player.vehicle ? sim::vehicles[sim::player.vehicle].vehicleClass : 0;
    return cls == sim::kMotorcycleClass || cls == sim::kCycleClass ? motorcycleCam : vehicleCam;
}

struct Column {
    const char* name;
    std::string (*sample)();
};

// What the screen showed (sim::lastRendered: the game's camera, the plug-in's,
// or the ease between them), the plug-in's mode, and the motion channels the
// plots read.
const std::vector<Column>& columns() {
    static const std::vector<Column> kColumns = {
        {"tick", [] { return std::to_string(sim::now()); }},
        {"rendering", [] { return std::string(cameraRendering ? "1" : "0"); }},
        {"mode", [] { return std::string(activeMode()); }},
        {"menu", [] { return std::string(menuShared.open || menuShared.closing ? "1" : "0"); }},
        {"cam_x", [] { return fmt(sim::lastRendered().position.x); }},
        {"cam_y", [] { return fmt(sim::lastRendered().position.y); }},
        {"cam_z", [] { return fmt(sim::lastRendered().position.z); }},
        {"pitch", [] { return fmt(sim::lastRendered().rotation.x); }},
        {"roll", [] { return fmt(sim::lastRendered().rotation.y); }},
        {"yaw", [] { return fmt(sim::lastRendered().rotation.z); }},
        {"fov", [] { return fmt(sim::lastRendered().fov); }},
        {"blend", [] { return fmt(sim::lastRendered().blend); }},
        {"gameplay_pitch", [] { return fmt(sim::gameCameras.rotation.x); }},
        {"gameplay_yaw", [] { return fmt(sim::gameCameras.rotation.z); }},
        {"gameplay_roll", [] { return fmt(sim::gameCameras.rotation.y); }},
        {"game_x", [] { return fmt(sim::gameCameraPosition().x); }},
        {"game_y", [] { return fmt(sim::gameCameraPosition().y); }},
        {"game_z", [] { return fmt(sim::gameCameraPosition().z); }},
        {"smoothed_yaw", [] { return fmt(smoothedRotation.yaw); }},
        {"deadzone", [] { return fmt(Deadzone ? DeadzoneAngle : 0.0f); }},
        {"bob_lateral", [] { return fmt(headBob.lateral); }},
        {"bob_vertical", [] { return fmt(headBob.vertical); }},
        {"bob_pitch", [] { return fmt(headBob.pitch); }},
        {"bob_yaw", [] { return fmt(headBob.yaw); }},
        {"bob_roll", [] { return fmt(headBob.roll); }},
        {"recoil_pitch", [] { return fmt(recoilPitch); }},
        {"recoil_yaw", [] { return fmt(recoilYaw); }},
        {"recoil_roll", [] { return fmt(recoilRoll); }},
        {"shot", [] { return std::string(sim::weapons.shotThisFrame ? "1" : "0"); }},
        {"ads_blend", [] { return fmt(adsBlend); }},
        {"sniper_view", [] { return std::string(sniperView ? "1" : "0"); }},
        {"crouch_drop", [] { return fmt(crouchDrop); }},
        {"hand_side", [] { return fmt(handSide); }},
        {"hand_up", [] { return fmt(handUp); }},
        {"menu_progress", [] { return fmt(menuShared.openProgress); }},
        {"move_ratio", [] { return fmt(sim::player.desiredMoveRatio); }},
        {"vehicle_speed", [] { return fmt(sim::player.vehicle ? sim::forwardSpeedOf(sim::player.vehicle) : 0.0f); }},
        {"forward_shift", [] { return fmt(vehicleState().forwardShift); }},
        {"crash_impulse", [] { return fmt(vehicleState().crashImpulse); }},
        {"ped_heading", [] { return fmt(sim::playerPed().rotation.z); }},
        {"setting_fov", [] { return fmt(FOV); }},
        {"menu_key", [] { return std::to_string(MenuKeyVK); }},
        {"look_yaw", [] { return fmt(vehicleState().lookYaw + vehicleState().freeLookYaw); }},
    };
    return kColumns;
}

}  // namespace

void Recorder::write(const std::string& path) const {
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

void observe(void* context, const scenario::FrameInfo& frame) {
    Recorder& r = *static_cast<Recorder*>(context);
    if (r.rows.empty()) {
        sim::setRecording(sim::Recording::LastFrame);
        r.startTick = sim::now();
    }
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

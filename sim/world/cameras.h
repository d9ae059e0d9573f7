// The game's cameras as scripts see them: the gameplay camera (the game's own
// follow camera, steered by the look controls, with its on-foot and in-vehicle
// view modes, cycled by V), the scripted cameras a script creates, and what the
// game finally renders each frame, eased between the two.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "runtime/native_call.h"
#include "runtime/virtual_keys.h"

namespace sim {

constexpr int kFirstPersonView = 4;
constexpr int kThirdPersonNear = 0;
constexpr int kViewKey = kVkV;  // the key the game binds to its view cycle (control 0)

struct GameCameras {
    Vec3 rotation{};           // GET_GAMEPLAY_CAM_ROT: pitch, roll, yaw in degrees
    int pedViewMode = kThirdPersonNear;      // GET/SET_FOLLOW_PED_CAM_VIEW_MODE
    int vehicleViewMode = kThirdPersonNear;  // GET/SET_FOLLOW_VEHICLE_CAM_VIEW_MODE
    float lookRate = 240.0f;   // degrees per second at a full look normal
    float fov = 50.0f;         // the gameplay camera's field of view
    bool viewKeyWasDown = false;
};
extern GameCameras gameCameras;

struct ScriptCam {
    int32_t handle = 0;
    std::string name;
    bool active = false;
    float nearClip = 0.0f;
    bool affectsAiming = false;
    Vec3 position{};
    Vec3 rotation{};   // pitch, roll, yaw; only rotation order 2 is simulated
    float fov = 50.0f;
    int32_t attachedTo = 0;  // entity; 0 = free
    Vec3 attachOffset{};
    bool attachRelative = false;
    uint32_t createdFrame = 0;
};
extern std::map<int32_t, ScriptCam> scriptCams;

struct RenderCall {
    uint32_t frame;
    bool render;
    bool ease;
    int32_t easeMs;
};

// What the screen showed at the end of one frame.
struct RenderedFrame {
    uint32_t frame;
    bool scripted;    // a scripted camera contributed (rendering or easing)
    float blend;      // 0 = the game's camera, 1 = the scripted camera
    int32_t cam;      // the scripted camera rendered, 0 = none
    Vec3 position;
    Vec3 rotation;
    float fov;
};

struct ScriptRendering {
    bool on = false;           // RENDER_SCRIPT_CAMS(1) in force
    float blend = 0.0f;        // eases toward on
    float blendPerMs = 1.0f;   // the ease of the last switch; 1 = a cut
    int32_t activeCam = 0;     // the camera last set active
    std::vector<RenderCall> calls;
    std::vector<RenderedFrame> history;
};
extern ScriptRendering rendering;

// Queries for tests.
const ScriptCam* liveScriptCam();      // the only existing scripted camera, nullptr when none; fails on two
size_t liveCameraCount();              // scripted cameras that exist (leaks show here)
bool scriptCamRendering();             // a scripted camera renders fully or eases in
const RenderedFrame& lastRendered();   // after at least one frame
Vec3 gameCameraPosition();             // where the game's own camera sits now
const RenderCall* lastRenderCall();    // nullptr when none was made

// Test helpers.
void putGameInFirstPerson();           // both follow view modes at first person
void removeScriptCamByGame(int32_t handle);  // the game drops a script's camera on its own
void setGameplayRotation(float pitch, float roll, float yaw);

}  // namespace sim

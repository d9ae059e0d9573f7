// The game's input controls, as scripts see them: held, just pressed, analogue
// normals, disabled for one frame per control group (0 player, 2 front end),
// and values forced for the next frame.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "runtime/controls.h"

namespace sim {

constexpr int kControlCount = 360;

struct ForcedControl {
    uint32_t frame;
    int group;
    int control;
    float value;
};

struct Controls {
    std::array<bool, kControlCount> held{};
    std::array<bool, kControlCount> heldLastFrame{};
    std::array<float, kControlCount> normal{};               // GET_CONTROL_NORMAL, -1..1 or 0..1
    std::array<std::array<bool, kControlCount>, 3> disabled{};  // per group, cleared after each frame
    bool usingKeyboard = true;                               // IS_USING_KEYBOARD_AND_MOUSE
    std::vector<ForcedControl> forced;                       // SET_CONTROL_VALUE_NEXT_FRAME, in order
};
extern Controls controls;

void holdControl(int control);
void releaseControl(int control);
void setControlNormal(int control, float value);
void tapControl(int control, int heldFrames = 1);  // held for some frames, then released for one
bool wasDisabledThisFrame(int group, int control);  // read after a frame: did the script disable it

}  // namespace sim

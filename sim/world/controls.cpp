#include "sim/world/controls.h"

#include "sim/sim.h"

namespace sim {

Controls controls;

namespace {
// What the last frame's script disabled, kept for tests after the frame ends.
std::array<std::array<bool, kControlCount>, 3> disabledLastFrame{};

bool valid(int group, int control) { return group >= 0 && group < 3 && control >= 0 && control < kControlCount; }
bool validControl(int control) { return control >= 0 && control < kControlCount; }
bool justPressed(int control) { return controls.held[control] && !controls.heldLastFrame[control]; }

// The game ignores a disabled control for the rest of the frame; the disabled
// variants of the queries still see it.
bool enabled(int group, int control) { return !controls.disabled[group][control]; }

const FrameStep endFrame(Phase::AfterScripts, 100, [] {
    controls.heldLastFrame = controls.held;
    disabledLastFrame = controls.disabled;
    for (auto& g : controls.disabled) g.fill(false);
});
}  // namespace

void holdControl(int control) { controls.held.at(control) = true; }
void releaseControl(int control) { controls.held.at(control) = false; }
void setControlNormal(int control, float value) { controls.normal.at(control) = value; }
void tapControl(int control, int heldFrames) {
    holdControl(control);
    frames(heldFrames);
    releaseControl(control);
    frame();
}
bool wasDisabledThisFrame(int group, int control) { return disabledLastFrame.at(group).at(control); }

SIM_NATIVE(0xF3A21BCD95725A4A) {  // IS_CONTROL_PRESSED
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && controls.held[c] && enabled(g, c));
}
SIM_NATIVE(0xE2587F8CBBD87B1D) {  // IS_DISABLED_CONTROL_PRESSED
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && controls.held[c]);
}
SIM_NATIVE(0x580417101DDB492F) {  // IS_CONTROL_JUST_PRESSED
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && justPressed(c) && enabled(g, c));
}
SIM_NATIVE(0x91AEF906BCA88877) {  // IS_DISABLED_CONTROL_JUST_PRESSED
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && justPressed(c));
}
SIM_NATIVE(0xEC3C9B8D5327B563) {  // GET_CONTROL_NORMAL
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && enabled(g, c) ? controls.normal[c] : 0.0f);
}
SIM_NATIVE(0x11E65974A982637C) {  // GET_DISABLED_CONTROL_NORMAL
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) ? controls.normal[c] : 0.0f);
}
SIM_NATIVE(0xFE99B66D079CF6BC) {  // DISABLE_CONTROL_ACTION
    int g = call.i(0), c = call.i(1);
    if (valid(g, c)) controls.disabled[g][c] = true;
}
SIM_NATIVE(0xA571D46727E2B718) {  // IS_USING_KEYBOARD_AND_MOUSE
    call.ret(controls.usingKeyboard);
}
SIM_NATIVE(0xE8A25867FBA3B05E) {  // SET_CONTROL_VALUE_NEXT_FRAME
    if (validControl(call.i(1))) controls.forced.push_back({frameIndex(), call.i(0), call.i(1), call.f(2)});
    call.ret(true);
}

}  // namespace sim

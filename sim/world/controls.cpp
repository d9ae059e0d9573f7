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

SIM_NATIVE(native::kIsControlPressed) {
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && controls.held[c] && enabled(g, c));
}
SIM_NATIVE(native::kIsDisabledControlPressed) {
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && controls.held[c]);
}
SIM_NATIVE(native::kIsControlJustPressed) {
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && justPressed(c) && enabled(g, c));
}
SIM_NATIVE(native::kIsDisabledControlJustPressed) {
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && justPressed(c));
}
SIM_NATIVE(native::kGetControlNormal) {
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) && enabled(g, c) ? controls.normal[c] : 0.0f);
}
SIM_NATIVE(native::kGetDisabledControlNormal) {
    int g = call.i(0), c = call.i(1);
    call.ret(valid(g, c) ? controls.normal[c] : 0.0f);
}
SIM_NATIVE(native::kDisableControlAction) {
    int g = call.i(0), c = call.i(1);
    if (valid(g, c)) controls.disabled[g][c] = true;
}
SIM_NATIVE(native::kIsUsingKeyboardAndMouse) {
    call.ret(controls.usingKeyboard);
}
SIM_NATIVE(native::kSetControlValueNextFrame) {
    if (validControl(call.i(1))) controls.forced.push_back({frameIndex(), call.i(0), call.i(1), call.f(2)});
    call.ret(true);
}

}  // namespace sim

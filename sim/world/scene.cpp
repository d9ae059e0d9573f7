#include "sim/world/scene.h"

#include "sim/sim.h"

namespace sim {

Scene scene;

void startCutscene() {
    scene.controlOn = false;
    scene.cutsceneActive = true;
    scene.cutscenePlaying = true;
}

void endCutscene() {
    scene.controlOn = true;
    scene.cutsceneActive = false;
    scene.cutscenePlaying = false;
}

SIM_NATIVE(native::kIsPlayerControlOn) { call.ret(scene.controlOn); }
SIM_NATIVE(native::kIsCutsceneActive) { call.ret(scene.cutsceneActive); }
SIM_NATIVE(native::kIsCutscenePlaying) { call.ret(scene.cutscenePlaying); }
SIM_NATIVE(native::kIsPlayerSwitchInProgress) { call.ret(scene.switchInProgress); }
SIM_NATIVE(native::kIsScreenFadedOut) { call.ret(scene.fadedOut); }
SIM_NATIVE(native::kIsScreenFadingIn) { call.ret(scene.fadingIn); }

}  // namespace sim

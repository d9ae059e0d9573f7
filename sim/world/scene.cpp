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

SIM_NATIVE(0x49C32D60007AFA47) { call.ret(scene.controlOn); }        // IS_PLAYER_CONTROL_ON
SIM_NATIVE(0x991251AFC3981F84) { call.ret(scene.cutsceneActive); }   // IS_CUTSCENE_ACTIVE
SIM_NATIVE(0xD3C2E180A40F031E) { call.ret(scene.cutscenePlaying); }  // IS_CUTSCENE_PLAYING
SIM_NATIVE(0xD9D2CFFF49FAB35F) { call.ret(scene.switchInProgress); } // IS_PLAYER_SWITCH_IN_PROGRESS
SIM_NATIVE(0xB16FCE9DDC7BA182) { call.ret(scene.fadedOut); }         // IS_SCREEN_FADED_OUT
SIM_NATIVE(0x5C544BC6C57AC575) { call.ret(scene.fadingIn); }         // IS_SCREEN_FADING_IN

}  // namespace sim

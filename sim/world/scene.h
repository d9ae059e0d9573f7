// The game's scene state that takes the player's control away or hides the
// world: player control, cutscenes, the character switch and screen fades.
#pragma once

namespace sim {

struct Scene {
    bool controlOn = true;        // IS_PLAYER_CONTROL_ON
    bool cutsceneActive = false;  // IS_CUTSCENE_ACTIVE
    bool cutscenePlaying = false; // IS_CUTSCENE_PLAYING
    bool switchInProgress = false;  // IS_PLAYER_SWITCH_IN_PROGRESS
    bool fadedOut = false;        // IS_SCREEN_FADED_OUT
    bool fadingIn = false;        // IS_SCREEN_FADING_IN
};
extern Scene scene;

// A cutscene as the game plays one: control off, the cutscene active and playing.
void startCutscene();
void endCutscene();

}  // namespace sim

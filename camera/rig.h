// The camera rig's state and the frame context that every step of the camera
// pipeline reads. Only the rig creates and destroys the scripted camera.
#pragma once
#include <cstdint>

#include "runtime/native_call.h"

// Filled in by the first steps of every updateCamera (the vehicle fields once the view is on).
struct FrameContext {
    Ped ped;
    bool inVehicle;
    bool alive;         // exists and is not dead
    Player playerId;
    bool controlOn;     // the player has control
    bool fadedOut;      // the screen is faded out
    bool sceneBlocked;  // cutscene, player switch or fade
    bool parachuting;   // on foot only
    Vehicle vehicle;    // engaged in a vehicle: the one the ped sits in, 0 if the game returns none
    bool twoWheeler;    // engaged in a vehicle: it is a motorcycle or bicycle
};

extern Cam cameraHandle;  // 0 = none
extern uint8_t engaged;   // 1 while the player has the plug-in's view switched on
extern uint8_t instantTransitions;  // SniperGameView, refreshed each frame: switches are cuts

void ensureCamera();             // the camera exists; one shown before renders again
void destroyCamera();            // destroys it and resets the motion state
void disengage(bool inVehicle);  // the view off, the game back in third person

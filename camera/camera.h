// The first-person camera rig.
#pragma once
#include <cstdint>

extern uint8_t cameraRendering;  // 1 while the scripted camera is rendered

void updateCamera();  // one frame of the camera pipeline

// Stops rendering the scripted camera and schedules its destroy (the menu's
// Reset All uses it; an engaged camera resumes later in the same pass).
void stopRendering();

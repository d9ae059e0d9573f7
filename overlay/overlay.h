// Screen overlays drawn over the scripted camera. The main loop runs them in
// this order after the camera update, only while the camera renders.
#pragma once
#include <cstdint>

extern uint8_t damageGlitchRunning;  // 1 while the glitch post-effect plays

void updateDamageGlitch();  // the glitch post-effect on a health loss
void stopDamageGlitch();    // stops a running glitch at once (camera destroy)
void drawTracers();         // bullet tracers in flight
void drawCrosshair();       // the dot at the aim point

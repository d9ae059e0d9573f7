// Screen overlays drawn over the scripted camera.
#pragma once

void updateDamageGlitch();  // the glitch post-effect on a health loss
void drawTracers();         // bullet tracers in flight
void drawCrosshair();       // the dot at the aim point

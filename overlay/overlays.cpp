#include "overlay/overlay.h"

uint8_t damageGlitchRunning;

void updateDamageGlitch() {}  // not built yet: the overlays come with their own change
void stopDamageGlitch() {}    // not built yet: the overlays come with their own change
void drawCrosshair() {}       // not built yet: the overlays come with their own change

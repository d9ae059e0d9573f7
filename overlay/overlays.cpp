#include "overlay/overlay.h"

void updateDamageGlitch() {}  // not built yet: the overlays come with their own change
void drawTracers() {}         // not built yet: the overlays come with their own change
void drawCrosshair() {}       // not built yet: the overlays come with their own change

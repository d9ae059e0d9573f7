#include "overlay/overlay.h"
#include "overlay/tracers.h"

uint8_t aimPointValid;
Vec3 aimPoint;

void updateAimPointAndFire(Ped) {}                                   // not built yet: comes with the overlays
void spawnTracer(float, float, float, float, float, float) {}        // not built yet: comes with the overlays
void drawTracers() {}                                                // not built yet: comes with the overlays

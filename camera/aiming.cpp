#include "camera/aiming.h"

uint8_t adsActive;
float adsBlend;
uint8_t sniperView;

void updateAdsLatch(const FrameContext&) {}         // not built yet: aiming views come with weapon feel
void updateSniperDetection(const FrameContext&) {}  // not built yet: aiming views come with weapon feel
void updateAdsZoom() {}                             // not built yet: no zoom until aiming views land

// Aiming views: the aim-down-sights (ADS) latch and zoom, and the hand-back to
// the game's own first-person camera while a sniper scope is in use.
#pragma once
#include <cstdint>

#include "camera/rig.h"

extern uint8_t adsActive;   // this frame: aiming with the ADS latch set; read by the crosshair
extern float adsBlend;      // 0..1, how far the zoom has eased in
extern uint8_t sniperView;  // 1 while the game's scope view must show

void updateAdsLatch(const FrameContext& ctx);         // every frame, before the switch-off gate -> adsActive
void updateSniperDetection(const FrameContext& ctx);  // every frame, before the switch-off gate -> sniperView
void updateAdsZoom();                                 // with the on-foot pose: eases adsBlend toward the zoom target

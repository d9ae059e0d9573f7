#include "camera/camera.h"

uint8_t cameraRendering;

void updateCamera() {}          // not built yet: the camera comes with its own change
void stopRendering() {}         // not built yet: the camera comes with its own change

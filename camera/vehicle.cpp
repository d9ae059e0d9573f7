#include "camera/vehicle.h"

Vehicle attachedVehicle;
uint8_t vehicleAttached;

void updateVehicleCamera(Ped) {}     // not built yet: the vehicle camera comes with its own change
void updateMotorcycleCamera(Ped) {}  // not built yet: the vehicle camera comes with its own change
void clearVehicleAttachment() {
    attachedVehicle = 0;
    vehicleAttached = 0;
}

#include "sim/world/vehicles.h"

#include "sim/sim.h"
#include "sim/world/player.h"

namespace sim {

std::map<int32_t, VehicleInfo> vehicles;

int32_t spawnVehicle(int32_t vehicleClass, Vec3 position, float heading) {
    EntityState& e = spawnEntity(EntityKind::Vehicle, position, heading);
    vehicles[e.handle].vehicleClass = vehicleClass;
    return e.handle;
}

void enterVehicle(int32_t vehicle, int32_t seat) {
    leaveVehicle();
    player.vehicle = vehicle;
    player.seat = seat;
    vehicles[vehicle].seats[seat] = player.ped;
}

void leaveVehicle() {
    if (player.vehicle != 0) {
        auto& seats = vehicles[player.vehicle].seats;
        seats.erase(player.seat);
    }
    player.vehicle = 0;
    player.seat = -1;
    player.inVehicleWithoutVehicle = false;
}

namespace {
bool pedInVehicle(int32_t ped) {
    return ped == player.ped && (player.vehicle != 0 || player.inVehicleWithoutVehicle);
}
}  // namespace

SIM_NATIVE(0x997ABD671D25CA0B) {  // IS_PED_IN_ANY_VEHICLE
    call.ret(pedInVehicle(call.i(0)));
}
SIM_NATIVE(0x9A9112A0FE9A4713) {  // GET_VEHICLE_PED_IS_IN
    call.ret(call.i(0) == player.ped ? player.vehicle : 0);
}
SIM_NATIVE(0x29439776AAA00A62) {  // GET_VEHICLE_CLASS
    auto it = vehicles.find(call.i(0));
    call.ret(it == vehicles.end() ? 0 : it->second.vehicleClass);
}
SIM_NATIVE(0xBB40DD2270B65366) {  // GET_PED_IN_VEHICLE_SEAT
    auto it = vehicles.find(call.i(0));
    int32_t ped = 0;
    if (it != vehicles.end()) {
        auto seat = it->second.seats.find(call.i(1));
        if (seat != it->second.seats.end()) ped = seat->second;
    }
    call.ret(ped);
}

}  // namespace sim

// The player: the player id and the player's character (ped), which is an entity
// of kind Ped created at boot with a head bone.
#pragma once
#include <cstdint>

#include "sim/world/entities.h"

namespace sim {

constexpr int32_t kHeadBone = 31086;

struct PlayerModel {
    int32_t id = 0;       // PLAYER_ID
    int32_t ped = 0;      // PLAYER_PED_ID: the character's entity handle
    int32_t vehicle = 0;  // the vehicle the ped sits in, 0 on foot
    int32_t seat = -1;    // -1 driver
    bool inVehicleWithoutVehicle = false;  // the game says "in a vehicle" but returns none
};
extern PlayerModel player;

EntityState& playerPed();  // the player's ped entity (created on first use)

}  // namespace sim

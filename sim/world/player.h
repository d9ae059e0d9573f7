// The player: the player id and the player's character (ped).
#pragma once
#include <cstdint>

namespace sim {

struct PlayerModel {
    int32_t id = 0;       // PLAYER_ID
    int32_t ped = 0x101;  // PLAYER_PED_ID: the character's entity handle
};
extern PlayerModel player;

}  // namespace sim

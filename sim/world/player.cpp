#include "sim/world/player.h"

#include "sim/sim.h"

namespace sim {

PlayerModel player;

SIM_NATIVE(0x4F8644AF03D0E0D6) { call.ret(player.id); }   // PLAYER_ID
SIM_NATIVE(0xD80958FC74E988A6) { call.ret(player.ped); }  // PLAYER_PED_ID

}  // namespace sim

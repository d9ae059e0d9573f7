#include "sim/world/player.h"

#include "sim/sim.h"

namespace sim {

PlayerModel player;

EntityState& playerPed() {
    if (EntityState* e = findEntity(player.ped)) return *e;
    EntityState& e = spawnEntity(EntityKind::Ped, {0.0f, 0.0f, 1.0f});
    e.bones.push_back({"SKEL_Head", kHeadBone, {0.0f, 0.05f, 0.65f}});
    player.ped = e.handle;
    return e;
}

namespace {
// The game always has a player character.
const FrameStep ensurePed(Phase::BeforeScripts, 0, [] {
    if (player.ped == 0) playerPed();
});
}  // namespace

SIM_NATIVE(0x4F8644AF03D0E0D6) { call.ret(player.id); }   // PLAYER_ID
SIM_NATIVE(0xD80958FC74E988A6) { call.ret(player.ped); }  // PLAYER_PED_ID

}  // namespace sim

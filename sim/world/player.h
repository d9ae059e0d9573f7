// The player: the player id and the player's character (ped), which is an entity
// of kind Ped created at boot with a head bone. The ped moves at a move blend
// ratio (0 still, 1 walk, 2 run, 3 sprint) chosen from the move controls and
// capped by scripts each frame, can crouch (stealth movement), parachute, die
// and respawn, and takes per-frame reset flags.
#pragma once
#include <cstdint>
#include <set>

#include "sim/world/entities.h"

namespace sim {

constexpr int32_t kHeadBone = 31086;
constexpr int32_t kNotParachuting = -1;

struct PlayerModel {
    int32_t id = 0;       // PLAYER_ID
    int32_t ped = 0;      // PLAYER_PED_ID: the character's entity handle
    int32_t vehicle = 0;  // the vehicle the ped sits in, 0 on foot
    int32_t seat = -1;    // -1 driver
    bool inVehicleWithoutVehicle = false;  // the game says "in a vehicle" but returns none

    // Movement. The game picks a pace from the move controls (run by default,
    // sprint while control 21 is held); a script cap set this frame limits it.
    // forcedMoveRatio >= 0 replaces the desired ratio outright, cap or not (tests of the gait).
    float desiredMoveRatio = 0.0f;  // GET_PED_DESIRED_MOVE_BLEND_RATIO, this frame's
    float forcedMoveRatio = -1.0f;
    float moveRatioCap = 3.0f;      // SET_PED_MAX_MOVE_BLEND_RATIO this frame; 3 when nobody capped
    float lastMoveRatioCap = 3.0f;  // the cap the last frame ended with
    bool moveRatioCapped = false;   // a script capped it in the last frame
    int capCalls = 0;               // SET_PED_MAX_MOVE_BLEND_RATIO calls this frame

    bool stealth = false;               // GET_PED_STEALTH_MOVEMENT: crouched
    int32_t parachuteState = kNotParachuting;  // GET_PED_PARACHUTE_STATE

    std::set<int32_t> resetFlags;          // SET_PED_RESET_FLAG calls of this frame
    std::set<int32_t> resetFlagsLastFrame;  // ... of the last frame, for tests
};
extern PlayerModel player;

EntityState& playerPed();  // the player's ped entity (created on first use)

void killPlayer();                          // the ped dies where it stands
void respawnPlayer(bool newPed = false);    // alive again at the spawn point; optionally as a new ped handle
void setPedHeadLocal(Vec3 local);           // head bone position in the ped's frame
Vec3 pedHeadPosition();                     // the head bone in world coordinates
bool resetFlagSetLastFrame(int32_t flag);   // read after a frame: did the script set it

}  // namespace sim

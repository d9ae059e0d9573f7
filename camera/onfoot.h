// The on-foot camera placement: the eye at the head bone with the user's
// offsets, the view copied from the game's gameplay camera, and the pose handed
// to the scripted camera with every motion contribution. Around it, four small
// on-foot behaviours: head hiding, the walking pace toggle, the crouch drop and
// auto-turn of the body.
#pragma once
#include <cstdint>

#include "camera/rig.h"
#include "runtime/native_call.h"
#include "weapon/bodycam_aim.h"

extern Vec3 lastCameraPosition;    // base eye position of the last on-foot frame (before bob and crouch)
extern uint8_t lastPositionValid;  // lastCameraPosition was written since the last stop or destroy
extern float gameplayPitch;        // this frame's gameplay camera pitch, degrees
extern float gameplayYaw;          // this frame's gameplay camera yaw, degrees -180..180
extern float crouchDrop;           // metres the camera sits below the eye while crouched

struct HeadAnchor {
    Vec3 head;          // the head bone in world metres
    Rotation gameplay;  // the gameplay camera's rotation, degrees
    bool good;          // both were read well at least once since the camera was created
};

void hideHead(const FrameContext& ctx);           // the player's head off while our camera is the view
void updateWalkingPace(const FrameContext& ctx);  // sprint tap toggles walk/jog, a hold sprints
HeadAnchor readHeadAnchor(Ped ped);               // the head bone and the gameplay rotation, or the last good ones
Vec3 updateBasePosition(Vec3 head);               // the eye with Height, Side, Forward and the hand offsets
void updateCrouchDrop(Ped ped);                   // eases crouchDrop toward the crouch target
bool applyPose(Vec3 base, Rotation sway);         // position, rotation and field of view; false: no pose yet
void updateAutoTurn(Ped ped);                     // turns the body toward the view
void resetCrouchDrop();                           // camera destroy: no drop, no previous crouch frame
void forgetHeldReadings();                        // a camera created or destroyed: nothing held for the next one

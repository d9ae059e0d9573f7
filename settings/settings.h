// The settings record: one static field per settings-file key, named as the key.
// Floats carry the unit their readers use; flags hold 0 or 1; the two ints are
// a Windows virtual-key code and a game control id.
//
// kSettings describes every field once, in the order the settings file is read
// and written; load, save, reset and the menu all loop over it.
#pragma once
#include <cstdint>

extern float FOV;  // degrees
extern float Height;  // metres
extern float Side;  // metres
extern float Forward;  // metres
extern uint8_t HeadBob;
extern float HeadBobAmount;  // multiplier
extern float HeadBobSpeed;  // multiplier
extern float Veh_FOV;  // degrees
extern float Veh_Height;  // metres
extern float Veh_Side;  // metres
extern float Veh_Forward;  // metres
extern float Veh_Sensitivity;  // multiplier
extern float AutoTurnAngle;  // degrees
extern float WeaponLeadLag;  // fraction
extern uint8_t WeaponLead;
extern uint8_t AimSway;
extern float AimSwayAmount;  // degrees
extern uint8_t RecoilShake;
extern float RecoilAmount;  // multiplier
extern uint8_t BulletTracers;
extern uint8_t CrouchLower;
extern float CrouchLowerAmount;  // metres
extern uint8_t ChromaticAberration;
extern uint8_t FilmGrain;
extern uint8_t DamageGlitch;
extern uint8_t BodycamMaster;
extern uint8_t BodycamRecoil;
extern float BodycamRecoilAmount;  // multiplier
extern float RecHeavy;  // multiplier
extern float RecSniper;  // multiplier
extern float RecShotgun;  // multiplier
extern float RecMG;  // multiplier
extern float RecRifle;  // multiplier
extern float RecSMG;  // multiplier
extern float RecPistol;  // multiplier
extern uint8_t ShowWeaponRecoil;
extern uint8_t SmoothFollow;
extern float FollowAmount;  // fraction
extern uint8_t Deadzone;
extern float DeadzoneAngle;  // degrees
extern uint8_t Hand3D;
extern float Hand3DAmount;  // multiplier
extern uint8_t Crosshair;
extern uint8_t CrosshairOnlyAimed;
extern uint8_t CrosshairOnlyADS;
extern uint8_t ADSGameView;
extern float ADSZoomAmount;  // degrees
extern uint8_t SniperGameView;
extern uint8_t VehCam;
extern int32_t MenuKeyVK;
extern int32_t PadOpenBtn;
extern uint8_t CinematicAudio;
extern uint8_t ShowHead;
extern uint8_t Veh_ShowHead;
extern uint8_t Veh_CamInertia;
extern float Veh_CamInertiaAmount;  // multiplier
extern uint8_t AutoTurn;
extern uint8_t FreeLook;
extern float FreeLookSensitivity;  // multiplier
extern float Veh_YawLimit;  // degrees
extern uint8_t MC_Cam;
extern float MC_FOV;  // degrees
extern float MC_Height;  // metres
extern float MC_Side;  // metres
extern float MC_Forward;  // metres
extern float MC_Sensitivity;  // multiplier
extern uint8_t MC_ShowHead;
extern uint8_t MC_CamInertia;
extern float MC_CamInertiaAmount;  // multiplier
extern uint8_t MC_FreeLook;
extern float MC_FreeLookSensitivity;  // multiplier
extern float MC_YawLimit;  // degrees

enum class SettingKind : uint8_t { Float, Flag, Int };

struct Setting {
    const char* key;
    SettingKind kind;
    float* floatField;
    uint8_t* flagField;
    int32_t* intField;
    float missing;   // value a load gives when the key is absent
    float minimum;   // load clamp, floats only
    float maximum;
    float resetAll;  // value "Reset All" stores
};

constexpr int kSettingCount = 72;
extern const Setting kSettings[kSettingCount];

constexpr int32_t kDefaultMenuKey = 117;       // F6
constexpr int32_t kResetAllPadOpenButton = 175;  // a controller button id

// Stores the Reset All column into every field; the file follows at the next menu close.
void resetAllSettings();

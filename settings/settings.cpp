#include "settings/settings.h"

float FOV;
float Height;
float Side;
float Forward;
uint8_t HeadBob;
float HeadBobAmount;
float HeadBobSpeed;
float Veh_FOV;
float Veh_Height;
float Veh_Side;
float Veh_Forward;
float Veh_Sensitivity;
float AutoTurnAngle;
float WeaponLeadLag;
uint8_t WeaponLead;
uint8_t AimSway;
float AimSwayAmount;
uint8_t RecoilShake;
float RecoilAmount;
uint8_t BulletTracers;
uint8_t CrouchLower;
float CrouchLowerAmount;
uint8_t ChromaticAberration;
uint8_t FilmGrain;
uint8_t DamageGlitch;
uint8_t BodycamMaster;
uint8_t BodycamRecoil;
float BodycamRecoilAmount;
float RecHeavy;
float RecSniper;
float RecShotgun;
float RecMG;
float RecRifle;
float RecSMG;
float RecPistol;
uint8_t ShowWeaponRecoil;
uint8_t SmoothFollow;
float FollowAmount;
uint8_t Deadzone;
float DeadzoneAngle;
uint8_t Hand3D;
float Hand3DAmount;
uint8_t Crosshair;
uint8_t CrosshairOnlyAimed;
uint8_t CrosshairOnlyADS;
uint8_t ADSGameView;
float ADSZoomAmount;
uint8_t SniperGameView;
uint8_t VehCam;
int32_t MenuKeyVK;
int32_t PadOpenBtn;
uint8_t CinematicAudio;
uint8_t ShowHead;
uint8_t Veh_ShowHead;
uint8_t Veh_CamInertia;
float Veh_CamInertiaAmount;
uint8_t AutoTurn;
uint8_t FreeLook;
float FreeLookSensitivity;
float Veh_YawLimit;
uint8_t MC_Cam;
float MC_FOV;
float MC_Height;
float MC_Side;
float MC_Forward;
float MC_Sensitivity;
uint8_t MC_ShowHead;
uint8_t MC_CamInertia;
float MC_CamInertiaAmount;
uint8_t MC_FreeLook;
float MC_FreeLookSensitivity;
float MC_YawLimit;

const Setting kSettings[kSettingCount] = {
    {"FOV", SettingKind::Float, &FOV, nullptr, nullptr, 90.0f, 30.0f, 120.0f, 90.0f},
    {"Height", SettingKind::Float, &Height, nullptr, nullptr, 0.1f, -0.5f, 0.8f, 0.1f},
    {"Side", SettingKind::Float, &Side, nullptr, nullptr, 0.0f, -0.6f, 0.6f, 0.0f},
    {"Forward", SettingKind::Float, &Forward, nullptr, nullptr, 0.0f, -0.6f, 0.6f, 0.0f},
    {"HeadBob", SettingKind::Flag, nullptr, &HeadBob, nullptr, 0, 0, 1, 0},
    {"HeadBobAmount", SettingKind::Float, &HeadBobAmount, nullptr, nullptr, 0.35f, 0.1f, 2.0f, 0.35f},
    {"HeadBobSpeed", SettingKind::Float, &HeadBobSpeed, nullptr, nullptr, 1.0f, 0.25f, 3.0f, 1.0f},
    {"Veh_FOV", SettingKind::Float, &Veh_FOV, nullptr, nullptr, 85.0f, 30.0f, 120.0f, 85.0f},
    {"Veh_Height", SettingKind::Float, &Veh_Height, nullptr, nullptr, 0.08f, -0.8f, 1.2f, 0.08f},
    {"Veh_Side", SettingKind::Float, &Veh_Side, nullptr, nullptr, 0.0f, -1.5f, 1.5f, 0.0f},
    {"Veh_Forward", SettingKind::Float, &Veh_Forward, nullptr, nullptr, 0.0f, -1.5f, 1.5f, 0.0f},
    {"Veh_Sensitivity", SettingKind::Float, &Veh_Sensitivity, nullptr, nullptr, 6.0f, 1.0f, 15.0f, 6.0f},
    {"AutoTurnAngle", SettingKind::Float, &AutoTurnAngle, nullptr, nullptr, 45.0f, 10.0f, 90.0f, 45.0f},
    {"WeaponLeadLag", SettingKind::Float, &WeaponLeadLag, nullptr, nullptr, 0.85f, 0.3f, 0.9f, 0.85f},
    {"WeaponLead", SettingKind::Flag, nullptr, &WeaponLead, nullptr, 0, 0, 1, 0},
    {"AimSway", SettingKind::Flag, nullptr, &AimSway, nullptr, 0, 0, 1, 0},
    {"AimSwayAmount", SettingKind::Float, &AimSwayAmount, nullptr, nullptr, 1.2f, 0.1f, 4.0f, 1.2f},
    {"RecoilShake", SettingKind::Flag, nullptr, &RecoilShake, nullptr, 0, 0, 1, 0},
    {"RecoilAmount", SettingKind::Float, &RecoilAmount, nullptr, nullptr, 1.0f, 0.1f, 4.0f, 1.0f},
    {"BulletTracers", SettingKind::Flag, nullptr, &BulletTracers, nullptr, 0, 0, 1, 0},
    {"CrouchLower", SettingKind::Flag, nullptr, &CrouchLower, nullptr, 1, 0, 1, 1},
    {"CrouchLowerAmount", SettingKind::Float, &CrouchLowerAmount, nullptr, nullptr, 0.18f, 0.05f, 0.6f, 0.18f},
    {"ChromaticAberration", SettingKind::Flag, nullptr, &ChromaticAberration, nullptr, 0, 0, 1, 0},
    {"FilmGrain", SettingKind::Flag, nullptr, &FilmGrain, nullptr, 0, 0, 1, 0},
    {"DamageGlitch", SettingKind::Flag, nullptr, &DamageGlitch, nullptr, 0, 0, 1, 0},
    {"BodycamMaster", SettingKind::Flag, nullptr, &BodycamMaster, nullptr, 0, 0, 1, 0},
    {"BodycamRecoil", SettingKind::Flag, nullptr, &BodycamRecoil, nullptr, 1, 0, 1, 1},
    {"BodycamRecoilAmount", SettingKind::Float, &BodycamRecoilAmount, nullptr, nullptr, 1.0f, 0.1f, 4.0f, 1.0f},
    {"RecHeavy", SettingKind::Float, &RecHeavy, nullptr, nullptr, 1.5f, 0.0f, 5.0f, 1.5f},
    {"RecSniper", SettingKind::Float, &RecSniper, nullptr, nullptr, 5.0f, 0.0f, 5.0f, 5.0f},
    {"RecShotgun", SettingKind::Float, &RecShotgun, nullptr, nullptr, 5.0f, 0.0f, 5.0f, 5.0f},
    {"RecMG", SettingKind::Float, &RecMG, nullptr, nullptr, 2.0f, 0.0f, 5.0f, 2.0f},
    {"RecRifle", SettingKind::Float, &RecRifle, nullptr, nullptr, 1.5f, 0.0f, 5.0f, 1.5f},
    {"RecSMG", SettingKind::Float, &RecSMG, nullptr, nullptr, 1.5f, 0.0f, 5.0f, 1.5f},
    {"RecPistol", SettingKind::Float, &RecPistol, nullptr, nullptr, 5.0f, 0.0f, 5.0f, 5.0f},
    {"ShowWeaponRecoil", SettingKind::Flag, nullptr, &ShowWeaponRecoil, nullptr, 0, 0, 1, 0},
    {"SmoothFollow", SettingKind::Flag, nullptr, &SmoothFollow, nullptr, 1, 0, 1, 1},
    {"FollowAmount", SettingKind::Float, &FollowAmount, nullptr, nullptr, 0.85f, 0.0f, 0.95f, 0.85f},
    {"Deadzone", SettingKind::Flag, nullptr, &Deadzone, nullptr, 1, 0, 1, 1},
    {"DeadzoneAngle", SettingKind::Float, &DeadzoneAngle, nullptr, nullptr, 10.0f, 0.0f, 15.0f, 10.0f},
    {"Hand3D", SettingKind::Flag, nullptr, &Hand3D, nullptr, 1, 0, 1, 1},
    {"Hand3DAmount", SettingKind::Float, &Hand3DAmount, nullptr, nullptr, 1.3f, 0.1f, 2.0f, 1.3f},
    {"Crosshair", SettingKind::Flag, nullptr, &Crosshair, nullptr, 1, 0, 1, 1},
    {"CrosshairOnlyAimed", SettingKind::Flag, nullptr, &CrosshairOnlyAimed, nullptr, 0, 0, 1, 0},
    {"CrosshairOnlyADS", SettingKind::Flag, nullptr, &CrosshairOnlyADS, nullptr, 0, 0, 1, 0},
    {"ADSGameView", SettingKind::Flag, nullptr, &ADSGameView, nullptr, 0, 0, 1, 0},
    {"ADSZoomAmount", SettingKind::Float, &ADSZoomAmount, nullptr, nullptr, 25.0f, 5.0f, 50.0f, 25.0f},
    {"SniperGameView", SettingKind::Flag, nullptr, &SniperGameView, nullptr, 1, 0, 1, 1},
    {"VehCam", SettingKind::Flag, nullptr, &VehCam, nullptr, 1, 0, 1, 1},
    {"MenuKeyVK", SettingKind::Int, nullptr, nullptr, &MenuKeyVK, 117, 0, 0, 117},
    {"PadOpenBtn", SettingKind::Int, nullptr, nullptr, &PadOpenBtn, 0, 0, 0, 175},
    {"CinematicAudio", SettingKind::Flag, nullptr, &CinematicAudio, nullptr, 0, 0, 1, 0},
    {"ShowHead", SettingKind::Flag, nullptr, &ShowHead, nullptr, 0, 0, 1, 0},
    {"Veh_ShowHead", SettingKind::Flag, nullptr, &Veh_ShowHead, nullptr, 0, 0, 1, 0},
    {"Veh_CamInertia", SettingKind::Flag, nullptr, &Veh_CamInertia, nullptr, 1, 0, 1, 1},
    {"Veh_CamInertiaAmount", SettingKind::Float, &Veh_CamInertiaAmount, nullptr, nullptr, 1.0f, 0.0f, 3.0f, 1.0f},
    {"AutoTurn", SettingKind::Flag, nullptr, &AutoTurn, nullptr, 1, 0, 1, 1},
    {"FreeLook", SettingKind::Flag, nullptr, &FreeLook, nullptr, 0, 0, 1, 0},
    {"FreeLookSensitivity", SettingKind::Float, &FreeLookSensitivity, nullptr, nullptr, 6.0f, 1.0f, 15.0f, 6.0f},
    {"Veh_YawLimit", SettingKind::Float, &Veh_YawLimit, nullptr, nullptr, 90.0f, 10.0f, 180.0f, 90.0f},
    {"MC_Cam", SettingKind::Flag, nullptr, &MC_Cam, nullptr, 1, 0, 1, 1},
    {"MC_FOV", SettingKind::Float, &MC_FOV, nullptr, nullptr, 100.0f, 30.0f, 120.0f, 100.0f},
    {"MC_Height", SettingKind::Float, &MC_Height, nullptr, nullptr, 0.25f, -0.8f, 1.2f, 0.25f},
    {"MC_Side", SettingKind::Float, &MC_Side, nullptr, nullptr, 0.0f, -1.5f, 1.5f, 0.0f},
    {"MC_Forward", SettingKind::Float, &MC_Forward, nullptr, nullptr, 0.25f, -1.5f, 1.5f, 0.25f},
    {"MC_Sensitivity", SettingKind::Float, &MC_Sensitivity, nullptr, nullptr, 8.0f, 1.0f, 15.0f, 8.0f},
    {"MC_ShowHead", SettingKind::Flag, nullptr, &MC_ShowHead, nullptr, 0, 0, 1, 0},
    {"MC_CamInertia", SettingKind::Flag, nullptr, &MC_CamInertia, nullptr, 1, 0, 1, 1},
    {"MC_CamInertiaAmount", SettingKind::Float, &MC_CamInertiaAmount, nullptr, nullptr, 1.0f, 0.0f, 3.0f, 1.0f},
    {"MC_FreeLook", SettingKind::Flag, nullptr, &MC_FreeLook, nullptr, 0, 0, 1, 0},
    {"MC_FreeLookSensitivity", SettingKind::Float, &MC_FreeLookSensitivity, nullptr, nullptr, 6.0f, 1.0f, 15.0f, 6.0f},
    {"MC_YawLimit", SettingKind::Float, &MC_YawLimit, nullptr, nullptr, 70.0f, 10.0f, 180.0f, 70.0f},};

void resetAllSettings() {
    for (const Setting& s : kSettings) {
        switch (s.kind) {
            case SettingKind::Float: *s.floatField = s.resetAll; break;
            case SettingKind::Flag: *s.flagField = s.resetAll != 0.0f ? 1 : 0; break;
            case SettingKind::Int: *s.intField = static_cast<int32_t>(s.resetAll); break;
        }
    }
}

// The game's input controls, by the numbers the game gives them, and the two
// control groups the plug-in asks them in. The numbers are the game's; the
// simulator and the tests name them from here too.
#pragma once

// Control groups.
constexpr int kControlGroupPlayer = 0;    // the character's own actions
constexpr int kControlGroupFrontend = 2;  // menus

// On foot and in vehicles.
constexpr int kControlNextCamera = 0;  // the game's own view cycle, on V
constexpr int kControlLookLeftRight = 1;
constexpr int kControlLookUpDown = 2;
constexpr int kControlCharacterWheel = 19;
constexpr int kControlSprint = 21;
constexpr int kControlJump = 22;
constexpr int kControlAttack = 24;
constexpr int kControlAim = 25;
constexpr int kControlLookBehind = 26;  // the right stick's click on a controller
constexpr int kControlMoveForward = 32;
constexpr int kControlMoveBack = 33;
constexpr int kControlMoveLeft = 34;
constexpr int kControlMoveRight = 35;
constexpr int kControlWeaponWheel = 37;
constexpr int kControlVehicleAttack = 69;
constexpr int kControlVehicleBrake = 72;
constexpr int kControlVehicleDuck = 73;
constexpr int kControlPhoneSelect = 176;
constexpr int kControlPhoneCancel = 177;
constexpr int kControlWheelForward = 241;  // the mouse wheel
constexpr int kControlWheelBack = 242;
constexpr int kControlAttack2 = 257;       // the second attack control

// The front end's navigation.
constexpr int kControlFrontendDown = 187;
constexpr int kControlFrontendUp = 188;
constexpr int kControlFrontendLeft = 189;
constexpr int kControlFrontendRight = 190;
constexpr int kControlFrontendAccept = 201;
constexpr int kControlFrontendCancel = 202;

// A controller's buttons, under the names the menu shows for them.
constexpr int kControlPadDpadUp = 27;
constexpr int kControlPadDpadDown = 173;
constexpr int kControlPadDpadLeft = 174;
constexpr int kControlPadDpadRight = 175;
constexpr int kControlPadB = 194;
constexpr int kControlPadStart = 199;
constexpr int kControlPadBack = 200;
constexpr int kControlPadY = 203;
constexpr int kControlPadX = 205;
constexpr int kControlPadLB = 305;
constexpr int kControlPadRB = 306;
constexpr int kControlPadLT = 307;
constexpr int kControlPadRT = 308;
constexpr int kControlPadL3 = 309;
constexpr int kControlPadR3 = 310;

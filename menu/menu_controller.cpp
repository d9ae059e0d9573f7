#include <cmath>

#include "camera/camera.h"
#include "menu/menu.h"
#include "menu/menu_draw.h"
#include "menu/menu_items.h"
#include "runtime/control_queries.h"
#include "runtime/controls.h"
#include "runtime/natives.h"
#include "runtime/input.h"
#include "runtime/runtime.h"
#include "runtime/virtual_keys.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace {

// Debounces and repeat intervals, in milliseconds of the frame tick.
constexpr uint32_t kToggleDebounceMs = 250;  // open/close, BACK, dialog answers
constexpr uint32_t kSelectDebounceMs = 250;  // ENTER/accept, NUM5
constexpr uint32_t kMoveRepeatMs = 100;      // UP/DOWN
constexpr uint32_t kStepRepeatMs = 140;      // LEFT/RIGHT on anything but a slider
constexpr uint32_t kFineStepRepeatMs = 90;   // slider with SHIFT
constexpr uint32_t kSlowStepRepeatMs = 75;   // slider, held up to kSlowHoldMs
constexpr uint32_t kMidStepRepeatMs = 45;    // slider, held up to kMidHoldMs
constexpr uint32_t kFastStepRepeatMs = 25;   // slider, held longer
constexpr uint32_t kSlowHoldMs = 600;
constexpr uint32_t kMidHoldMs = 1200;
constexpr float kMidStepMultiplier = 3.0f;
constexpr float kFastStepMultiplier = 8.0f;
constexpr float kFineStepFraction = 0.25f;   // SHIFT: a quarter step on a quarter-step grid
constexpr float kGridTolerance = 0.001f;     // of a grid step
constexpr float kOpenRate = 4.5f;            // open progress per second (about 0.22 s end to end)
constexpr float kMaxProgressStep = 0.1f;     // seconds
constexpr float kFirstProgressStep = 0.016f; // seconds

constexpr int kFirstCapturableKey = 5;  // below: mouse buttons and cancel, never bound
constexpr int kLastCapturableKey = 254;

// The controller buttons that can open the menu, in the order a capture tries them.
constexpr int kPadOpenCandidates[] = {kControlPadStart, kControlPadBack, kControlPadB, kControlPadX, kControlPadY,
                                      kControlPadLB, kControlPadRB, kControlPadLT, kControlPadRT, kControlPadL3,
                                      kControlPadR3, kControlPadDpadUp, kControlPadDpadDown, kControlPadDpadLeft,
                                      kControlPadDpadRight};
// Kept from the game in both control groups while the menu is open.
constexpr int kDisabledWhileOpen[] = {kControlFrontendUp, kControlFrontendDown, kControlFrontendLeft,
                                      kControlFrontendRight, kControlFrontendAccept, kControlFrontendCancel,
                                      kControlPadStart, kControlPadBack, kControlWeaponWheel, kControlVehicleDuck,
                                      kControlJump, kControlPhoneSelect, kControlPhoneCancel};

constexpr const char* kSoundSet = "HUD_FRONTEND_DEFAULT_SOUNDSET";

// Controller state.
uint32_t progressTick;   // last progress step, 0 = none
uint8_t resetConfirm;    // the "Reset All" dialog is shown
uint32_t toggleTimer;    // open/close, BACK, capture, dialog cancel
uint32_t selectTimer;    // ENTER/accept, NUM5, capture, dialog confirm
uint32_t moveTimer;      // UP/DOWN
uint32_t stepTimer;      // LEFT/RIGHT
uint32_t dialogTimer;    // dialog opened or answered
uint32_t holdStartLeft;  // when LEFT began to be held, 0 = released
uint32_t holdStartRight;

bool since(uint32_t timer, uint32_t ms) { return frameTick - timer > ms; }

void playSound(const char* name) { game::playSoundFrontend(-1, name, kSoundSet, true); }

int32_t cursorRow() {
    const MenuShared& m = menuShared;
    if (m.selectableCount <= 0 || m.cursor < 0 || m.cursor >= m.selectableCount) return -1;
    return m.selectable[m.cursor];
}

// The cursor's position for a table row in the list, or 0 when the row is not in it.
int32_t positionOf(int32_t row) {
    for (int32_t k = 0; k < menuShared.selectableCount; ++k)
        if (menuShared.selectable[k] == row) return k;
    return 0;
}

void closeMenu() {
    menuShared.open = 0;
    menuShared.closing = 1;
    progressTick = 0;
    if (!saveSettings()) postNotification(kSettingsNotSavedMessage);
}

void openMenu() {
    menuShared.open = 1;
    menuShared.closing = 0;
    menuShared.openProgress = 0.0f;
    progressTick = 0;
    menuRender.scrollPosition = 0.0f;
    menuRender.scrollTarget = 0.0f;
    menuRender.lastFrameTick = 0;
    menuRender.highlightTop = -1.0f;
    menuRender.lastSeenSection = -999;
    holdStartLeft = 0;
    holdStartRight = 0;
    menuShared.openSection = -1;
    rebuildSelectableRows();
    menuShared.cursor = 0;
}

void openSection(int32_t row) {
    menuShared.openSection = row;
    menuRender.scrollPosition = 0.0f;
    menuRender.scrollTarget = 0.0f;
    rebuildSelectableRows();
    menuShared.cursor = 0;
}

void leaveSection() {
    int32_t section = menuShared.openSection;
    menuShared.openSection = -1;
    menuRender.scrollPosition = 0.0f;
    menuRender.scrollTarget = 0.0f;
    rebuildSelectableRows();
    menuShared.cursor = positionOf(section);
}

void flipFlag(const MenuItem& item) {
    if (!item.flag) return;
    *item.flag ^= 1;
    if (item.flag == &BodycamMaster) syncLensEffect(BodycamMaster);
}

// A reveal row shows or hides rows below it; the cursor stays on the row itself.
void flipReveal(int32_t row) {
    flipFlag(menuItems[row]);
    rebuildSelectableRows();
    menuShared.cursor = positionOf(row);
}

// A capture that stored a binding: the sound, the notification, and both
// debounces restarted so the key or button just pressed acts on nothing else.
void confirmBinding(const char* message) {
    playSound("SELECT");
    postNotification(message);
    toggleTimer = frameTick;
    selectTimer = frameTick;
}

// Key capture: while capturing, the first held key from 5 to 254 (not ENTER) becomes the menu key.
void captureKey() {
    if (!menuShared.keyCapture) return;
    for (int vk = kFirstCapturableKey; vk <= kLastCapturableKey; ++vk) {
        if (vk == kVkEnter || !isKeyDown(vk)) continue;
        menuShared.keyCapture = 0;
        if (vk == kVkEscape) {
            playSound("BACK");
            return;
        }
        MenuKeyVK = vk;
        confirmBinding("~o~Zentravisor~s~ - Menu key set.");
        return;
    }
}

// Controller-button capture: while capturing with the controller active, the
// first candidate button pressed opens the menu from now on.
void capturePadButton(bool usingKeyboard) {
    if (!menuShared.padCapture || usingKeyboard) return;
    for (int control : kPadOpenCandidates) {
        if (!isJustPressedDisabledFirst(kControlGroupFrontend, control)) continue;
        PadOpenBtn = control;
        menuShared.padCapture = 0;
        confirmBinding("~o~Zentravisor~s~ - Controller button set.");
        return;
    }
}

// Open and close: the menu key (held) or the controller button (pressed) opens or closes the menu.
void toggleMenu(bool usingKeyboard) {
    bool input = isKeyDown(MenuKeyVK) ||
                 (!usingKeyboard && PadOpenBtn > 0 && isJustPressedDisabledFirst(kControlGroupFrontend, PadOpenBtn));
    if (!input || menuShared.keyCapture || menuShared.padCapture || !since(toggleTimer, kToggleDebounceMs)) return;
    if (menuShared.open) {
        closeMenu();
        playSound("BACK");
    } else if (!menuShared.closing) {
        openMenu();
        playSound("YES");
    }
    toggleTimer = frameTick;
}

// Keeps the game from acting on the menu's inputs this frame.
void disableMenuControls() {
    game::disableControlAction(kControlGroupPlayer, kControlPadDpadUp, true);
    game::disableControlAction(kControlGroupPlayer, kControlCharacterWheel, true);
    game::disableControlAction(kControlGroupFrontend, kControlPadDpadUp, true);
    for (int control : kDisabledWhileOpen) {
        game::disableControlAction(kControlGroupPlayer, control, true);
        game::disableControlAction(kControlGroupFrontend, control, true);
    }
}

struct PadInput {
    bool up, down, left, right, accept, cancel;
};

PadInput readPad(bool usingKeyboard) {
    if (usingKeyboard) return {};
    constexpr int group = kControlGroupFrontend;
    return {isPressedDisabledFirst(group, kControlFrontendUp),
            isPressedDisabledFirst(group, kControlFrontendDown),
            isPressedDisabledFirst(group, kControlFrontendLeft),
            isPressedDisabledFirst(group, kControlFrontendRight),
            isJustPressedDisabledFirst(group, kControlFrontendAccept),
            isJustPressedDisabledFirst(group, kControlFrontendCancel)};
}

void moveCursor(const PadInput& pad) {
    int32_t count = menuShared.selectableCount;
    if (count <= 0 || !since(moveTimer, kMoveRepeatMs)) return;
    if (isKeyDown(kVkUp) || pad.up)
        menuShared.cursor = (menuShared.cursor + count - 1) % count;
    else if (isKeyDown(kVkDown) || pad.down)
        menuShared.cursor = (menuShared.cursor + 1) % count;
    else
        return;
    moveTimer = frameTick;
    playSound("NAV_UP_DOWN");
}

float stepSlider(const MenuItem& item, bool left, bool shift, uint32_t held) {
    float m = shift ? kFineStepFraction : held <= kSlowHoldMs ? 1.0f : held <= kMidHoldMs ? kMidStepMultiplier : kFastStepMultiplier;
    float q = shift ? kFineStepFraction * item.step : item.step;
    float v = *item.value + (left ? -m : m) * item.step;
    v = v < item.min ? item.min : (v > item.max ? item.max : v);
    if (q > 0.0f) {
        v = std::floor((v - item.min) / q + 0.5f) * q + item.min;
        // Float rounding can leave the top grid point a hair below the maximum; it is the maximum.
        if (item.max - v < q * kGridTolerance) v = item.max;
    }
    return v < item.min ? item.min : (v > item.max ? item.max : v);
}

// LEFT/RIGHT with hold acceleration on sliders.
void stepValue(int32_t row, const PadInput& pad) {
    bool left = isKeyDown(kVkLeft) || pad.left;
    bool right = isKeyDown(kVkRight) || pad.right;
    if (!left) holdStartLeft = 0;
    else if (holdStartLeft == 0) holdStartLeft = frameTick;
    if (!right) holdStartRight = 0;
    else if (holdStartRight == 0) holdStartRight = frameTick;
    if (!(left || right) || row < 0) return;

    uint32_t held = left ? frameTick - holdStartLeft : frameTick - holdStartRight;
    const MenuItem& item = menuItems[row];
    bool shift = isKeyDown(kVkShift);
    uint32_t interval = kStepRepeatMs;
    if (item.kind == MenuItemKind::Slider)
        interval = shift ? kFineStepRepeatMs
                   : held <= kSlowHoldMs ? kSlowStepRepeatMs
                   : held <= kMidHoldMs  ? kMidStepRepeatMs
                                         : kFastStepRepeatMs;
    if (!since(stepTimer, interval)) return;

    // The row's step, then its sound: none for rows that LEFT and RIGHT leave alone.
    const char* sound = "NAV_LEFT_RIGHT";
    switch (item.kind) {
        case MenuItemKind::Slider:
            if (item.value) *item.value = stepSlider(item, left, shift, held);
            break;
        case MenuItemKind::Toggle: flipFlag(item); break;
        case MenuItemKind::Choice:
            if (item.choiceIndex && item.choiceCount > 0) {
                int32_t i = *item.choiceIndex + (right ? 1 : -1);
                *item.choiceIndex = i < 0 ? item.choiceCount - 1 : (i >= item.choiceCount ? 0 : i);
            }
            break;
        case MenuItemKind::RevealToggle: flipReveal(row); break;
        case MenuItemKind::Section:
            if (right) openSection(row);
            sound = right ? "SELECT" : nullptr;
            break;
        default: sound = nullptr; break;
    }
    if (sound) playSound(sound);
    stepTimer = frameTick;
}

void confirmRow(int32_t row, const PadInput& pad) {
    if (!(isKeyDown(kVkEnter) || pad.accept) || !since(selectTimer, kSelectDebounceMs)) return;
    if (row >= 0) {
        const MenuItem& item = menuItems[row];
        switch (item.kind) {
            case MenuItemKind::Toggle: flipFlag(item); break;
            case MenuItemKind::Action:
                resetConfirm = 1;
                dialogTimer = frameTick;
                break;
            case MenuItemKind::Section: openSection(row); break;
            case MenuItemKind::KeyBinding:
                menuShared.keyCapture = 1;
                menuShared.padCapture = 0;
                break;
            case MenuItemKind::PadBinding:
                menuShared.padCapture = 1;
                menuShared.keyCapture = 0;
                break;
            case MenuItemKind::RevealToggle: flipReveal(row); break;
            default: break;
        }
    }
    playSound("SELECT");
    selectTimer = frameTick;
}

void resetRowToDefault(int32_t row) {
    if (!isKeyDown(kVkNumpad5) || !since(selectTimer, kSelectDebounceMs)) return;
    if (row >= 0 && menuItems[row].kind == MenuItemKind::Slider && menuItems[row].value) {
        *menuItems[row].value = menuItems[row].defaultValue;
        postNotification("~o~Zentravisor~s~ - Value reset to default.");
        playSound("NAV_LEFT_RIGHT");
    }
    selectTimer = frameTick;
}

void goBack(const PadInput& pad) {
    if (!(isKeyDown(kVkBackspace) || pad.cancel) || !since(toggleTimer, kToggleDebounceMs)) return;
    if (menuShared.openSection >= 0)
        leaveSection();
    else
        closeMenu();
    playSound("BACK");
    toggleTimer = frameTick;
}

void runController(bool usingKeyboard) {
    PadInput pad = readPad(usingKeyboard);  // controller inputs, all off while the keyboard is active
    moveCursor(pad);                        // UP/DOWN, wrapping
    int32_t row = cursorRow();              // the row the rest of this pass acts on
    stepValue(row, pad);                    // LEFT/RIGHT
    confirmRow(row, pad);                   // ENTER/accept
    resetRowToDefault(row);                 // NUM5
    goBack(pad);                            // BACKSPACE/cancel
}

// Answers the "Reset All" dialog; only the keyboard can.
void runResetDialog() {
    if (isKeyDown(kVkEnter) && since(dialogTimer, kToggleDebounceMs)) {
        resetAllSettings();
        syncLensEffect(BodycamMaster);
        stopRendering();
        postNotification("~o~Zentravisor~s~ - All settings restored to defaults.");
        playSound("SELECT");
        resetConfirm = 0;
        dialogTimer = frameTick;
        selectTimer = frameTick;
    } else if (isKeyDown(kVkBackspace) && since(dialogTimer, kToggleDebounceMs)) {
        playSound("BACK");
        resetConfirm = 0;
        dialogTimer = frameTick;
        toggleTimer = frameTick;
    }
}

void drawResetDialog() {
    // Screen dimming: the whole screen, not mapped to the panel, faded with the menu.
    game::drawRect(0.5f, 0.5f, 1.0f, 1.0f, 0, 0, 0, menuAlpha(150));
    drawMenuRect(0.504f, 0.505f, 0.268f, 0.16f, 0, 0, 0, 150);       // shadow
    drawMenuRect(0.5f, 0.5f, 0.26f, 0.15f, 17, 17, 19, 252);         // panel
    drawMenuRect(0.5f, 0.445f, 0.26f, 0.04f, 13, 13, 16, 255);       // title band
    drawMenuRect(0.5f, 0.445f, 0.26f, 0.04f, 224, 82, 82, 26);       // title band tint
    drawMenuRect(0.5f, 0.465f, 0.26f, 0.002f, 224, 82, 82, 220);     // title underline
    drawMenuRect(0.5f, 0.425f, 0.26f, 0.001f, 224, 82, 82, 170);     // top edge
    drawMenuRect(0.5f, 0.575f, 0.26f, 0.001f, 224, 82, 82, 170);     // bottom edge
    drawMenuRect(0.37f, 0.5f, 0.001f, 0.15f, 224, 82, 82, 170);      // left edge
    drawMenuRect(0.63f, 0.5f, 0.001f, 0.15f, 224, 82, 82, 170);      // right edge
    drawMenuText("Reset All", 0.5f, 0.432f, 0.42f, 224, 82, 82, 255, true);
    drawMenuText("Are you sure?", 0.5f, 0.48f, 0.36f, 255, 255, 255, 240, true);
    drawMenuText("All settings will return to defaults.", 0.5f, 0.504f, 0.3f, 180, 178, 172, 220, true);
    drawMenuRect(0.44f, 0.555f, 0.056f, 0.025f, 76, 175, 130, 42);   // yes button
    drawMenuRect(0.56f, 0.555f, 0.056f, 0.025f, 30, 30, 34, 170);    // cancel button
    drawMenuText("[ENTER] YES", 0.44f, 0.545f, 0.3f, 76, 175, 130, 255, true);
    drawMenuText("[BKSP] CANCEL", 0.56f, 0.545f, 0.3f, 180, 178, 172, 255, true);
}

// Advances the open/close animation on the pass's tick and draws the menu.
void stepProgressAndDraw() {
    float dt = secondsSinceLast(progressTick, kFirstProgressStep, kMaxProgressStep);
    float& p = menuShared.openProgress;
    if (menuShared.closing) {
        p -= kOpenRate * dt;
        if (p <= 0.0f) {
            p = 0.0f;
            menuShared.closing = 0;
            return;
        }
    } else {
        p += kOpenRate * dt;
        if (p > 1.0f) p = 1.0f;
    }
    if (p > 0.001f) drawMenu();
}

}  // namespace

void rebuildSelectableRows() {
    menuShared.selectableCount = 0;
    for (int32_t r = 0; r < kMenuRowCount; ++r)
        if (isMenuRowVisible(r) && menuItems[r].kind != MenuItemKind::Label)
            menuShared.selectable[menuShared.selectableCount++] = r;
}

void updateMenu() {
    // Which device the game reads this frame.
    bool usingKeyboard = game::isUsingKeyboardAndMouse(kControlGroupFrontend);
    captureKey();                      // a pending menu-key capture
    capturePadButton(usingKeyboard);   // a pending controller-button capture
    toggleMenu(usingKeyboard);         // open or close
    if (!menuShared.open && !menuShared.closing) return;  // nothing on screen

    // The open menu takes its inputs from the game and handles them.
    if (menuShared.open) {
        disableMenuControls();         // the game ignores the menu's keys and buttons this frame
        if (resetConfirm) {
            runResetDialog();          // ENTER resets every setting, BACKSPACE cancels
            stepProgressAndDraw();     // the menu under the dialog
            drawResetDialog();         // the dialog over it
            return;
        }
        runController(usingKeyboard);  // cursor, values, sections, bindings, back
    }
    // The open/close animation and the menu's frame.
    stepProgressAndDraw();
}

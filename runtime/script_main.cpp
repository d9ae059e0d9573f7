// The script main: start-up once, then one pass per game frame, forever.
#include "recorder/recorder.h"
#include "runtime/clock.h"
#include "runtime/hook.h"
#include "runtime/input.h"
#include "runtime/runtime.h"
#include "camera/camera.h"
#include "menu/menu.h"
#include "overlay/overlay.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

uint32_t frameTick;
MenuShared menuShared = {.open = 0, .closing = 0, .openProgress = 0.0f, .openSection = -1, .selectable = {},
                         .selectableCount = 0, .cursor = 0, .keyCapture = 0, .padCapture = 0};

namespace {

// The clock and the window in front, read once for everything that follows.
void readClockAndFocus() {
    frameTick = readMillisecondClock();  // the one tick every timer of this pass compares against
    if (frameTick == 0) frameTick = 1;   // 0 stands for "none" in stored ticks; the wrap's 0 reads as 1
    readGameFocus();                     // whether keys typed now are meant for the game
}

void startUp() {
    buildSettingsPath();       // path of the settings file beside the game executable
    const bool templateOk = writeSettingsTemplate();  // the default file, only when none exists
    recordStart(settingsFilePath());  // trace build: the trace file, with the settings file as loaded
    const bool loadOk = loadSettings();  // all 72 settings, clamped, with the binding migration
    if (!templateOk || !loadOk) postNotification(kSettingsNotSavedMessage);  // once: this folder keeps no changes
    readClockAndFocus();       // the lens press below is timed and gated as in a pass
    syncLensEffect(BodycamMaster);  // the injector's lens effect follows the loaded switch
    rebuildSelectableRows();   // the section list's rows, so the cursor has somewhere to be
}

void runFramePass() {
    readClockAndFocus();            // the frame tick and the focus
    updateLensKey();                // F10 up once held long enough; the next waiting press down
    updateMenu();                   // captures, open/close, controller, drawing
    updateCamera();                 // the first-person camera, menu open or not
    // Overlays only while the scripted camera renders; the flag is tested again
    // before each because each step may stop the camera.
    if (cameraRendering) updateDamageGlitch();  // the glitch post-effect on a health loss
    if (cameraRendering) drawTracers();         // bullet tracers in flight
    if (cameraRendering) drawCrosshair();       // the dot at the aim point
}

}  // namespace

void scriptMain() {
    startUp();
    for (;;) {
        runFramePass();
        recordFrameEnd();  // trace build: the frame's records are complete
        scriptWait(0);  // yield to the game until the next frame
    }
}

// The crosshair: a small white dot where the camera's aim ray meets the world,
// or at the screen centre when that point is not known (and always in a
// vehicle), shown while the player holds a weapon.
#include <cmath>

#include "camera/aiming.h"
#include "overlay/overlay.h"
#include "overlay/tracers.h"
#include "runtime/control_queries.h"
#include "runtime/controls.h"
#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "settings/settings.h"
#include "weapon/weapon.h"

namespace {

constexpr float kScreenCentre = 0.5f;
constexpr float kScreenEdgeMin = 0.02f;  // the dot stays this far inside the screen
constexpr float kScreenEdgeMax = 0.98f;
constexpr float kDotWidth = 0.0012f;     // screen fractions: about 2.3 pixels square at 1920x1080
constexpr float kDotHeight = 0.0021f;
constexpr int kDotRed = 255, kDotGreen = 255, kDotBlue = 255, kDotAlpha = 230;

// Where the aim point lands on screen, kept inside the edges; the centre when
// there is no aim point this frame or it lies behind the camera.
void aimPointOnScreen(float& x, float& y) {
    x = kScreenCentre;
    y = kScreenCentre;
    if (!aimPointValid) return;
    float sx = 0.0f, sy = 0.0f;
    if (!game::getScreenCoordFromWorldCoord(aimPoint.x, aimPoint.y, aimPoint.z, &sx, &sy)) return;
    if (!std::isfinite(sx) || !std::isfinite(sy)) return;
    x = clampf(sx, kScreenEdgeMin, kScreenEdgeMax);
    y = clampf(sy, kScreenEdgeMin, kScreenEdgeMax);
}

void drawDot(float x, float y) {
    game::drawRect(x, y, kDotWidth, kDotHeight, kDotRed, kDotGreen, kDotBlue, kDotAlpha);
}

}  // namespace

void drawCrosshair() {
    if (Crosshair != 1) return;
    // Only with a weapon in hand.
    Ped ped = game::playerPedId();
    if (!isArmed(currentWeapon(ped))) return;
    bool aiming = isPressedDisabledFirst(kControlGroupPlayer, kControlAim);
    // In a vehicle: centred, and only while aiming.
    if (game::isPedInAnyVehicle(ped, false)) {
        if (aiming) drawDot(kScreenCentre, kScreenCentre);
        return;
    }
    // On foot: the ADS rule outranks the aim rule.
    bool show = CrosshairOnlyADS == 1 ? adsActive != 0 : (CrosshairOnlyAimed == 1 ? aiming : true);
    if (!show) return;
    float x, y;
    aimPointOnScreen(x, y);
    drawDot(x, y);
}

// The damage glitch: when the player loses health, the view breaks up like a
// damaged camera feed for a short window (the game's "dont_tazeme_bro"
// full-screen post-effect, started once per window and stopped at its end).
#include "overlay/overlay.h"
#include "runtime/natives.h"
#include "runtime/runtime.h"
#include "settings/settings.h"

uint8_t damageGlitchRunning;

namespace {

constexpr const char* kGlitchEffect = "dont_tazeme_bro";
constexpr int32_t kMinHealthLoss = 3;     // points lost since the last poll that count as a hit
constexpr uint32_t kGlitchWindowMs = 350;  // from the latest hit

int32_t previousHealth = -1;  // health at the last poll; below 0 = none yet
uint8_t glitchWindowOpen;     // a hit's window has not yet ended
uint32_t glitchEndTick;       // meaningful only while the window is open

// Polls the player's health; a loss of 3 points or more opens (or extends)
// the window. Death is not polled: the rig stops rendering in the very pass
// the player dies, before the overlays run, so this step never sees a dead
// player, and the blow that kills never glitches.
void pollHealth(uint32_t now) {
    int32_t health = game::getEntityHealth(game::playerPedId());
    int32_t previous = previousHealth < 0 ? health : previousHealth;
    if (int64_t{health} <= int64_t{previous} - kMinHealthLoss) {
        glitchEndTick = now + kGlitchWindowMs;
        glitchWindowOpen = 1;
    }
    previousHealth = health;
}

}  // namespace

void updateDamageGlitch() {
    uint32_t now = frameTick;
    // A hit opens a window.
    if (DamageGlitch == 1) pollHealth(now);
    // The window ends at its end tick (a wrap-safe comparison).
    if (glitchWindowOpen && static_cast<int32_t>(now - glitchEndTick) >= 0) glitchWindowOpen = 0;
    // The effect follows the window: one start, one stop.
    if (DamageGlitch == 1 && glitchWindowOpen) {
        if (!damageGlitchRunning) {
            game::animpostfxPlay(kGlitchEffect, 0, true);
            damageGlitchRunning = 1;
        }
    } else if (damageGlitchRunning) {
        stopDamageGlitch();
    }
}

void stopDamageGlitch() {
    if (!damageGlitchRunning) return;
    game::animpostfxStop(kGlitchEffect);
    damageGlitchRunning = 0;
}

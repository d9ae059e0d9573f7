// The keyboard and mouse buttons as the player means them: GetAsyncKeyState
// reports keys typed into any window, so a key counts only while the game's
// window is in front, and never while the plug-in itself holds it down.
#pragma once
#include <cstdint>

// 1 while the window in front belongs to the game's process, or no window is
// in front at all; read once per pass, after the frame tick.
extern uint8_t gameInFront;
void readGameFocus();

// The key or mouse button (a Windows virtual-key code) is held, for the player.
bool isKeyDown(int virtualKey);

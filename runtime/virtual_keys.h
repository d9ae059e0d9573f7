// Windows virtual-key codes of the keys and mouse buttons the plug-in reads,
// as GetAsyncKeyState takes them.
#pragma once

constexpr int kVkLeftMouse = 0x01;
constexpr int kVkRightMouse = 0x02;
constexpr int kVkBackspace = 0x08;
constexpr int kVkEnter = 0x0D;
constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkAlt = 0x12;  // VK_MENU
constexpr int kVkEscape = 0x1B;
constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;
constexpr int kVkV = 0x56;
constexpr int kVkNumpad0 = 0x60;
constexpr int kVkNumpad5 = 0x65;
constexpr int kVkF6 = 0x75;
constexpr int kVkF10 = 0x79;

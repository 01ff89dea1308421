// Key codes and mouse buttons as the game and its forms number them, whatever the host.
#pragma once

#include "types.h"

namespace platform {

constexpr Integer vbKeyBack = 8;
constexpr Integer vbKeyTab = 9;
constexpr Integer vbKeyReturn = 13;
constexpr Integer vbKeyEscape = 27;
constexpr Integer vbKeySpace = 32;
constexpr Integer vbKeyLeft = 37;
constexpr Integer vbKeyUp = 38;
constexpr Integer vbKeyRight = 39;
constexpr Integer vbKeyDown = 40;
// Digits are their characters ('0' is 48) and letters their capitals ('A' is 65).

constexpr Integer vbLeftButton = 1;
constexpr Integer vbRightButton = 2;
constexpr Integer vbMiddleButton = 4;
constexpr Integer vbXButton1 = 8;  // the extra side buttons, "back" and "forward"
constexpr Integer vbXButton2 = 16;
constexpr Integer vbOtherButton = 32;  // any further one: still "not the left one" to the game

constexpr Integer vbShiftMask = 1;
constexpr Integer vbCtrlMask = 2;
constexpr Integer vbAltMask = 4;

}  // namespace platform

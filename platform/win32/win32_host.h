// What the Windows host's own files share. Private to platform/win32.
#pragma once

#include <cstdint>

#include "platform/types.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// The one window class every game window is made from; InitVideo registers it.
extern const char kWindowClass[];
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WIN32_HOST_HIDDEN_WINDOWS set: windows are made but never shown, so that tests under Wine pop
// nothing up and no error box waits for a click.
bool HiddenWindows();

// The key code of keys.h for a virtual key; 0 for a key the game has no name for.
Integer KeyCodeOf(uint32_t virtualKey);
// The button a mouse button message is about, and the buttons a message's key state holds.
Integer ButtonOf(UINT message, WPARAM wParam);
Integer HeldButtons(WPARAM keyState);

// Whether SwitchDisplay has the real display at a mode of the game's.
bool DisplaySwitched();

}  // namespace platform::win32

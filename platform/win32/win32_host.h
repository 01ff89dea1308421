// What the Windows host's own files share. Private to platform/win32.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"
#include "windows_api.h"

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
// While the game is not the foreground program its full-screen mode gives way to the desktop's,
// and the pointer is neither hidden nor confined; both come back when it is again.
void SetForeground(bool foreground);
bool Foreground();

// Messages about a window as a whole (focus, DPI, the display): false for any other message.
bool WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// A point in a window of ours to its form's client area: they differ where the frame is scaled.
void ToClient(HWND window, int& x, int& y);
// The window has to be painted anew: the next present shows all of it.
void Exposed(HWND window);
// Hands every message waiting to its window's procedure, which queues what it means as input.
void PumpMessages();
// Whether a message queued input since the last call.
bool InputQueued();
// Releases every button the window's pointer still holds, as input events.
void ReleaseButtons(HWND window);

// The calls the host makes through here rather than directly, so that a test can record them.
struct SystemCalls {
    BOOL(WINAPI* clipCursor)(const ::RECT*);
    int(WINAPI* showCursor)(BOOL);
    BOOL(WINAPI* playSound)(LPCWSTR, UINT);
    UINT(WINAPI* soundDevices)();
    UINT(WINAPI* dpiOf)(HWND);
    void (*busyWait)(unsigned attempt);  // between tries at a file another program holds
};
SystemCalls& Calls();

// The sound heard now, "" when none; the sound stopped at the end of the loop.
std::string NowPlaying();
void ShutdownSound();

// The game's UTF-8 texts and paths to Windows' UTF-16 and back.
std::wstring Wide(const std::string& text);
std::string Utf8(const wchar_t* text, size_t length);

}  // namespace platform::win32

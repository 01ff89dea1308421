// The screen as Windows knows it: its modes, a real mode switch for the game, and the pointer.
#include <cstring>

#include "platform/host.h"
#include "win32_host.h"

namespace platform {

namespace {

bool g_switched = false;
DisplaySize g_desktop{0, 0};  // the desktop's size, kept while the display is at the game's mode
::DEVMODEA g_mode{};          // the game's mode, set again when the game is back in front
bool g_foreground = true;
bool g_pointerShown = true;  // as the game last asked

// Leaves the real cursor's display count at 0 (shown) or -1 (hidden), however it stood.
void SetPointer(bool shown) {
    const auto show = win32::Calls().showCursor;
    if (shown) {
        int count = show(TRUE);
        while (count < 0) count = show(TRUE);
        while (count > 0) count = show(FALSE);
    } else {
        int count = show(FALSE);
        while (count >= 0) count = show(FALSE);
        while (count < -1) count = show(TRUE);
    }
}

// The display's own mode of this size, at the desktop's colour depth where it has one.
bool FindMode(int32_t width, int32_t height, ::DEVMODEA& found) {
    ::DEVMODEA current{};
    current.dmSize = sizeof current;
    const bool known = ::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current);
    bool any = false;
    ::DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; ::EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
        if (static_cast<int32_t>(mode.dmPelsWidth) != width ||
            static_cast<int32_t>(mode.dmPelsHeight) != height)
            continue;
        if (known && mode.dmBitsPerPel == current.dmBitsPerPel) {
            found = mode;
            return true;
        }
        if (!any) found = mode;
        any = true;
    }
    return any;
}

}  // namespace

bool win32::DisplaySwitched() {
    return g_switched;
}

DisplaySize host::DesktopSize() {
    if (g_switched) return g_desktop;
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool host::DisplayModeAt(uint32_t index, DisplayMode& mode) {
    ::DEVMODEA found{};
    found.dmSize = sizeof found;
    if (!::EnumDisplaySettingsA(nullptr, index, &found)) return false;
    mode = {static_cast<int32_t>(found.dmPelsWidth), static_cast<int32_t>(found.dmPelsHeight),
            found.dmBitsPerPel, found.dmDisplayFrequency,
            std::string(reinterpret_cast<const char*>(found.dmDeviceName),
                        strnlen(reinterpret_cast<const char*>(found.dmDeviceName),
                                sizeof found.dmDeviceName))};
    return true;
}

// A temporary change, gone when the program ends. Where the display has no such mode, or refuses
// it, the game's window still fills the screen, letterboxed (window.cpp).
void host::SwitchDisplay(int32_t width, int32_t height) {
    if (width == 0 || height == 0) {
        if (g_switched && g_foreground) ::ChangeDisplaySettingsA(nullptr, 0);
        g_switched = false;
        return;
    }
    const DisplaySize desktop = DesktopSize();
    ::DEVMODEA mode{};
    if (!FindMode(width, height, mode)) return;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
    // Behind another program the mode waits until the game is back in front.
    if (g_foreground && ::ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL)
        return;
    if (!g_switched) g_desktop = desktop;
    g_switched = true;
    g_mode = mode;
}

// Alt+Tab, Win+D, a locked screen or an elevation prompt: the player gets the desktop as it was,
// and the game its mode back when it returns to the front.
void win32::SetForeground(bool foreground) {
    if (foreground == g_foreground) return;
    g_foreground = foreground;
    if (g_switched)
        ::ChangeDisplaySettingsA(foreground ? &g_mode : nullptr, foreground ? CDS_FULLSCREEN : 0u);
    SetPointer(!foreground || g_pointerShown);
}

bool win32::Foreground() {
    return g_foreground;
}

// A hidden pointer stays hidden only while the game is in front.
void host::ShowPointer(bool shown) {
    g_pointerShown = shown;
    SetPointer(shown || !g_foreground);
}

}  // namespace platform

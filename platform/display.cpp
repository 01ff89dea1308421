#include "display.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "app.h"
#include "constants.h"
#include "desktop.h"
#include "form.h"
#include "host.h"

namespace platform {

namespace {

bool g_changed = false;  // the game has asked for a size other than the desktop's
DisplaySize g_asked{0, 0};

void RefitWindows() {
    for (Form* form : LoadedForms())
        if (form->Window()) form->Window()->FitDisplay();
}

}  // namespace

DisplaySize DesktopSize() {
    InitVideo();
    return host::DesktopSize();
}

DisplaySize CurrentDisplaySize() {
    return g_changed ? g_asked : DesktopSize();
}

bool ShowsFullScreen(int width, int height, bool borderless) {
    const DisplaySize asked = CurrentDisplaySize();
    const DisplaySize desktop = DesktopSize();
    return borderless && asked.width == width && asked.height == height &&
           (asked.width != desktop.width || asked.height != desktop.height);
}

Letterbox FitInside(int width, int height, int outerWidth, int outerHeight) {
    // As large as fits, same shape, centred: black bars where the shapes differ.
    const double scale = std::min(double(outerWidth) / width, double(outerHeight) / height);
    const int w = static_cast<int>(width * scale), h = static_cast<int>(height * scale);
    return {(outerWidth - w) / 2, (outerHeight - h) / 2, w, h};
}

int32_t EnumDisplaySettingsA(const char* deviceName, uint32_t modeNum, DEVMODEA* mode) {
    InitVideo();
    host::DisplayMode found;
    if (deviceName || !host::DisplayModeAt(modeNum, found)) return 0;
    std::memset(mode->dmDeviceName, 0, sizeof mode->dmDeviceName);
    std::strncpy(mode->dmDeviceName, found.device.c_str(), sizeof mode->dmDeviceName - 1);
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmDriverExtra = 0;
    mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    mode->dmBitsPerPel = found.bitsPerPixel;
    mode->dmPelsWidth = static_cast<uint32_t>(found.width);
    mode->dmPelsHeight = static_cast<uint32_t>(found.height);
    mode->dmDisplayFrequency = found.frequency;
    return 1;
}

int32_t ChangeDisplaySettingsA(const DEVMODEA* mode, uint32_t) {
    if (!(mode->dmFields & DM_PELSWIDTH) || !(mode->dmFields & DM_PELSHEIGHT) ||
        mode->dmPelsWidth == 0 || mode->dmPelsHeight == 0 || mode->dmPelsWidth > 16384 ||
        mode->dmPelsHeight > 16384)
        return DISP_CHANGE_BADMODE;
    const DisplaySize desktop = DesktopSize();
    g_asked = {static_cast<int32_t>(mode->dmPelsWidth), static_cast<int32_t>(mode->dmPelsHeight)};
    g_changed = g_asked.width != desktop.width || g_asked.height != desktop.height;
    host::SwitchDisplay(g_changed ? g_asked.width : 0, g_changed ? g_asked.height : 0);
    RefitWindows();
    return DISP_CHANGE_SUCCESSFUL;
}

void RestoreDisplayMode() {
    if (std::exchange(g_changed, false)) host::SwitchDisplay(0, 0);
    RefitWindows();
}

}  // namespace platform

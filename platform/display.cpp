#include "display.h"

#include <SDL.h>

#include <cstring>

#include "app.h"
#include "form.h"
#include "window.h"

namespace platform {

namespace {

std::vector<DisplayRequest> g_requests;
bool g_changed = false;  // the game has asked for a size other than the desktop's
DisplaySize g_asked{0, 0};

void RefitWindows() {
    for (Form* form : LoadedForms())
        if (form->Window()) form->Window()->FitDisplay();
}

}  // namespace

DisplaySize DesktopSize() {
    InitVideo();
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {640, 480};
    return {mode.w, mode.h};
}

DisplaySize CurrentDisplaySize() {
    return g_changed ? g_asked : DesktopSize();
}

int32_t EnumDisplaySettingsA(const char* deviceName, uint32_t modeNum, DEVMODEA* mode) {
    InitVideo();
    SDL_DisplayMode found;
    if (deviceName || SDL_GetDisplayMode(0, static_cast<int>(modeNum), &found) != 0) return 0;
    std::memset(mode->dmDeviceName, 0, sizeof mode->dmDeviceName);
    if (const char* name = SDL_GetDisplayName(0))
        std::strncpy(mode->dmDeviceName, name, sizeof mode->dmDeviceName - 1);
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmDriverExtra = 0;
    mode->dmFields = 0x00040000 | DM_PELSWIDTH | DM_PELSHEIGHT | 0x00400000;
    mode->dmBitsPerPel = SDL_BITSPERPIXEL(found.format);
    mode->dmPelsWidth = static_cast<uint32_t>(found.w);
    mode->dmPelsHeight = static_cast<uint32_t>(found.h);
    mode->dmDisplayFrequency = static_cast<uint32_t>(found.refresh_rate);
    return 1;
}

int32_t ChangeDisplaySettingsA(const DEVMODEA* mode, uint32_t flags) {
    g_requests.push_back({mode->dmFields, mode->dmPelsWidth, mode->dmPelsHeight, flags});
    if (!(mode->dmFields & DM_PELSWIDTH) || !(mode->dmFields & DM_PELSHEIGHT) ||
        mode->dmPelsWidth == 0 || mode->dmPelsHeight == 0 || mode->dmPelsWidth > 16384 ||
        mode->dmPelsHeight > 16384)
        return DISP_CHANGE_BADMODE;
    const DisplaySize desktop = DesktopSize();
    g_asked = {static_cast<int32_t>(mode->dmPelsWidth), static_cast<int32_t>(mode->dmPelsHeight)};
    g_changed = g_asked.width != desktop.width || g_asked.height != desktop.height;
    RefitWindows();
    return DISP_CHANGE_SUCCESSFUL;
}

const std::vector<DisplayRequest>& DisplayRequests() {
    return g_requests;
}

void ResetDisplayState() {
    g_requests.clear();
    g_changed = false;
    RefitWindows();
}

}  // namespace platform

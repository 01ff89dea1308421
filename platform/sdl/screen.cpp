// The screen as SDL knows it: its modes and the pointer over it. SDL changes the mode itself when a
// full-screen window asks for one (see window.cpp), so switching here has nothing to do.
#include <SDL.h>

#include "platform/host.h"

namespace platform {

DisplaySize host::DesktopSize() {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {640, 480};
    return {mode.w, mode.h};
}

bool host::DisplayModeAt(uint32_t index, DisplayMode& mode) {
    SDL_DisplayMode found;
    if (SDL_GetDisplayMode(0, static_cast<int>(index), &found) != 0) return false;
    const char* name = SDL_GetDisplayName(0);
    mode = {found.w, found.h, SDL_BITSPERPIXEL(found.format),
            static_cast<uint32_t>(found.refresh_rate), name ? name : ""};
    return true;
}

void host::SwitchDisplay(int32_t, int32_t) {}

void host::ShowPointer(bool shown) {
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace platform

// Starting and stopping SDL's video, and telling a display a player sees from a test's.
#include <SDL.h>

#include <cstring>
#include <string>

#include "platform/error.h"
#include "platform/host.h"
#include "platform/identity.h"
#include "sound_device.h"
#include "x11_watch.h"

namespace platform {

void host::StartVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return;
    // Before the first window and any change of mode: a signal that comes before the loop runs
    // (a background job starts with SIGQUIT ignored) still ends the game with the desktop back.
    host::InstallSignalHandlers();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_APP_NAME, Program().title.c_str());
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", Program().stem.c_str(), 0);
    // Frames go to the window through the display's own framebuffer (X11 shared memory): SDL's
    // default would emulate it with an OpenGL texture, loading a software GL stack (tens of MB,
    // a slower start) that draws nothing the game needs.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
    FilterDisplayErrors();  // first: the video system keeps it to put back when it stops
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw RuntimeError(kNoDisplay, std::string("Cannot open the display: ") + SDL_GetError());
    const std::string driver = SDL_GetCurrentVideoDriver();
    // Wayland without XWayland has no such framebuffer; there SDL's emulation is the only way to
    // show a frame at all.
    if (driver == "wayland") SDL_ResetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    // Without a display the video system falls back on drawing off screen, where nobody would see
    // the game: unless that was asked for (as the tests do), there is no display.
    if (driver == "offscreen" && !SDL_GetHint(SDL_HINT_VIDEODRIVER)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        const char* display = SDL_getenv("DISPLAY");
        throw RuntimeError(kNoDisplay,
                           display && *display
                               ? "Cannot open the display '" + std::string(display) + "'"
                               : std::string("Cannot open a display: DISPLAY is not set"));
    }
    WatchDisplayConnection();
}

bool host::VideoStarted() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

bool host::PlayerCanSee() {
    try {
        StartVideo();
    } catch (const std::exception&) {
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

void host::StopVideo() {
    // Sound first, so that SDL_Quit never closes the device under the sound thread. Audio still up
    // after that is a device a stalled sound server holds, which SDL_Quit would wait on for good:
    // then only video goes, and the device goes with the program.
    ShutdownSound();
    if (!VideoStarted()) return;
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    else
        SDL_Quit();
}

}  // namespace platform

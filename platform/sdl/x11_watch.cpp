#include "platform/sdl/x11_watch.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/identity.h"  // before Xlib, whose macros would rename its members

namespace platform {

namespace {

// Xlib's own handler calls exit(): the exit handlers then tear the windows down over the dead
// connection, and Xlib spins for ever reading from it. Nothing is left to put back: the display
// mode, the cursor and its clip lived on the server and went with it.
int OnConnectionLost(Display* display) {
    const char* name = display ? DisplayString(display) : nullptr;
    std::fprintf(stderr, "%s: lost the connection to the display '%s'\n", Program().title.c_str(),
                 name && *name ? name : "");
    _exit(1);
}

XErrorHandler g_videoErrorHandler = nullptr;

// The video system wakes a waiting event loop by sending an event to one of the game's windows
// from another thread; on its own connection that nudge can reach the server just after the
// window closed. A nudge that finds no window is harmless: only that error is passed over.
int OnProtocolError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return g_videoErrorHandler ? g_videoErrorHandler(display, error) : 0;
}

}  // namespace

void WatchDisplayConnection() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return;
    // A write to the closed connection must fail and reach the handler, not kill the game
    // silently.
    std::signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(OnConnectionLost);
    g_videoErrorHandler = XSetErrorHandler(OnProtocolError);
}

}  // namespace platform

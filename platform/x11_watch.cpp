#include "x11_watch.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

// Xlib's own handler calls exit(): the exit handlers then tear the windows down over the dead
// connection, and Xlib spins for ever reading from it. Nothing is left to put back: the display
// mode, the cursor and its clip lived on the server and went with it.
int OnConnectionLost(Display* display) {
    const char* name = display ? DisplayString(display) : nullptr;
    std::fprintf(stderr, "Puffpop: lost the connection to the display '%s'\n",
                 name && *name ? name : "");
    _exit(1);
}

}  // namespace

void WatchDisplayConnection() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return;
    // A write to the closed connection must fail and reach the handler, not kill the game
    // silently.
    std::signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(OnConnectionLost);
}

}  // namespace platform

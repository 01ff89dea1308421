#include "x11_watch.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/identity.h"  // before Xlib, whose macros would rename its members

namespace platform {

namespace {

volatile std::sig_atomic_t g_connection = -1;  // the socket of the windows' connection
volatile std::sig_atomic_t g_dropped = 0;

// Xlib's own handler calls exit(): the exit handlers then tear the windows down over the dead
// connection, and Xlib spins for ever reading from it. Nothing is left to put back: the display
// mode, the cursor and its clip lived on the server and went with it.
int OnConnectionLost(Display* display) {
    // Dropped by a crash's handler on another thread: that thread ends the process, with the
    // crash's own status.
    while (g_dropped) pause();
    const char* name = display ? DisplayString(display) : nullptr;
    std::fprintf(stderr, "%s: lost the connection to the display '%s'\n", Program().title.c_str(),
                 name && *name ? name : "");
    _exit(1);
}

XErrorHandler g_xlibErrorHandler = nullptr;
XErrorHandler g_videoErrorHandler = nullptr;

// The video system wakes a waiting event loop by sending an event to one of the game's windows
// from another thread; on its own connection that nudge can reach the server just after the
// window closed, and its error is read only when that connection closes. A nudge that finds no
// window is harmless: only that error is passed over.
bool IsNudge(const XErrorEvent* error) {
    return error->error_code == BadWindow && error->request_code == X_SendEvent;
}
int OnProtocolError(Display* display, XErrorEvent* error) {
    if (IsNudge(error)) return 0;
    return g_videoErrorHandler ? g_videoErrorHandler(display, error) : 0;
}
int OnProtocolErrorBeneathVideo(Display* display, XErrorEvent* error) {
    if (IsNudge(error)) return 0;
    return g_xlibErrorHandler ? g_xlibErrorHandler(display, error) : 0;
}

}  // namespace

void FilterDisplayErrors() {
    if (!g_xlibErrorHandler) g_xlibErrorHandler = XSetErrorHandler(OnProtocolErrorBeneathVideo);
}

void WatchDisplayConnection() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return;
    // A write to the closed connection must fail and reach the handler, not kill the game
    // silently.
    std::signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(OnConnectionLost);
    g_videoErrorHandler = XSetErrorHandler(OnProtocolError);
}

std::string WatchWindow(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return "";
    g_connection = ConnectionNumber(info.info.x11.display);
    return DisplayString(info.info.x11.display);
}

void DropDisplayConnection() {
    if (g_connection < 0) return;
    g_dropped = 1;
    shutdown(g_connection, SHUT_RDWR);
}

}  // namespace platform

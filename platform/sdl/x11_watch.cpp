#include "x11_watch.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <poll.h>
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
Display* g_display = nullptr;  // the windows' connection, while video runs

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
    g_display = nullptr;  // until a window of this video system tells it
    XSetIOErrorHandler(OnConnectionLost);
    g_videoErrorHandler = XSetErrorHandler(OnProtocolError);
}

std::string WatchWindow(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return "";
    g_display = info.info.x11.display;
    g_connection = ConnectionNumber(g_display);
    return DisplayString(g_display);
}

int WaitForDisplayInput(int timeoutMs) {
    if (!g_display) return -1;
    // Events already read off the socket (with a reply, say) wait in Xlib's queue or SDL's.
    if (XEventsQueued(g_display, QueuedAlready) > 0 || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
        return 1;
    // Nothing waits to be sent: the video system flushes after each thing it asks of the server.
    pollfd connection{ConnectionNumber(g_display), POLLIN, 0};
    return poll(&connection, 1, timeoutMs) == 0 ? 0 : 1;
}

void DropDisplayConnection() {
    if (g_connection < 0) return;
    g_dropped = 1;
    shutdown(g_connection, SHUT_RDWR);
}

}  // namespace platform

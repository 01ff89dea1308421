// The guardian's side: a copy of the game that only keeps the desktop's display mode (see
// display_guard.h). It talks to the X server on a connection of its own and never touches the
// video system.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <vector>

#include "display_guard.h"

namespace platform {

namespace {

struct Crtc {
    Crtc(RRCrtc crtc, const XRRCrtcInfo& info)
        : id(crtc),
          mode(info.mode),
          x(info.x),
          y(info.y),
          width(info.width),
          height(info.height),
          rotation(info.rotation),
          outputs(info.outputs, info.outputs + info.noutput) {}

    RRCrtc id;
    RRMode mode;
    int x, y;
    unsigned width, height;
    Rotation rotation;
    std::vector<RROutput> outputs;

    bool SameAs(const Crtc& other) const {
        return mode == other.mode && x == other.x && y == other.y && rotation == other.rotation &&
               outputs == other.outputs;
    }
};

struct Layout {
    unsigned width = 0, height = 0;
    int widthMm = 0, heightMm = 0;
    std::vector<Crtc> crtcs;
};

bool g_failed = false;

int OnError(Display*, XErrorEvent*) {
    g_failed = true;
    return 0;
}

// The server went away, and the mode with it: nothing left to keep.
int OnConnectionLost(Display*) {
    _exit(0);
}

Layout Record(Display* display, Window root) {
    Layout layout;
    Window parent;
    int x, y;
    unsigned border, depth;
    XGetGeometry(display, root, &parent, &x, &y, &layout.width, &layout.height, &border, &depth);
    const int screen = DefaultScreen(display);
    // The server may not know the screen's size in millimetres; resizing needs one: 96 dpi.
    layout.widthMm = std::max(DisplayWidthMM(display, screen), int(layout.width * 254 / 960));
    layout.heightMm = std::max(DisplayHeightMM(display, screen), int(layout.height * 254 / 960));
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources) return layout;
    for (int i = 0; i < resources->ncrtc; ++i) {
        XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
        if (!info) continue;
        layout.crtcs.emplace_back(resources->crtcs[i], *info);
        XRRFreeCrtcInfo(info);
    }
    XRRFreeScreenResources(resources);
    return layout;
}

// Puts back every CRTC that differs from the desktop's, and the screen's size, in the order the
// server accepts: a CRTC that would stick out of the smaller screen goes dark first.
void Restore(Display* display, Window root, const Layout& desktop) {
    XGrabServer(display);
    const Layout now = Record(display, root);
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    std::vector<const Crtc*> changed;
    for (const Crtc& crtc : desktop.crtcs) {
        const auto current = std::find_if(now.crtcs.begin(), now.crtcs.end(),
                                          [&](const Crtc& c) { return c.id == crtc.id; });
        if (current == now.crtcs.end() || current->SameAs(crtc)) continue;
        changed.push_back(&crtc);
        if (current->x + current->width > desktop.width ||
            current->y + current->height > desktop.height)
            XRRSetCrtcConfig(display, resources, crtc.id, CurrentTime, 0, 0, None, RR_Rotate_0,
                             nullptr, 0);
    }
    if (now.width != desktop.width || now.height != desktop.height)
        XRRSetScreenSize(display, root, static_cast<int>(desktop.width),
                         static_cast<int>(desktop.height), desktop.widthMm, desktop.heightMm);
    for (const Crtc* crtc : changed)
        XRRSetCrtcConfig(display, resources, crtc->id, CurrentTime, crtc->x, crtc->y, crtc->mode,
                         crtc->rotation, const_cast<RROutput*>(crtc->outputs.data()),
                         static_cast<int>(crtc->outputs.size()));
    XUngrabServer(display);
    XSync(display, False);
    if (resources) XRRFreeScreenResources(resources);
}

}  // namespace

int RunDisplayGuardian() {
    // Named as its command line is in a list of processes, not after /proc/self/exe.
    prctl(PR_SET_NAME, program_invocation_short_name);
    // The terminal's and the session's signals are for the game, which puts the desktop back
    // itself; the guardian stays for the game's end, however late that comes.
    for (int signal : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) std::signal(signal, SIG_IGN);
    // Descriptors the game had open (its lock, its sound) are not the guardian's to hold.
    close_range(3, ~0U, 0);
    Display* display = XOpenDisplay(nullptr);
    int event, error, major = 0, minor = 0;
    if (!display || !XRRQueryExtension(display, &event, &error) ||
        !XRRQueryVersion(display, &major, &minor) || major * 100 + minor < 102)
        return 1;
    XSetIOErrorHandler(OnConnectionLost);
    XSetErrorHandler(OnError);
    const Window root = DefaultRootWindow(display);
    const Layout desktop = Record(display, root);
    const char ready = 1;
    if (g_failed || desktop.crtcs.empty() || write(STDOUT_FILENO, &ready, 1) != 1) return 1;
    close(STDOUT_FILENO);
    // A byte (a crash in the game) or the end of the pipe (the game gone): either way, now.
    char wake;
    while (read(STDIN_FILENO, &wake, 1) < 0 && errno == EINTR) {
    }
    Restore(display, root, desktop);
    if (g_failed)
        std::fprintf(stderr, "%s: could not put the display's mode back\n",
                     program_invocation_short_name);
    XCloseDisplay(display);
    return g_failed ? 1 : 0;
}

}  // namespace platform

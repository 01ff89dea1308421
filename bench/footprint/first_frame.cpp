// Watches the X display for a top-level window's first frame: prints the wall-clock times, in
// milliseconds since the epoch, at which a window of the given name was first mapped and first
// showed something other than black at its centre, polling every millisecond for up to 20 s.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The mapped top-level window the caller waits for, or 0.
Window Find(Display* display, const std::string& want) {
    Window root, parent, *children = nullptr, found = 0;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        if (!XFetchName(display, children[i], &name) || name == nullptr) continue;
        XWindowAttributes attributes;
        if (want == name && XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable)
            found = children[i];
        XFree(name);
    }
    if (children) XFree(children);
    return found;
}

bool Drawn(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    XImage* image = XGetImage(display, window, attributes.width / 2, attributes.height / 2, 1, 1,
                              AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const bool lit = (XGetPixel(image, 0, 0) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return lit;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;  // a window may vanish between two requests
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (argc != 2 || display == nullptr) {
        std::fprintf(stderr, "usage: first_frame WINDOW-NAME, with DISPLAY set\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    const std::string want = argv[1];
    const long long deadline = NowMs() + 20000;
    bool mapped = false;
    while (NowMs() < deadline) {
        // Looked up afresh each time: a window may be replaced by another of the same name.
        const Window window = Find(display, want);
        if (window != 0 && !mapped) {
            mapped = true;
            std::printf("mapped %lld\n", NowMs());
        }
        if (window != 0 && Drawn(display, window)) {
            std::printf("drawn %lld\n", NowMs());
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::fprintf(stderr, "first_frame: no window '%s' drawn within 20 s\n", want.c_str());
    return 1;
}

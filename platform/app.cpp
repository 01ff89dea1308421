#include "app.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "controls.h"
#include "desktop.h"
#include "display.h"
#include "error.h"
#include "events.h"
#include "files.h"
#include "form.h"
#include "sound.h"
#include "x11_watch.h"

namespace platform {

namespace {

volatile std::sig_atomic_t g_signal = 0;

void OnSignal(int signal) {
    g_signal = signal;
}

}  // namespace

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

// A termination signal still gives the player's desktop back before the program goes.
void HonourSignal() {
    const int signal = g_signal;
    if (!signal) return;
    RestoreDesktop();
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_Quit();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    std::_Exit(128 + signal);
}

namespace {

// Fires every timer whose deadline has come, each at most once.
void FireDueTimers() {
    const int64_t now = Milliseconds();
    const std::vector<Form*> forms = LoadedForms();
    for (Form* form : forms) {
        const std::vector<Timer*> timers = form->Timers();
        for (Timer* timer : timers)
            if (timer->Scheduled() && timer->Deadline() <= now) timer->Fire(now);
    }
}

// How long the loop may sleep: until the earliest deadline, and never so long that a
// termination signal waits unnoticed.
int WaitMilliseconds() {
    constexpr int64_t kLongest = 100;
    int64_t wait = kLongest;
    const int64_t now = Milliseconds();
    for (Form* form : LoadedForms())
        for (Timer* timer : form->Timers())
            if (timer->Scheduled()) wait = std::min(wait, timer->Deadline() - now);
    return static_cast<int>(std::max<int64_t>(wait, 0));
}

void PresentAll() {
    const std::vector<Form*> forms = LoadedForms();
    for (Form* form : forms) form->Present();
}

void Step() {
    FireDueTimers();
    PresentAll();
    const int wait = WaitMilliseconds();
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        return;
    }
    SDL_Event event;
    if (!SDL_WaitEventTimeout(&event, wait)) return;
    do {
        DispatchEvent(event);
        PresentAll();
    } while (SDL_PollEvent(&event));
}

}  // namespace

void Run() {
    PrepareSound();  // now that the first window is on screen, so that it never waits for audio
    InstallSignalHandlers();
    while (!LoadedForms().empty()) {
        HonourSignal();
        try {
            Step();
        } catch (const RuntimeError& error) {
            Fatal(ErrorReport(error));
        } catch (const std::exception& error) {
            Fatal(std::string("Unexpected error: ") + error.what());
        }
    }
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_Quit();
}

void End() {
    std::fflush(nullptr);
    std::_Exit(0);
}

namespace {

// Opens this user's lock file without following a link, and only when it is a plain file of our
// own: a file planted by someone else could be held by them to keep us from ever starting.
// Returns the descriptor, or -1 with why it cannot serve.
int OpenLockFile(const std::string& path, std::string& why) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        why = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
        return -1;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        why = "it is not a regular file";
    } else if (status.st_uid != geteuid()) {
        why = "it is owned by another user";
    } else {
        return fd;
    }
    close(fd);
    return -1;
}

}  // namespace

// The lock is keyed on the user alone, never on the environment: copies started from a terminal
// and from a launcher, over ssh or with sudo -E see different variables and would both run.
bool PrevInstance() {
    static int lock = -1;
    if (lock >= 0) return false;
    const std::string path = UserTempPath(".lock");
    std::string why;
    const int fd = OpenLockFile(path, why);
    if (fd < 0) {
        // Better to play unguarded than to refuse: someone else's file must not stop the game.
        std::fprintf(stderr, "Puffpop: not checking for another copy: cannot use '%s': %s\n",
                     path.c_str(), why.c_str());
        return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return true;
    }
    lock = fd;  // held, and so the lock, until this copy ends
    return false;
}

int64_t Milliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void InitVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_APP_NAME, "Puffpop");
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "puffpop", 0);
    // Frames go to the window through the display's own framebuffer (X11 shared memory): SDL's
    // default would emulate it with an OpenGL texture, loading a software GL stack (tens of MB,
    // a slower start) that draws nothing the game needs.
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
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

namespace Screen {
Single Width() {
    return static_cast<Single>(CurrentDisplaySize().width) * TwipsPerPixelX;
}
Single Height() {
    return static_cast<Single>(CurrentDisplaySize().height) * TwipsPerPixelY;
}
}  // namespace Screen

}  // namespace platform

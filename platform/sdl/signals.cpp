// Termination signals: noted when they come, honoured by the loops that wait for the player.
// Crash signals: the desktop back at once, then the crash goes on as it would have.
#include <signal.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "display_guard.h"
#include "platform/app.h"
#include "platform/desktop.h"
#include "platform/host.h"
#include "x11_watch.h"

namespace platform {

namespace {

constexpr int kTermination[] = {SIGINT,  SIGTERM,   SIGHUP,  SIGQUIT, SIGUSR1, SIGUSR2,
                                SIGALRM, SIGVTALRM, SIGXCPU, SIGXFSZ, SIGPROF};
constexpr int kCrash[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

volatile std::sig_atomic_t g_signal = 0;
struct sigaction g_beforeCrash[std::size(kCrash)];  // who handled each crash signal before us

void OnSignal(int signal) {
    g_signal = signal;
}

// Only what a handler may do amid a crash, nothing of the video system: the guardian puts the
// display's mode back, and dropping the X connection gives the pointer back. Then the signal
// goes to whoever had it before (the default: the status and any core dump stay the crash's).
void OnCrash(int signal) {
    RestoreGuardedMode();
    DropDisplayConnection();
    for (size_t i = 0; i < std::size(kCrash); ++i)
        if (kCrash[i] == signal) sigaction(signal, &g_beforeCrash[i], nullptr);
    raise(signal);  // delivered as the handler returns
}

// A stack overflow's SIGSEGV finds no stack left to run its handler on: it gets one of its own,
// unless a tool (a sanitizer) has given the thread one already.
void GiveCrashesAStack() {
    static char stack[64 * 1024];
    stack_t current{};
    if (sigaltstack(nullptr, &current) != 0 || !(current.ss_flags & SS_DISABLE)) return;
    const stack_t ours{stack, 0, sizeof stack};
    sigaltstack(&ours, nullptr);
}

}  // namespace

void host::InstallSignalHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : kTermination) sigaction(signal, &action, nullptr);
    GiveCrashesAStack();
    action.sa_handler = OnCrash;
    action.sa_flags = SA_ONSTACK;
    for (size_t i = 0; i < std::size(kCrash); ++i) sigaction(kCrash[i], &action, &g_beforeCrash[i]);
}

// A termination signal still gives the player's desktop back before the program goes.
void host::HonourSignal() {
    const int signal = g_signal;
    if (!signal) return;
    RestoreDesktop();
    host::StopVideo();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    std::_Exit(128 + signal);
}

void host::Exit(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace platform

// Termination signals: noted when they come, honoured by the loops that wait for the player.
#include <csignal>
#include <cstdlib>

#include "platform/app.h"
#include "platform/desktop.h"
#include "platform/host.h"

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
    host::StopVideo();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    std::_Exit(128 + signal);
}

}  // namespace platform

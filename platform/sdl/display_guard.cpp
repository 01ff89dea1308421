// The game's side of the display guardian (display_guard.h): a copy of its own executable, started
// with a mark in its environment that it heeds before anything else runs.
#include "display_guard.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/identity.h"

extern char** environ;

namespace platform {

namespace {

// The guardian's mark: the process id of the game it guards.
constexpr char kGuardianOf[] = "DISPLAY_GUARDIAN_OF";

volatile std::sig_atomic_t g_guardian = 0;   // its process id
volatile std::sig_atomic_t g_lifeline = -1;  // the pipe's end whose closing wakes it

// Before any other start-up code, and long before video: a copy started as the guardian does only
// that. The mark must name this copy's parent, so a mark inherited by mistake starts a game.
[[gnu::constructor(101)]] void BecomeTheGuardianIfAsked() {
    const char* parent = std::getenv(kGuardianOf);
    if (parent && std::atol(parent) == getppid()) std::_Exit(RunDisplayGuardian());
}

// The game's environment, with the display the video system uses and the mark.
std::vector<std::string> GuardianEnvironment(const std::string& display) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, "DISPLAY=", 8) != 0 &&
            std::strncmp(*entry, kGuardianOf, sizeof kGuardianOf - 1) != 0)
            entries.emplace_back(*entry);
    entries.push_back("DISPLAY=" + display);
    entries.push_back(std::string(kGuardianOf) + "=" + std::to_string(getpid()));
    return entries;
}

void Reap(pid_t pid) {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

bool StartDisplayGuard(const std::string& display) {
    StopDisplayGuard();
    int life[2], ready[2];
    if (pipe2(life, O_CLOEXEC) != 0) return false;
    if (pipe2(ready, O_CLOEXEC) != 0) {
        close(life[0]), close(life[1]);
        return false;
    }
    std::vector<std::string> environment = GuardianEnvironment(display);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string name = Program().stem + "-guard";
    char* argv[] = {name.data(), nullptr};
    // Its stdin is the lifeline, its stdout says when the mode is recorded.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, life[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    const bool spawned =
        posix_spawn(&pid, "/proc/self/exe", &actions, &attributes, argv, envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(life[0]), close(ready[1]);
    // A server that does not answer within seconds would not take the switch either.
    pollfd answer{ready[0], POLLIN, 0};
    int polled;
    while ((polled = poll(&answer, 1, 5000)) < 0 && errno == EINTR) {
    }
    char byte = 0;
    const bool recorded = spawned && polled == 1 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    if (!recorded) {
        close(life[1]);
        if (spawned) {
            kill(pid, SIGKILL);
            Reap(pid);
        }
        return false;
    }
    g_guardian = pid;
    g_lifeline = life[1];
    return true;
}

void StopDisplayGuard() {
    const pid_t pid = g_guardian;
    if (!pid) return;
    const int lifeline = g_lifeline;
    g_lifeline = -1;
    close(lifeline);
    Reap(pid);
    g_guardian = 0;
}

void RestoreGuardedMode() {
    const pid_t pid = g_guardian;
    const int lifeline = g_lifeline;
    const char wake = 1;
    if (!pid || lifeline < 0 || write(lifeline, &wake, 1) != 1) return;
    // A crash must still end: a second at most.
    const timespec tick{0, 10'000'000};
    for (int i = 0; i < 100 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) nanosleep(&tick, nullptr);
}

}  // namespace platform

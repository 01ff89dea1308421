// The display guardian: while the game has switched the display to another mode, a small process
// of its own keeps the desktop's mode, so that the desktop comes back even where no handler can
// run (SIGKILL, the out-of-memory killer). It is started before the switch, records the mode on
// its own connection to the X server, and waits on a pipe the kernel closes when the game dies;
// then it puts the recorded mode back and exits. Private to the SDL host.
#pragma once

#include <string>

namespace platform {

// Starts the guardian for the named X display and waits until it has recorded the mode. False
// when it cannot be started: the switch then goes ahead unguarded.
bool StartDisplayGuard(const std::string& display);

// The game has put the desktop back itself: the guardian finds nothing to do, and is waited for.
void StopDisplayGuard();

// From a crash's signal handler: the guardian puts the mode back now, and the handler waits a
// second at most for it. Async-signal-safe.
void RestoreGuardedMode();

// The guardian's own work, in the copy of the game started for it: returns its exit status.
int RunDisplayGuardian();

}  // namespace platform

// What happens when the display goes away under the game, or the game under the display. Private
// to the platform layer.
#pragma once

#include <string>

struct SDL_Window;

namespace platform {

// Called just before the video system starts: the wake-up filter below goes under the video
// system's own X error handler, which it puts back when it stops, before it closes its
// connections. A normal end then never meets libX11's handler, which would end it with status 1.
void FilterDisplayErrors();

// From now on a lost connection to the X server ends the program at once, status 1, with a line
// on stderr naming the display, and a wake-up that reaches a window just closed is no error. Does
// nothing on other video drivers. Called once video is up,
// as the video system installs its own X error handlers while it starts.
void WatchDisplayConnection();

// The name of the X display the window is on, "" on other video drivers. Remembers its
// connection for DropDisplayConnection.
std::string WatchWindow(SDL_Window* window);

// Waits at most timeoutMs for input on the X connection of the game's windows, without reading
// it: 1 when some may have come (or a signal did), so that the video system should look; 0 when
// nothing came; -1 when the windows are not on X, to be waited for the video system's own way.
int WaitForDisplayInput(int timeoutMs);

// From a crash's signal handler: closes the connection to the X server, which then releases all
// the game held on it (the pointer's confinement, its hidden cursor, its windows) without waiting
// for the process to end. Async-signal-safe.
void DropDisplayConnection();

}  // namespace platform

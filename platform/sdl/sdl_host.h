// What the SDL host's own files share. Private to platform/sdl.
#pragma once

#include <cstdint>

namespace platform::sdl {

// Waits at most timeoutMs for the player's input and queues every event that has come.
void PumpInput(int timeoutMs);

// A point in a window of ours to the client area of its form: they differ when the frame is
// scaled to fill the screen.
void ToClient(uint32_t windowId, int& x, int& y);
// The window lost its picture: the next present shows all of it.
void Exposed(uint32_t windowId);

}  // namespace platform::sdl

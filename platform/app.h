// The program's loop and its end.
#pragma once

#include <cstdint>

namespace platform {

// Handles events and timers until the last form is unloaded. Any run-time error raised by a
// handler ends the program through Fatal. A request from the system to end puts the desktop back
// first.
void Run();

// Stops at once, without any unload handler.
[[noreturn]] void End();

// Milliseconds of a steady clock.
int64_t Milliseconds();

// Starts the video system on first use; a display that cannot be opened is a run-time error.
void InitVideo();

}  // namespace platform

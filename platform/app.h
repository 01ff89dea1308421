// The program's loop, its end, and what it knows of the screen and of other copies of itself.
#pragma once

#include <cstdint>

#include "types.h"

namespace platform {

// Handles events and timers until the last form is unloaded. Any run-time error raised by a
// handler ends the program through Fatal. A termination signal puts the desktop back first.
void Run();

// Termination signals (SIGINT, SIGTERM, SIGHUP, SIGQUIT and the others whose default ends the
// program) are noted when they come and honoured by every loop that waits for the player, at least
// ten times a second: the desktop is put back, then the signal ends the program as it would have.
// A crash puts the display mode and the pointer back at once (on Linux the crash's signal then
// ends the program with its own status). A switched display mode comes back even where no handler
// runs (SIGKILL): on Linux a guardian process keeps it, on Windows the system does.
void InstallSignalHandlers();
void HonourSignal();

// Stops at once, without any unload handler.
[[noreturn]] void End();

// True when another copy of the program runs for this user. The first copy holds a lock on
// "/tmp/<program>-<uid>.lock" that the system drops when it dies, so a crashed copy never blocks
// the next start. Where that file cannot serve (a link, someone else's), the copy plays
// unguarded and says so on stderr.
bool PrevInstance();

// Milliseconds of a steady clock.
int64_t Milliseconds();

// The screen in twips, 15 twips to a pixel.
namespace Screen {
constexpr Single TwipsPerPixelX = 15;
constexpr Single TwipsPerPixelY = 15;
Single Width();
Single Height();
}  // namespace Screen

// Starts the video system on first use; a display that cannot be opened is a run-time error.
void InitVideo();

}  // namespace platform

// Giving the player's desktop back: the one place that knows everything the game changed.
#pragma once

namespace platform {

// Puts back the display mode, releases the cursor clip and shows the cursor. Safe to call
// more than once and at any time, from the fatal-error path or on a termination signal.
void RestoreDesktop();

// Its parts, each kept where its state is: the desktop's display mode back, and the cursor shown
// and free.
void RestoreDisplayMode();
void RestoreCursor();

}  // namespace platform

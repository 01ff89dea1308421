// What happens when the display goes away under the game. Private to the platform layer.
#pragma once

namespace platform {

// From now on a lost connection to the X server ends the program at once, status 1, with a line
// on stderr naming the display, and a wake-up that reaches a window just closed is no error. Does
// nothing on other video drivers. Called once video is up,
// as the video system installs its own X error handlers while it starts.
void WatchDisplayConnection();

}  // namespace platform

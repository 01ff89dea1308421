// The chosen display mode and the one procedure that switches the screen.
#pragma once

#include "platform/display.h"
#include "platform/types.h"

namespace startup::basDisplay {

inline platform::Boolean bFullScreen = 0;  // -1 when the player chose full-screen play
inline platform::DEVMODEA dmDisplay{};     // kept between the two switches of a run
inline platform::Single sngScreenW = 0;    // the desktop's size in pixels, before any switch
inline platform::Single sngScreenH = 0;

// Asks for a display of this width and height, nothing else: colour depth and refresh rate
// stay what they are. Whether it worked is not reported; the game plays on either way.
void SetDisplayMode(platform::Single& width, platform::Single& height);

}  // namespace startup::basDisplay

// Turning the host's input events into form events. Private to the platform layer.
#pragma once

#include "types.h"

union SDL_Event;

namespace platform {

void DispatchEvent(const SDL_Event& event);

// Mouse buttons as the game numbers them: 1 left, 2 right, 4 middle, 8 and 16 the extra ones.
Integer MouseButton(int hostButton);

// The desktop's key codes: 27 Esc, 13 Enter, 65-90 letters...; 0 for keys the game never sees.
Integer KeyCode(int hostKey);

}  // namespace platform

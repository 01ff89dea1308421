// The program icon on a native window. Private to the platform layer.
#pragma once

struct SDL_Window;

namespace platform {

// Puts the embedded 32 x 32, 16-colour program icon on the window; does nothing without it.
void SetWindowIcon(SDL_Window* window);

}  // namespace platform

#include "desktop.h"

#include <SDL.h>

#include "cursor.h"
#include "display.h"

namespace platform {

void RestoreDesktop() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    ResetDisplayState();
    ResetCursorState();
}

}  // namespace platform

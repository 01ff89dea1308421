#include "error.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "desktop.h"

namespace platform {

void RaiseOverflow() {
    throw RuntimeError(kOverflow, "Overflow");
}

std::string ErrorReport(const RuntimeError& error) {
    return "Run-time error '" + std::to_string(error.Number()) + "':\n\n" + error.what();
}

void Fatal(const std::string& message) {
    // Put the player's desktop back before anything else can go wrong.
    RestoreDesktop();
    std::fprintf(stderr, "Puffpop: %s\n", message.c_str());
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Puffpop", message.c_str(), nullptr);
    std::exit(1);
}

}  // namespace platform

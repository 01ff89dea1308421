#include "error.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app.h"
#include "desktop.h"
#include "error_window.h"

namespace platform {

namespace {

// Video on a display a player can see. A window on a headless driver could never be dismissed.
bool DisplayToShowOn() {
    try {
        InitVideo();
    } catch (const std::exception&) {
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

}  // namespace

void RaiseOverflow() {
    throw RuntimeError(kOverflow, "Overflow");
}

std::string ErrorReport(const RuntimeError& error) {
    return "Run-time error '" + std::to_string(error.Number()) + "':\n\n" + error.what();
}

void Fatal(const std::string& message) {
    // Put the player's desktop back before anything else can go wrong.
    RestoreDesktop();
    // An error before the loop started still leaves the report's window open to signals.
    InstallSignalHandlers();
    std::fprintf(stderr, "Puffpop: %s\n", message.c_str());
    std::fflush(stderr);
    // Once: an error in the report's own window ends the program with what stderr says.
    static bool reporting = false;
    if (!std::exchange(reporting, true) && DisplayToShowOn()) ShowErrorWindow(message);
    // Straight out: exit handlers would tear the game's windows and their framebuffers down over a
    // video system in whatever state the error left it. The display server clears them anyway.
    std::fflush(nullptr);
    std::_Exit(1);
}

}  // namespace platform

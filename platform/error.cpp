#include "error.h"

#include <cstdio>
#include <utility>

#include "desktop.h"
#include "host.h"
#include "identity.h"

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
    // An error before the loop started still leaves the report's window open to signals.
    host::InstallSignalHandlers();
    std::fprintf(stderr, "%s: %s\n", Program().title.c_str(), message.c_str());
    std::fflush(stderr);
    // Once: an error in the report's own window ends the program with what stderr says. A window
    // on a display nobody sees could never be dismissed.
    static bool reporting = false;
    if (!std::exchange(reporting, true) && host::PlayerCanSee()) host::ShowErrorReport(message);
    // Straight out: exit handlers would tear the game's windows and their framebuffers down over a
    // video system in whatever state the error left it. The display server clears them anyway.
    host::Exit(1);
}

}  // namespace platform

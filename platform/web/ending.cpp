// No signals reach a page; the game ends by its own doing, or with the tab.
#include <cstdio>

#include "platform/host.h"
#include "web_host.h"

namespace platform {

void host::InstallSignalHandlers() {}

void host::HonourSignal() {}

void host::Exit(int status) {
    std::fflush(nullptr);
    puffpop_web_end(status);
    // The page stays, saying the game has ended: the game's stack is put away for good, and
    // nothing after this runs.
    puffpop_web_halt();
    __builtin_unreachable();
}

}  // namespace platform

// No signals reach a page; the game ends by its own doing, or with the tab.
#include <emscripten.h>

#include <cstdio>

#include "platform/host.h"
#include "web_host.h"

namespace platform {

void host::InstallSignalHandlers() {}

void host::HonourSignal() {}

void host::Exit(int status) {
    std::fflush(nullptr);
    puffpop_web_end(status);
    emscripten_force_exit(status);
    __builtin_unreachable();
}

}  // namespace platform

// No signals reach a program with no operating system; it ends only by its own doing.
#include <cstdio>
#include <cstdlib>

#include "platform/host.h"

namespace platform {

void host::InstallSignalHandlers() {}

void host::HonourSignal() {}

void host::Exit(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace platform

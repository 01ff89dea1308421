#include "desktop.h"

#include "host.h"

namespace platform {

void RestoreDesktop() {
    if (!host::VideoStarted()) return;
    RestoreDisplayMode();
    RestoreCursor();
}

}  // namespace platform

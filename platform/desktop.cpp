#include "desktop.h"

#include "cursor.h"
#include "display.h"
#include "host.h"

namespace platform {

void RestoreDesktop() {
    if (!host::VideoStarted()) return;
    ResetDisplayState();
    ResetCursorState();
}

}  // namespace platform

// On X the report is the game's own window: it shows on any server, with no dialog tool or
// server font installed.
#include "error_window.h"
#include "platform/host.h"

namespace platform {

void host::ShowErrorReport(const std::string& message) {
    ShowErrorWindow(message);
}

}  // namespace platform

// The display: the desktop the test sets is its one mode; switches and the pointer are recorded.
#include "null_host.h"
#include "platform/host.h"

namespace platform {

DisplaySize host::DesktopSize() {
    return null::Host().desktop;
}

bool host::DisplayModeAt(uint32_t index, DisplayMode& mode) {
    const DisplaySize desktop = null::Host().desktop;
    if (index > 0) return false;
    mode = {desktop.width, desktop.height, 32, 60, "null"};
    return true;
}

void host::SwitchDisplay(int32_t width, int32_t height) {
    null::Host().switches.emplace_back(width, height);
}

void host::ShowPointer(bool shown) {
    null::Host().pointerShown = shown;
}

}  // namespace platform

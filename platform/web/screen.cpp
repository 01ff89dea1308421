// The page as a screen. Its size is the browser's viewport; a full-screen window fills it, scaled
// and letterboxed, at whatever size the game asks, so every mode the game may ask for is offered.
#include <iterator>

#include "platform/host.h"
#include "web_host.h"

namespace platform {

DisplaySize host::DesktopSize() {
    StartVideo();
    return {puffpop_web_desktop_width(), puffpop_web_desktop_height()};
}

bool host::DisplayModeAt(uint32_t index, DisplayMode& mode) {
    static constexpr DisplaySize kScaled[] = {{640, 480}, {800, 600}, {1024, 768}};
    const DisplaySize desktop = DesktopSize();
    if (index == 0) {
        mode = {desktop.width, desktop.height, 32, 60, "page"};
        return true;
    }
    if (index > std::size(kScaled)) return false;
    const DisplaySize size = kScaled[index - 1];
    mode = {size.width, size.height, 32, 60, "page"};
    return true;
}

void host::SwitchDisplay(int32_t, int32_t) {}

void host::ShowPointer(bool shown) {
    puffpop_web_pointer(shown ? 1 : 0);
}

}  // namespace platform

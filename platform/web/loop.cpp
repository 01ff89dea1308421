// The loop: the core runs what is due, then the page waits for input until it is due again. The
// wait yields to the browser (Asyncify), so the game code stays as it is on the desktop.
#include <emscripten.h>

#include "platform/host.h"
#include "platform/input.h"
#include "web_host.h"

namespace platform {

int64_t host::Now() {
    return static_cast<int64_t>(emscripten_get_now());
}

void host::RunLoop() {
    for (int wait = RunDue(); wait != kLoopDone; wait = RunDue()) puffpop_web_wait(wait);
}

}  // namespace platform

// The page's input handlers call this for each event, in the form's client pixels.
extern "C" EMSCRIPTEN_KEEPALIVE void puffpop_web_input(int kind, uint32_t window, int x, int y,
                                                       int button, int key, int shift,
                                                       int repeat) {
    using platform::InputEvent;
    InputEvent event;
    event.kind = static_cast<InputEvent::Kind>(kind);
    event.window = window;
    event.x = x;
    event.y = y;
    event.button = static_cast<platform::Integer>(button);
    event.key = static_cast<platform::Integer>(key);
    event.shift = static_cast<platform::Integer>(shift);
    event.repeat = repeat != 0;
    platform::QueueInput(event);
}

// The page is the display: always there, and always seen by a player.
#include "platform/host.h"
#include "web_host.h"

namespace platform {

namespace {
bool started = false;
}

void host::StartVideo() {
    if (started) return;
    puffpop_web_start();
    started = true;
}

bool host::VideoStarted() {
    return started;
}

bool host::PlayerCanSee() {
    StartVideo();
    return true;
}

// The last form is gone: the page says the game has ended.
void host::StopVideo() {
    puffpop_web_end(0);
}

}  // namespace platform

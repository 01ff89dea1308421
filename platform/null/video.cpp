// Video that is always there and that nobody sees, unless the test says a player does.
#include "null_host.h"
#include "platform/host.h"

namespace platform {

void host::StartVideo() {
    null::Host().videoStarted = true;
}

bool host::VideoStarted() {
    return null::Host().videoStarted;
}

bool host::PlayerCanSee() {
    return null::Host().playerCanSee;
}

void host::StopVideo() {
    null::Host().videoStarted = false;
}

}  // namespace platform

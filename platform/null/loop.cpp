// The loop on the test's clock: what is due runs, then the clock jumps to when more is due.
#include "null_host.h"
#include "platform/host.h"

namespace platform {

int64_t host::Now() {
    return null::Host().now;
}

void host::RunLoop() {
    for (int wait = RunDue(); wait != kLoopDone; wait = RunDue()) null::Host().now += wait;
}

}  // namespace platform

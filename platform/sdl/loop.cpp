// The loop: the core runs what is due, SDL waits for input until it is due again.
#include <chrono>

#include "platform/host.h"
#include "sdl_host.h"

namespace platform {

int64_t host::Now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void host::RunLoop() {
    for (int wait = RunDue(); wait != kLoopDone; wait = RunDue()) sdl::PumpInput(wait);
}

}  // namespace platform

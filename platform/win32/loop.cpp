// The loop: the core runs what is due, the message queue is emptied, and the thread waits for a
// message until it is due again.
#include <chrono>

#include "platform/host.h"
#include "win32_host.h"

namespace platform {

void win32::PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int64_t host::Now() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void host::RunLoop() {
    for (int wait = RunDue(); wait != kLoopDone; wait = RunDue()) {
        if (!VideoStarted()) {
            Sleep(static_cast<DWORD>(wait));
            continue;
        }
        win32::PumpMessages();
        // The timer's resolution was raised at video start: the wait ends on time to the
        // millisecond, which the 45 ms frame tick needs. Input already queued runs at once.
        if (wait > 0 && !win32::InputQueued()) {
            MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait), QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE);
            win32::PumpMessages();
        }
    }
}

}  // namespace platform

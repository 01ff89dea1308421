#include "app.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "controls.h"
#include "display.h"
#include "error.h"
#include "form.h"
#include "host.h"
#include "input.h"
#include "sound.h"

namespace platform {

namespace {

// Fires every timer whose deadline has come, each at most once.
void FireDueTimers() {
    const int64_t now = Milliseconds();
    const std::vector<Form*> forms = LoadedForms();
    for (Form* form : forms) {
        const std::vector<Timer*> timers = form->Timers();
        for (Timer* timer : timers)
            if (timer->Scheduled() && timer->Deadline() <= now) timer->Fire(now);
    }
}

// How long the loop may sleep: until the earliest deadline, and never so long that a
// termination signal waits unnoticed.
int WaitMilliseconds() {
    constexpr int64_t kLongest = 100;
    int64_t wait = kLongest;
    const int64_t now = Milliseconds();
    for (Form* form : LoadedForms())
        for (Timer* timer : form->Timers())
            if (timer->Scheduled()) wait = std::min(wait, timer->Deadline() - now);
    return static_cast<int>(std::max<int64_t>(wait, 0));
}

void PresentAll() {
    const std::vector<Form*> forms = LoadedForms();
    for (Form* form : forms) form->Present();
}

void Step() {
    FireDueTimers();
    PresentAll();
    InputEvent event;
    if (!NextInput(event, WaitMilliseconds())) return;
    do {
        DispatchInput(event);
        PresentAll();
    } while (NextInput(event, 0));
}

}  // namespace

void Run() {
    PrepareSound();  // now that the first window is on screen, so that it never waits for audio
    InstallSignalHandlers();
    while (!LoadedForms().empty()) {
        HonourSignal();
        try {
            Step();
        } catch (const RuntimeError& error) {
            Fatal(ErrorReport(error));
        } catch (const std::exception& error) {
            Fatal(std::string("Unexpected error: ") + error.what());
        }
    }
    host::StopVideo();
}

void End() {
    std::fflush(nullptr);
    std::_Exit(0);
}

int64_t Milliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace Screen {
Single Width() {
    return static_cast<Single>(CurrentDisplaySize().width) * TwipsPerPixelX;
}
Single Height() {
    return static_cast<Single>(CurrentDisplaySize().height) * TwipsPerPixelY;
}
}  // namespace Screen

}  // namespace platform

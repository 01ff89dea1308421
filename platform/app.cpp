#include "app.h"

#include <algorithm>
#include <string>

#include "controls.h"
#include "display.h"
#include "error.h"
#include "form.h"
#include "host.h"
#include "input.h"

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

// How long the host may wait: until the earliest deadline, and never so long that a request to
// end waits unnoticed.
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

void RunDueUnguarded() {
    FireDueTimers();
    PresentAll();
    InputEvent event;
    while (TakeInput(event)) {
        DispatchInput(event);
        PresentAll();
    }
}

}  // namespace

int RunDue() {
    host::HonourSignal();
    if (LoadedForms().empty()) return kLoopDone;
    try {
        RunDueUnguarded();
    } catch (const RuntimeError& error) {
        Fatal(ErrorReport(error));
    } catch (const std::exception& error) {
        Fatal(std::string("Unexpected error: ") + error.what());
    }
    return LoadedForms().empty() ? kLoopDone : WaitMilliseconds();
}

void Run() {
    host::PrepareSound();  // now that the first window is on screen, so that it never waits
    host::InstallSignalHandlers();
    host::RunLoop();
    host::StopVideo();
}

void End() {
    host::Exit(0);
}

int64_t Milliseconds() {
    return host::Now();
}

void InitVideo() {
    host::StartVideo();
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

#include "input.h"

#include <deque>

#include "form.h"
#include "host.h"

namespace platform {

namespace {

std::deque<InputEvent>& Queued() {
    static std::deque<InputEvent> queued;
    return queued;
}

// The form a key belongs to: its window's, or the newest one shown when no window has the focus.
Form* KeyTarget(uint32_t windowId) {
    if (Form* form = FormOfWindow(windowId)) return form;
    const auto& forms = LoadedForms();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it)
        if ((*it)->Window() && (*it)->Visible()) return *it;
    return nullptr;
}

}  // namespace

void DispatchInput(const InputEvent& event) {
    using Kind = InputEvent::Kind;
    const bool key =
        event.kind == Kind::KeyDown || event.kind == Kind::KeyUp || event.kind == Kind::Character;
    Form* form = key ? KeyTarget(event.window) : FormOfWindow(event.window);
    if (!form || !form->Loaded()) return;
    const Single fx = static_cast<Single>(event.x), fy = static_cast<Single>(event.y);
    switch (event.kind) {
        case Kind::Close:
            return form->CloseRequested();
        case Kind::Exposed:
            form->hDC()->changed = true;
            return;
        case Kind::MouseDown:
            return form->MouseDown(event.button, event.shift, fx, fy);
        case Kind::MouseUp:
            return form->MouseUp(event.button, event.shift, fx, fy);
        case Kind::MouseMove:
            return form->MouseMove(event.button, event.shift, fx, fy);
        case Kind::KeyDown:
            return form->KeyDown(event.key, event.shift);
        case Kind::KeyUp:
            return form->KeyUp(event.key, event.shift);
        case Kind::Character:
            return form->KeyPress(event.key);
    }
}

bool TakeInput(InputEvent& event) {
    if (Queued().empty()) return false;
    event = Queued().front();
    Queued().pop_front();
    return true;
}

void QueueInput(const InputEvent& event) {
    Queued().push_back(event);
}

}  // namespace platform

#include "events.h"

#include <SDL.h>

#include "form.h"
#include "window.h"

namespace platform {

namespace {

Integer ShiftState() {
    const SDL_Keymod mod = SDL_GetModState();
    return static_cast<Integer>(((mod & KMOD_SHIFT) ? 1 : 0) | ((mod & KMOD_CTRL) ? 2 : 0) |
                                ((mod & KMOD_ALT) ? 4 : 0));
}

Integer HeldButtons(Uint32 state) {
    Integer held = 0;
    for (int button = SDL_BUTTON_LEFT; button <= SDL_BUTTON_X2; ++button)
        if (state & SDL_BUTTON(button)) held = static_cast<Integer>(held | MouseButton(button));
    return held;
}

// The form an event belongs to: its window's, or for keys without a window the newest shown.
Form* Target(Uint32 windowId) {
    if (Form* form = FormOfWindow(windowId)) return form;
    const auto& forms = LoadedForms();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it)
        if ((*it)->Window() && (*it)->Visible()) return *it;
    return nullptr;
}

// Keys that produce a character event besides the letters and digits typed as text.
Integer ControlCharacter(SDL_Keycode key) {
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_ESCAPE:
            return 27;
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        default:
            return 0;
    }
}

}  // namespace

Integer MouseButton(int hostButton) {
    switch (hostButton) {
        case SDL_BUTTON_LEFT:
            return 1;
        case SDL_BUTTON_RIGHT:
            return 2;
        case SDL_BUTTON_MIDDLE:
            return 4;
        case SDL_BUTTON_X1:
            return 8;
        case SDL_BUTTON_X2:
            return 16;
        default:
            return 32;  // any further button still counts as "not the left one"
    }
}

Integer KeyCode(int hostKey) {
    if (hostKey >= SDLK_a && hostKey <= SDLK_z) return static_cast<Integer>(hostKey - SDLK_a + 65);
    if (hostKey >= SDLK_0 && hostKey <= SDLK_9) return static_cast<Integer>(hostKey - SDLK_0 + 48);
    switch (hostKey) {
        case SDLK_ESCAPE:
            return 27;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_SPACE:
            return 32;
        case SDLK_TAB:
            return 9;
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        default:
            return 0;
    }
}

void DispatchEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT: {
            Form* form = FormOfWindow(event.window.windowID);
            if (!form) return;
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) form->CloseRequested();
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED) form->hDC()->changed = true;
            return;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            Form* form = FormOfWindow(event.button.windowID);
            if (!form) return;
            const Integer button = MouseButton(event.button.button);
            int cx = event.button.x, cy = event.button.y;
            if (form->Window()) form->Window()->ToClient(cx, cy);
            const Single x = static_cast<Single>(cx), y = static_cast<Single>(cy);
            if (event.type == SDL_MOUSEBUTTONDOWN)
                form->MouseDown(button, ShiftState(), x, y);
            else
                form->MouseUp(button, ShiftState(), x, y);
            return;
        }
        case SDL_MOUSEMOTION: {
            Form* form = FormOfWindow(event.motion.windowID);
            if (!form) return;
            int x = event.motion.x, y = event.motion.y;
            if (form->Window()) form->Window()->ToClient(x, y);
            form->MouseMove(HeldButtons(event.motion.state), ShiftState(), static_cast<Single>(x),
                            static_cast<Single>(y));
            return;
        }
        case SDL_KEYDOWN: {
            Form* form = Target(event.key.windowID);
            if (!form) return;
            form->KeyDown(KeyCode(event.key.keysym.sym), ShiftState());
            if (Integer c = ControlCharacter(event.key.keysym.sym); c && form->Loaded())
                form->KeyPress(c);
            return;
        }
        case SDL_TEXTINPUT: {
            Form* form = Target(event.text.windowID);
            for (const char* c = event.text.text; form && *c; ++c)
                if (static_cast<unsigned char>(*c) < 128 && form->Loaded()) form->KeyPress(*c);
            return;
        }
        case SDL_KEYUP: {
            if (Form* form = Target(event.key.windowID))
                form->KeyUp(KeyCode(event.key.keysym.sym), ShiftState());
            return;
        }
        default:
            return;
    }
}

}  // namespace platform

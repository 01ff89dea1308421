// SDL's events as the platform's input events.
#include <SDL.h>

#include <chrono>
#include <thread>

#include "platform/host.h"
#include "platform/keys.h"
#include "sdl_host.h"
#include "x11_watch.h"

namespace platform {

namespace {

// How long SDL may go without looking at its events while none come.
constexpr int64_t kLongestUnpumpedMs = 1000;

Integer ShiftState() {
    const SDL_Keymod mod = SDL_GetModState();
    return static_cast<Integer>(((mod & KMOD_SHIFT) ? vbShiftMask : 0) |
                                ((mod & KMOD_CTRL) ? vbCtrlMask : 0) |
                                ((mod & KMOD_ALT) ? vbAltMask : 0));
}

Integer MouseButton(int button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return vbLeftButton;
        case SDL_BUTTON_RIGHT:
            return vbRightButton;
        case SDL_BUTTON_MIDDLE:
            return vbMiddleButton;
        case SDL_BUTTON_X1:
            return vbXButton1;
        case SDL_BUTTON_X2:
            return vbXButton2;
        default:
            return vbOtherButton;
    }
}

Integer HeldButtons(Uint32 state) {
    Integer held = 0;
    for (int button = SDL_BUTTON_LEFT; button <= SDL_BUTTON_X2; ++button)
        if (state & SDL_BUTTON(button)) held = static_cast<Integer>(held | MouseButton(button));
    return held;
}

Integer KeyCode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<Integer>(key - SDLK_a + 'A');
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<Integer>(key - SDLK_0 + '0');
    switch (key) {
        case SDLK_ESCAPE:
            return vbKeyEscape;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return vbKeyReturn;
        case SDLK_SPACE:
            return vbKeySpace;
        case SDLK_TAB:
            return vbKeyTab;
        case SDLK_BACKSPACE:
            return vbKeyBack;
        case SDLK_LEFT:
            return vbKeyLeft;
        case SDLK_UP:
            return vbKeyUp;
        case SDLK_RIGHT:
            return vbKeyRight;
        case SDLK_DOWN:
            return vbKeyDown;
        default:
            return 0;
    }
}

// The keys that type a character of their own: SDL reports the others as text.
bool ControlCharacter(Integer key) {
    return key == vbKeyReturn || key == vbKeyEscape || key == vbKeyBack || key == vbKeyTab;
}

// The buttons the game has seen go down and not up, and where the pointer was last seen.
struct Pointer {
    Uint32 held = 0;
    int x = 0, y = 0;
};

// A button let go while another window has the focus is never reported here, so the game would
// fire on and on: losing the focus lets go of every button still down.
void ReleaseHeld(Pointer& pointer, uint32_t window) {
    for (int button = SDL_BUTTON_LEFT; button <= SDL_BUTTON_X2; ++button) {
        if ((pointer.held & SDL_BUTTON(button)) == 0) continue;
        InputEvent event;
        event.kind = InputEvent::Kind::MouseUp;
        event.window = window;
        event.x = pointer.x, event.y = pointer.y;
        event.button = MouseButton(button);
        event.shift = ShiftState();
        QueueInput(event);
    }
    pointer.held = 0;
}

// Turns one SDL event into the events it means, queued in order.
void Translate(const SDL_Event& e) {
    using Kind = InputEvent::Kind;
    static Pointer pointer;
    InputEvent event;
    switch (e.type) {
        case SDL_WINDOWEVENT:
            event.window = e.window.windowID;
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
                return ReleaseHeld(pointer, e.window.windowID);
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED) sdl::Exposed(e.window.windowID);
            if (e.window.event == SDL_WINDOWEVENT_CLOSE)
                event.kind = Kind::Close;
            else if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
                event.kind = Kind::Exposed;
            else
                return;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event.kind = e.type == SDL_MOUSEBUTTONDOWN ? Kind::MouseDown : Kind::MouseUp;
            event.window = e.button.windowID;
            event.x = e.button.x, event.y = e.button.y;
            sdl::ToClient(event.window, event.x, event.y);
            event.button = MouseButton(e.button.button);
            event.shift = ShiftState();
            pointer.x = event.x, pointer.y = event.y;
            if (e.button.button <= SDL_BUTTON_X2) {
                if (e.type == SDL_MOUSEBUTTONDOWN)
                    pointer.held |= SDL_BUTTON(e.button.button);
                else
                    pointer.held &= ~SDL_BUTTON(e.button.button);
            }
            break;
        case SDL_MOUSEMOTION:
            event.kind = Kind::MouseMove;
            event.window = e.motion.windowID;
            event.x = e.motion.x, event.y = e.motion.y;
            sdl::ToClient(event.window, event.x, event.y);
            event.button = HeldButtons(e.motion.state);
            event.shift = ShiftState();
            pointer.x = event.x, pointer.y = event.y;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.kind = e.type == SDL_KEYDOWN ? Kind::KeyDown : Kind::KeyUp;
            event.window = e.key.windowID;
            event.key = KeyCode(e.key.keysym.sym);
            event.shift = ShiftState();
            event.repeat = e.key.repeat != 0;
            QueueInput(event);
            if (e.type == SDL_KEYDOWN && ControlCharacter(event.key)) {
                event.kind = Kind::Character;
                QueueInput(event);
            }
            return;
        case SDL_TEXTINPUT:
            event.kind = Kind::Character;
            event.window = e.text.windowID;
            for (const char* c = e.text.text; *c; ++c) {
                if (static_cast<unsigned char>(*c) >= 128) continue;
                event.key = *c;
                QueueInput(event);
            }
            return;
        default:
            return;
    }
    QueueInput(event);
}

}  // namespace

void sdl::PumpInput(int timeoutMs) {
    if (!host::VideoStarted()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return;
    }
    SDL_Event e;
    const int came = WaitForDisplayInput(timeoutMs);
    if (came < 0) {
        if (SDL_WaitEventTimeout(&e, timeoutMs)) {
            do Translate(e);
            while (SDL_PollEvent(&e));
        }
        return;
    }
    // On X the game waits on the connection itself: SDL's own wait reads the socket a dozen times
    // a tick even when nothing came. SDL still looks once a second, for what it does on its own
    // time (keeping the screen saver off).
    static int64_t lookedAt = 0;
    const int64_t now = host::Now();
    if (came == 0 && now - lookedAt < kLongestUnpumpedMs) return;
    lookedAt = now;
    SDL_PumpEvents();
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) Translate(e);
}

}  // namespace platform

// The message pump: Windows' messages to our windows as the platform's input events.
#include <utility>

#include "platform/host.h"
#include "platform/keys.h"
#include "win32_host.h"

namespace platform {

namespace {

Integer ShiftState() {
    const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    return static_cast<Integer>((down(VK_SHIFT) ? vbShiftMask : 0) |
                                (down(VK_CONTROL) ? vbCtrlMask : 0) |
                                (down(VK_MENU) ? vbAltMask : 0));
}

// The characters a key types on its own beside the printable ones.
bool ControlCharacter(WPARAM c) {
    return c == vbKeyReturn || c == vbKeyEscape || c == vbKeyBack || c == vbKeyTab;
}

bool g_queued = false;  // since the loop last asked

void Push(HWND window, InputEvent event) {
    event.window = static_cast<uint32_t>(GetWindowLongPtrA(window, GWLP_USERDATA));
    QueueInput(event);
    g_queued = true;
}

// The buttons pressed in one of our windows and not released yet, and where the pointer last was.
struct Held {
    HWND window = nullptr;
    Integer buttons = 0;
    LPARAM at = 0;
};

Held& Pressed() {
    static Held held;
    return held;
}

void Mouse(HWND window, InputEvent::Kind kind, Integer button, LPARAM lParam) {
    Held& held = Pressed();
    if (kind == InputEvent::Kind::MouseDown && held.window != window) {
        win32::ReleaseButtons(held.window);
        held.window = window;
    }
    if (held.window == window) {
        held.at = lParam;
        if (kind == InputEvent::Kind::MouseDown) held.buttons |= button;
    }
    InputEvent event;
    event.kind = kind;
    // Signed: a captured pointer can be left of or above the window.
    event.x = static_cast<short>(LOWORD(lParam));
    event.y = static_cast<short>(HIWORD(lParam));
    win32::ToClient(window, event.x, event.y);
    event.button = button;
    event.shift = ShiftState();
    Push(window, event);
}

void Key(HWND window, InputEvent::Kind kind, WPARAM virtualKey, LPARAM lParam) {
    InputEvent event;
    event.kind = kind;
    event.key = win32::KeyCodeOf(static_cast<uint32_t>(virtualKey));
    event.shift = ShiftState();
    event.repeat = kind == InputEvent::Kind::KeyDown && (lParam & (LPARAM(1) << 30));
    Push(window, event);
}

}  // namespace

bool win32::InputQueued() {
    return std::exchange(g_queued, false);
}

// The window lost the pointer or the focus with buttons down: their releases will never come, so
// they are sent now, or fire would stick on until the next click.
void win32::ReleaseButtons(HWND window) {
    Held& held = Pressed();
    if (window == nullptr || held.window != window || held.buttons == 0) return;
    const Integer buttons = std::exchange(held.buttons, 0);
    for (Integer button = 1; button <= vbXButton2; button = static_cast<Integer>(button * 2))
        if (buttons & button) Mouse(window, InputEvent::Kind::MouseUp, button, held.at);
    if (GetCapture() == window) ReleaseCapture();
}

Integer win32::KeyCodeOf(uint32_t virtualKey) {
    // The game's key codes are the virtual keys it names.
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return static_cast<Integer>(virtualKey);
    switch (virtualKey) {
        case VK_BACK:
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_SPACE:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return static_cast<Integer>(virtualKey);
        default:
            return 0;
    }
}

Integer win32::ButtonOf(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return vbLeftButton;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return vbRightButton;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return vbMiddleButton;
        default:
            return GET_XBUTTON_WPARAM(wParam) == XBUTTON1   ? vbXButton1
                   : GET_XBUTTON_WPARAM(wParam) == XBUTTON2 ? vbXButton2
                                                            : vbOtherButton;
    }
}

Integer win32::HeldButtons(WPARAM keyState) {
    return static_cast<Integer>(((keyState & MK_LBUTTON) ? vbLeftButton : 0) |
                                ((keyState & MK_RBUTTON) ? vbRightButton : 0) |
                                ((keyState & MK_MBUTTON) ? vbMiddleButton : 0) |
                                ((keyState & MK_XBUTTON1) ? vbXButton1 : 0) |
                                ((keyState & MK_XBUTTON2) ? vbXButton2 : 0));
}

LRESULT CALLBACK win32::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    using Kind = InputEvent::Kind;
    LRESULT result = 0;
    if (win32::WindowMessage(window, message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != window) win32::ReleaseButtons(window);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            // Held, the pointer stays ours: the button's release arrives even outside.
            SetCapture(window);
            Mouse(window, Kind::MouseDown, ButtonOf(message, wParam), lParam);
            return message == WM_XBUTTONDOWN;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP: {
            // The release is counted before the capture goes, which then has nothing to release.
            Held& held = Pressed();
            if (held.window == window)
                held.buttons &= static_cast<Integer>(~ButtonOf(message, wParam));
            if (HeldButtons(GET_KEYSTATE_WPARAM(wParam)) == 0 && GetCapture() == window)
                ReleaseCapture();
            Mouse(window, Kind::MouseUp, ButtonOf(message, wParam), lParam);
            return message == WM_XBUTTONUP;
        }
        case WM_MOUSEMOVE:
            Mouse(window, Kind::MouseMove, HeldButtons(wParam), lParam);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            Key(window, message == WM_KEYDOWN ? Kind::KeyDown : Kind::KeyUp, wParam, lParam);
            return 0;
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            // Alt with a key: the game sees it, and Alt+F4 still closes through WM_CLOSE.
            Key(window, message == WM_SYSKEYDOWN ? Kind::KeyDown : Kind::KeyUp, wParam, lParam);
            break;
        case WM_SYSCOMMAND:
            // Alt alone would open the window menu's modal loop and stop the game's clock.
            if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
            break;
        case WM_CHAR:
            if (wParam < 128 && (wParam >= 32 || ControlCharacter(wParam))) {
                InputEvent event;
                event.kind = Kind::Character;
                event.key = static_cast<Integer>(wParam);
                event.shift = ShiftState();
                Push(window, event);
            }
            return 0;
        case WM_CLOSE: {
            // The form decides whether it closes.
            InputEvent event;
            event.kind = Kind::Close;
            Push(window, event);
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            win32::Exposed(window);
            InputEvent event;
            event.kind = Kind::Exposed;
            Push(window, event);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // every frame covers the whole window
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace platform

// One input event, whatever host it came from, and the one way it reaches the forms.
#pragma once

#include <cstdint>

#include "types.h"

namespace platform {

struct InputEvent {
    enum class Kind : uint8_t {
        Close,      // the window's close button
        Exposed,    // the window must be drawn again
        MouseDown,  // button: the one pressed
        MouseUp,
        MouseMove,  // button: every one held
        KeyDown,    // key: a key code of keys.h; repeat when held down
        KeyUp,
        Character,  // key: the character typed (Enter, Esc, Tab and Backspace included)
    };
    Kind kind = Kind::Exposed;
    uint32_t window = 0;  // the native window's id; 0 for none
    int x = 0;            // in the form's client pixels (a scaled frame already mapped back)
    int y = 0;
    Integer button = 0;
    Integer key = 0;
    Integer shift = 0;  // vbShiftMask | vbCtrlMask | vbAltMask
    bool repeat = false;
};

// Hands an event to the form it belongs to: its window's, or for keys without a window the
// newest one shown.
void DispatchInput(const InputEvent& event);

// The one queue of input: hosts put the player's events in it as they come, replays and tests
// theirs, and the loop dispatches them in order.
void QueueInput(const InputEvent& event);

}  // namespace platform

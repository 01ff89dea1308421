// The system cursor: its display count, its confinement, and client-to-screen points.
#pragma once

#include <cstdint>

#include "types.h"

namespace platform {

class Form;

struct POINTAPI {
    Long x;
    Long y;
};

struct RECT {
    Long Left;
    Long Top;
    Long Right;
    Long Bottom;
};

// Raises (bShow non-zero) or lowers the display count; the cursor shows while it is 0 or more.
// Returns the new count.
int32_t ShowCursor(Boolean bShow);

// Confines the cursor to a rectangle in screen pixels; no rectangle releases it.
int32_t ClipCursor(const RECT* rect);

// Converts a point in a form's client area to screen pixels, in place.
int32_t ClientToScreen(const Form& form, POINTAPI& point);

// Applies the current count and clip to the real cursor; windows call it when they appear.
void ApplyCursorState();

}  // namespace platform

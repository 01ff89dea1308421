#include "cursor.h"

#include "display.h"
#include "form.h"
#include "host.h"

namespace platform {

namespace {

int32_t g_count = 0;  // the cursor shows while this is 0 or more
std::optional<RECT> g_clip;

}  // namespace

int32_t ShowCursor(Boolean bShow) {
    g_count += bShow ? 1 : -1;
    ApplyCursorState();
    return g_count;
}

int32_t ClipCursor(const RECT* rect) {
    if (rect)
        g_clip = *rect;
    else
        g_clip.reset();
    ApplyCursorState();
    return 1;
}

int32_t ClientToScreen(const Form& form, POINTAPI& point) {
    point.x += static_cast<Long>(form.Left() / kTwipsPerPixel);
    point.y += static_cast<Long>(form.Top() / kTwipsPerPixel);
    return 1;
}

int32_t CursorDisplayCount() {
    return g_count;
}
std::optional<RECT> CursorClip() {
    return g_clip;
}

void ResetCursorState() {
    g_count = 0;
    g_clip.reset();
    ApplyCursorState();
}

void ApplyCursorState() {
    if (!host::VideoStarted()) return;
    host::ShowPointer(g_count >= 0);
    for (Form* form : LoadedForms())
        if (form->Window()) form->Window()->ConfinePointer(g_clip ? &*g_clip : nullptr);
}

}  // namespace platform

#include "cursor.h"

#include <SDL.h>

#include <algorithm>

#include "form.h"
#include "window.h"

namespace platform {

namespace {

constexpr int kTwipsPerPixel = 15;

int32_t g_count = 0;  // the cursor shows while this is 0 or more
std::optional<RECT> g_clip;

// Confines the pointer inside one window to the part of the clip rectangle that lies on it.
void ApplyClip(Form& form) {
    NativeWindow* window = form.Window();
    if (!window) return;
    if (!g_clip) {
        SDL_SetWindowMouseRect(window->Handle(), nullptr);
        return;
    }
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(window->Handle(), &wx, &wy);
    const int w = static_cast<int>(form.ScaleWidth()), h = static_cast<int>(form.ScaleHeight());
    const int left = std::clamp(g_clip->Left - wx, 0, w), top = std::clamp(g_clip->Top - wy, 0, h);
    const int right = std::clamp(g_clip->Right - wx, 0, w);
    const int bottom = std::clamp(g_clip->Bottom - wy, 0, h);
    const SDL_Rect rect{left, top, std::max(right - left, 1), std::max(bottom - top, 1)};
    SDL_SetWindowMouseRect(window->Handle(), &rect);
}

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
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_ShowCursor(g_count >= 0 ? SDL_ENABLE : SDL_DISABLE);
    for (Form* form : LoadedForms()) ApplyClip(*form);
}

}  // namespace platform

// A native window that shows a form's surface. Private to the platform layer.
#pragma once

#include <cstdint>
#include <string>

#include "surface.h"

struct SDL_Window;
struct SDL_Rect;

namespace platform {

struct FormDesign;

class NativeWindow {
public:
    // A window whose client area is the design's size with its top-left corner at (x, y).
    NativeWindow(const FormDesign& design, int x, int y);
    ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    uint32_t Id() const;
    void Move(int x, int y);
    // Shows the surface. Where the window's framebuffer has the surface's size and format the
    // surface moves into it, so that drawing on the surface draws in the window: the next
    // Present only shows it. It moves out again before the framebuffer can go (the window is
    // resized or closed).
    void Present(Surface& surface);
    // A point in the window to the form's client area: they differ when the frame is scaled to
    // fill the screen.
    void ToClient(int& x, int& y) const;
    void Hide();
    void Show();
    // Full-screen at the display's current size when asked, windowed otherwise.
    void FitDisplay();
    // The frame a window manager draws around the client area, in pixels; none without one.
    void FrameBorders(int& left, int& top, int& right, int& bottom) const;
    SDL_Window* Handle() { return window_; }

private:
    SDL_Rect Frame() const;  // where the client area lands in the window
    void Release();          // moves a surface living in the framebuffer back out

    SDL_Window* window_ = nullptr;
    int width_;
    int height_;
    bool fullscreen_ = false;
    Surface* drawn_ = nullptr;  // the surface living in the framebuffer, if any
};

}  // namespace platform

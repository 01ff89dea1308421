// A native window that shows a form's surface. Each host has its own; private to the platform
// layer.
#pragma once

#include <cstdint>
#include <memory>

#include "cursor.h"
#include "surface.h"

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
    // Shows the surface. A host may move the surface's pixels into the window's own framebuffer,
    // so that drawing on it draws in the window; they move out again before that memory can go.
    void Present(Surface& surface);
    // A point in the window to the form's client area: they differ when the frame is scaled to
    // fill the screen.
    void ToClient(int& x, int& y) const;
    void Hide();
    void Show();
    // Full-screen when ShowsFullScreen says so, windowed otherwise.
    void FitDisplay();
    // The frame a window manager draws around the client area, in pixels; none without one.
    void FrameBorders(int& left, int& top, int& right, int& bottom) const;
    // Keeps the pointer inside the screen rectangle while it is over this window; null frees it.
    void ConfinePointer(const RECT* screen);

    struct Host;  // the host's own state

private:
    std::unique_ptr<Host> host_;
};

}  // namespace platform

// Windows of our own class; each frame goes to the screen with one DIB transfer.
#include "platform/window.h"

#include <string>

#include "platform/display.h"
#include "platform/error.h"
#include "platform/form.h"
#include "platform/win32/win32_host.h"

namespace platform {

struct NativeWindow::Host {
    HWND window = nullptr;
    uint32_t id = 0;
    int width = 0;  // the client area, as designed
    int height = 0;
    int x = 0;  // where the client area goes while windowed
    int y = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool fullscreen = false;
    int screenWidth = 0;  // the screen the full-screen window covers
    int screenHeight = 0;

    // Where the client area lands in the window: scaled into the screen when full-screen on a
    // display that cannot show the game's size.
    Letterbox Frame() const {
        if (!fullscreen) return {0, 0, width, height};
        return FitInside(width, height, screenWidth, screenHeight);
    }
    // The whole window, frame included, for a client area at (x, y).
    ::RECT Outer(int left, int top) const {
        ::RECT rect{left, top, left + width, top + height};
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
        return rect;
    }
    void Place(HWND after, const ::RECT& rect, UINT flags) {
        SetWindowPos(window, after, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, flags | SWP_NOACTIVATE);
    }
};

NativeWindow::NativeWindow(const FormDesign& design, int x, int y) : host_(new Host) {
    Host& host = *host_;
    host.width = design.clientWidth;
    host.height = design.clientHeight;
    host.x = x;
    host.y = y;
    // A tool window: caption and close box, fixed size, no maximise; otherwise no frame at all.
    const bool tool = design.border == BorderStyle::FixedToolWindow;
    host.style = tool ? WS_CAPTION | WS_SYSMENU : WS_POPUP;
    host.exStyle = tool ? WS_EX_TOOLWINDOW : 0;
    const ::RECT outer = host.Outer(x, y);
    host.window =
        CreateWindowExA(host.exStyle, win32::kWindowClass, design.caption.c_str(), host.style,
                        outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!host.window)
        throw RuntimeError(kNoDisplay, "Cannot open a window (Windows error " +
                                           std::to_string(GetLastError()) + ")");
    // Our own numbers: never 0, never reused while the program runs.
    static uint32_t last = 0;
    host.id = ++last;
    SetWindowLongPtrA(host.window, GWLP_USERDATA, static_cast<LONG_PTR>(host.id));
    FitDisplay();
}

NativeWindow::~NativeWindow() {
    if (GetCapture() == host_->window) ReleaseCapture();
    DestroyWindow(host_->window);
}

uint32_t NativeWindow::Id() const {
    return host_->id;
}

void NativeWindow::Move(int x, int y) {
    host_->x = x;
    host_->y = y;
    if (!host_->fullscreen) host_->Place(nullptr, host_->Outer(x, y), SWP_NOSIZE | SWP_NOZORDER);
}

void NativeWindow::Show() {
    if (win32::HiddenWindows()) return;
    ShowWindow(host_->window, SW_SHOW);
    SetForegroundWindow(host_->window);
}

void NativeWindow::Hide() {
    ShowWindow(host_->window, SW_HIDE);
}

void NativeWindow::FrameBorders(int& left, int& top, int& right, int& bottom) const {
    ::RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, host_->style, FALSE, host_->exStyle);
    left = -frame.left, top = -frame.top, right = frame.right, bottom = frame.bottom;
}

void NativeWindow::ToClient(int& x, int& y) const {
    host_->Frame().ToInner(host_->width, host_->height, x, y);
}

void NativeWindow::ConfinePointer(const RECT* screen) {
    // A test's hidden windows leave the real pointer alone.
    if (win32::HiddenWindows()) return;
    if (!screen) {
        ::ClipCursor(nullptr);
        return;
    }
    // The game's screen is the full-screen window's client area: scaled like the frame.
    const Letterbox f = host_->Frame();
    const int w = host_->width, h = host_->height;
    ::RECT rect{screen->Left, screen->Top, screen->Right, screen->Bottom};
    if (host_->fullscreen && (f.w != w || f.h != h))
        rect = {f.x + screen->Left * f.w / w, f.y + screen->Top * f.h / h,
                f.x + screen->Right * f.w / w, f.y + screen->Bottom * f.h / h};
    ::ClipCursor(&rect);
}

void NativeWindow::Present(Surface& surface) {
    const Host& host = *host_;
    if (!surface.Pixels() || surface.Width() < host.width || surface.Height() < host.height) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(surface.Stride());
    info.bmiHeader.biHeight = -host.height;  // top-down, as the surface's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::HDC dc = GetDC(host.window);
    if (!dc) return;
    const Letterbox f = host.Frame();
    if (f.w == host.width && f.h == host.height) {
        SetDIBitsToDevice(dc, f.x, f.y, static_cast<DWORD>(host.width),
                          static_cast<DWORD>(host.height), 0, 0, 0, static_cast<UINT>(host.height),
                          surface.Pixels(), &info, DIB_RGB_COLORS);
    } else {
        // Black bars round the scaled frame, then the frame.
        ::RECT client{0, 0, host.screenWidth, host.screenHeight};
        ExcludeClipRect(dc, f.x, f.y, f.x + f.w, f.y + f.h);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SelectClipRgn(dc, nullptr);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchDIBits(dc, f.x, f.y, f.w, f.h, 0, 0, host.width, host.height, surface.Pixels(),
                      &info, DIB_RGB_COLORS, SRCCOPY);
    }
    ReleaseDC(host.window, dc);
}

void NativeWindow::FitDisplay() {
    Host& host = *host_;
    const bool wanted = ShowsFullScreen(host.width, host.height, host.style == WS_POPUP);
    if (!wanted) {
        if (!host.fullscreen) return;
        host.fullscreen = false;
        host.Place(nullptr, host.Outer(host.x, host.y), SWP_NOZORDER);
        return;
    }
    // The screen as it is now: at the game's mode when SwitchDisplay got it, otherwise the
    // desktop, where the frame is letterboxed.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (host.fullscreen && width == host.screenWidth && height == host.screenHeight) return;
    host.fullscreen = true;
    host.screenWidth = width;
    host.screenHeight = height;
    host.Place(HWND_TOP, {0, 0, width, height}, 0);
    InvalidateRect(host.window, nullptr, FALSE);
}

}  // namespace platform

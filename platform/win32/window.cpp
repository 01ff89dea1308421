// Windows of our own class; each frame goes to the screen with one DIB transfer.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/cursor.h"
#include "platform/display.h"
#include "platform/error.h"
#include "platform/form.h"
#include "platform/host.h"
#include "win32_host.h"

namespace platform {

struct NativeWindow::Host {
    NativeWindow* owner = nullptr;
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
    UINT dpi = 96;             // the monitor's
    int scale = 1;             // its whole-number scale factor, for the windowed client area
    std::optional<RECT> clip;  // the game's, in its own screen pixels
    ShownFrame shown;          // what the window shows of its form's surface
    std::vector<Rect> rects;

    // Where the client area lands in the window: scaled into the screen when full-screen on a
    // display that cannot show the game's size, or by the monitor's scale factor when windowed.
    Letterbox Frame() const {
        if (!fullscreen) return {0, 0, width * scale, height * scale};
        return FitInside(width, height, screenWidth, screenHeight);
    }
    // The whole window, frame included, for a client area at (x, y).
    ::RECT Outer(int left, int top) const {
        ::RECT rect{left, top, left + width * scale, top + height * scale};
        AddFrame(rect);
        return rect;
    }
    // A rectangle of the game's screen on the real one: the game places its windows as if their
    // client areas were their design's size, where they are scaled.
    ::RECT OnScreen(const RECT& game) const {
        const Letterbox f = Frame();
        ::POINT origin{0, 0};
        if (!fullscreen) ClientToScreen(window, &origin);
        const int left = fullscreen ? 0 : x, top = fullscreen ? 0 : y;
        return {origin.x + f.x + (game.Left - left) * f.w / width,
                origin.y + f.y + (game.Top - top) * f.h / height,
                origin.x + f.x + (game.Right - left) * f.w / width,
                origin.y + f.y + (game.Bottom - top) * f.h / height};
    }
    // The game's clip while it is in front. Full-screen, the pointer also stays on the game's
    // monitor, so a click on another one cannot take the focus away mid-round.
    void ApplyClip() const {
        const auto clipCursor = win32::Calls().clipCursor;
        if (!win32::Foreground() || (!clip && !fullscreen)) {
            clipCursor(nullptr);
        } else if (clip) {
            const ::RECT rect = OnScreen(*clip);
            clipCursor(&rect);
        } else {
            ::MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
            clipCursor(&monitor.rcMonitor);
        }
    }
    void SetScale(UINT monitorDpi) {
        dpi = monitorDpi;
        scale = std::max(1, static_cast<int>(dpi) / 96);
    }
    // The caption and borders as drawn at the window's DPI (Windows 10 1607 and later say so).
    void AddFrame(::RECT& rect) const {
        using ForDpi = BOOL(WINAPI*)(::RECT*, DWORD, BOOL, DWORD, UINT);
        static const auto forDpi = reinterpret_cast<ForDpi>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32"), "AdjustWindowRectExForDpi")));
        if (forDpi != nullptr)
            forDpi(&rect, style, FALSE, exStyle, dpi);
        else
            AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    void Place(HWND after, const ::RECT& rect, UINT flags) {
        SetWindowPos(window, after, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, flags | SWP_NOACTIVATE);
    }
};

namespace {

// Every window of ours, for the messages about a window as a whole.
std::vector<NativeWindow::Host*>& Hosts() {
    static std::vector<NativeWindow::Host*> hosts;
    return hosts;
}

NativeWindow::Host* HostOf(HWND window) {
    for (NativeWindow::Host* host : Hosts())
        if (host->window == window) return host;
    return nullptr;
}

}  // namespace

NativeWindow::NativeWindow(const FormDesign& design, int x, int y) : host_(new Host) {
    Host& host = *host_;
    host.owner = this;
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
    Hosts().push_back(&host);
    // 640 x 480 at 96 DPI; twice that each way at 192 DPI.
    host.SetScale(win32::Calls().dpiOf(host.window));
    if (host.dpi != 96) host.Place(nullptr, host.Outer(x, y), SWP_NOZORDER);
    FitDisplay();
}

NativeWindow::~NativeWindow() {
    if (GetCapture() == host_->window) ReleaseCapture();
    std::erase(Hosts(), host_.get());
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

// A scaled client area counts as frame right of and below the design's size, so that a form
// centred by its frame is centred whole.
void NativeWindow::FrameBorders(int& left, int& top, int& right, int& bottom) const {
    const Host& host = *host_;
    ::RECT frame{0, 0, 0, 0};
    host.AddFrame(frame);
    const int extra = host.fullscreen ? 0 : host.scale - 1;
    left = -frame.left, top = -frame.top;
    right = frame.right + extra * host.width, bottom = frame.bottom + extra * host.height;
}

void win32::ToClient(HWND window, int& x, int& y) {
    if (const NativeWindow::Host* host = HostOf(window))
        host->Frame().ToInner(host->width, host->height, x, y);
}

// Windows drops the clip whenever another window comes to the front: it is applied again each
// time the game's does (WindowMessage).
void NativeWindow::ConfinePointer(const RECT* screen) {
    host_->clip.reset();
    if (screen) host_->clip = *screen;
    host_->ApplyClip();
}

void win32::Exposed(HWND window) {
    if (NativeWindow::Host* host = HostOf(window)) host->shown.Forget();
}

namespace {

// A top-down DIB of `rows` of the surface's rows, as wide as its stride.
BITMAPINFO RowsInfo(const Surface& surface, int rows) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(surface.Stride());
    info.bmiHeader.biHeight = -rows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// One rectangle of the surface to the same place in the client area. The DIB starts at the
// rectangle's first row, so no source row has to be counted from either end.
void SendRect(::HDC dc, const Surface& surface, const Rect& r) {
    const BITMAPINFO info = RowsInfo(surface, r.h);
    SetDIBitsToDevice(dc, r.x, r.y, static_cast<DWORD>(r.w), static_cast<DWORD>(r.h), r.x, 0, 0,
                      static_cast<UINT>(r.h), surface.Pixels() + r.y * surface.Stride(), &info,
                      DIB_RGB_COLORS);
}

}  // namespace

void NativeWindow::Present(Surface& surface) {
    Host& host = *host_;
    if (!surface.Pixels() || surface.Width() < host.width || surface.Height() < host.height) return;
    const BITMAPINFO info = RowsInfo(surface, host.height);
    ::HDC dc = GetDC(host.window);
    if (!dc) return;
    const Letterbox f = host.Frame();
    if (f.w == host.width && f.h == host.height && f.x == 0 && f.y == 0) {
        // At its own size the window is sent only what changed since it last showed the surface.
        if (!host.shown.Changed(surface, host.rects)) host.rects.assign(1, {0, 0, f.w, f.h});
        for (const Rect& r : host.rects) SendRect(dc, surface, r);
    } else {
        host.shown.Forget();
        if (host.fullscreen) {
            // Black bars round the scaled frame, then the frame.
            ::RECT client{0, 0, host.screenWidth, host.screenHeight};
            ExcludeClipRect(dc, f.x, f.y, f.x + f.w, f.y + f.h);
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            SelectClipRgn(dc, nullptr);
        }
        // Whole factors repeat each pixel, crisp; others blend them, which reads better there.
        const bool whole = f.w % host.width == 0 && f.h % host.height == 0;
        SetStretchBltMode(dc, whole ? COLORONCOLOR : HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchDIBits(dc, f.x, f.y, f.w, f.h, 0, 0, host.width, host.height, surface.Pixels(),
                      &info, DIB_RGB_COLORS, SRCCOPY);
    }
    ReleaseDC(host.window, dc);
}

void NativeWindow::FitDisplay() {
    Host& host = *host_;
    // Minimised behind another program: fitted when it comes back.
    if (IsIconic(host.window)) return;
    const bool wanted = ShowsFullScreen(host.width, host.height, host.style == WS_POPUP);
    if (!wanted) {
        if (!host.fullscreen) return;
        host.fullscreen = false;
        host.shown.Forget();
        host.Place(nullptr, host.Outer(host.x, host.y), SWP_NOZORDER);
        return;
    }
    // The screen as it is now: at the game's mode when SwitchDisplay got it, otherwise the
    // desktop, where the frame is letterboxed.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (host.fullscreen && width == host.screenWidth && height == host.screenHeight) return;
    host.fullscreen = true;
    host.shown.Forget();
    host.screenWidth = width;
    host.screenHeight = height;
    host.Place(HWND_TOP, {0, 0, width, height}, 0);
    InvalidateRect(host.window, nullptr, FALSE);
    host.ApplyClip();
}

bool win32::WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& result) {
    NativeWindow::Host* host = HostOf(window);
    if (host == nullptr) return false;
    switch (message) {
        case WM_ACTIVATEAPP:
            // Full-screen, the player gets the desktop back at once; the game runs on behind.
            SetForeground(wParam != FALSE);
            if (host->fullscreen && IsWindowVisible(window))
                ShowWindow(window, wParam ? SW_RESTORE : SW_MINIMIZE);
            if (!wParam) ReleaseButtons(window);
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                ReleaseButtons(window);
                return false;
            }
            SetForeground(true);
            break;
        case WM_DISPLAYCHANGE:
            break;
        case WM_DPICHANGED: {
            // Moved to a monitor of another scale: the same top-left, the new size.
            host->SetScale(LOWORD(wParam));
            const auto* suggested = reinterpret_cast<const ::RECT*>(lParam);
            if (!host->fullscreen) {
                const ::RECT outer = host->Outer(0, 0);
                host->Place(
                    nullptr,
                    {suggested->left, suggested->top, suggested->left + outer.right - outer.left,
                     suggested->top + outer.bottom - outer.top},
                    SWP_NOZORDER);
            }
            InvalidateRect(window, nullptr, FALSE);
            result = 0;
            return true;
        }
        default:
            return false;
    }
    // After activation or a mode change Windows has dropped the clip: the window refits to the
    // display and the pointer is hidden and confined again, or freed where the game is behind.
    host->owner->FitDisplay();
    host->ApplyClip();
    ApplyCursorState();
    result = DefWindowProcA(window, message, wParam, lParam);
    return true;
}

}  // namespace platform

// Windows over SDL: the frame goes to the display through the window's framebuffer.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "display_guard.h"
#include "platform/display.h"
#include "platform/error.h"
#include "platform/form.h"
#include "platform/host.h"
#include "sdl_host.h"
#include "window_icon.h"
#include "x11_watch.h"

namespace platform {

struct NativeWindow::Host {
    SDL_Window* window = nullptr;
    int width;
    int height;
    bool fullscreen = false;
    bool guarded = false;      // the display guardian keeps the desktop's mode for this window
    std::string display{};     // the X display's name, "" on other video drivers
    Surface* drawn = nullptr;  // the surface living in the framebuffer, if any
    ShownFrame shown{};        // what the framebuffer has shown of it
    std::vector<Rect> rects{};
    std::vector<SDL_Rect> sdlRects{};

    // Where the client area lands in the window.
    Letterbox Frame() const {
        if (!fullscreen) return {0, 0, width, height};
        int w = width, h = height;
        SDL_GetWindowSize(window, &w, &h);
        return FitInside(width, height, w, h);
    }
    // Moves a surface living in the framebuffer back out.
    void Release() {
        if (drawn) drawn->Detach();
        drawn = nullptr;
    }
    void Unguard() {
        if (std::exchange(guarded, false)) StopDisplayGuard();
    }
};

namespace {

constexpr char kHostData[] = "platform-window";

Uint32 WindowFlags(const FormDesign& design) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (design.border == BorderStyle::None) flags |= SDL_WINDOW_BORDERLESS;
    if (design.border == BorderStyle::FixedToolWindow) flags |= SDL_WINDOW_UTILITY;
    return flags;
}

// The display's own mode of exactly this size, if it has one.
bool FindMode(int width, int height, SDL_DisplayMode& found) {
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            found = mode;
            return true;
        }
    }
    return false;
}

}  // namespace

NativeWindow::NativeWindow(const FormDesign& design, int x, int y)
    : host_(new Host{nullptr, design.clientWidth, design.clientHeight}) {
    host_->window = SDL_CreateWindow(design.caption.c_str(), x, y, host_->width, host_->height,
                                     WindowFlags(design));
    if (!host_->window)
        throw RuntimeError(kNoDisplay, std::string("Cannot open a window: ") + SDL_GetError());
    SDL_SetWindowData(host_->window, kHostData, host_.get());
    if (design.withIcon) SetWindowIcon(host_->window);
    host_->display = WatchWindow(host_->window);
    FitDisplay();
}

NativeWindow::~NativeWindow() {
    host_->Release();
    SDL_DestroyWindow(host_->window);
    host_->Unguard();
}

uint32_t NativeWindow::Id() const {
    return SDL_GetWindowID(host_->window);
}

void NativeWindow::Move(int x, int y) {
    if (!host_->fullscreen) SDL_SetWindowPosition(host_->window, x, y);
}

void NativeWindow::Show() {
    SDL_ShowWindow(host_->window);
    SDL_RaiseWindow(host_->window);
}

void NativeWindow::FrameBorders(int& left, int& top, int& right, int& bottom) const {
    left = top = right = bottom = 0;
    SDL_GetWindowBordersSize(host_->window, &top, &left, &bottom, &right);
}

void NativeWindow::Hide() {
    SDL_HideWindow(host_->window);
}

void sdl::ToClient(uint32_t windowId, int& x, int& y) {
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    const auto* host =
        window ? static_cast<NativeWindow::Host*>(SDL_GetWindowData(window, kHostData)) : nullptr;
    if (host) host->Frame().ToInner(host->width, host->height, x, y);
}

void NativeWindow::ConfinePointer(const RECT* screen) {
    if (!screen) {
        SDL_SetWindowMouseRect(host_->window, nullptr);
        return;
    }
    // SDL confines within one window: the part of the rectangle that lies on it.
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(host_->window, &wx, &wy);
    const int w = host_->width, h = host_->height;
    const int left = std::clamp(screen->Left - wx, 0, w), top = std::clamp(screen->Top - wy, 0, h);
    const int right = std::clamp(screen->Right - wx, 0, w);
    const int bottom = std::clamp(screen->Bottom - wy, 0, h);
    const SDL_Rect rect{left, top, std::max(right - left, 1), std::max(bottom - top, 1)};
    SDL_SetWindowMouseRect(host_->window, &rect);
}

void sdl::Exposed(uint32_t windowId) {
    SDL_Window* window = SDL_GetWindowFromID(windowId);
    auto* host =
        window ? static_cast<NativeWindow::Host*>(SDL_GetWindowData(window, kHostData)) : nullptr;
    if (host) host->shown.Forget();
}

void NativeWindow::Present(Surface& surface) {
    Host& host = *host_;
    if (host.drawn == &surface && surface.Attached()) {
        // Drawn in the framebuffer already: only what changed goes to the display.
        if (!host.shown.Changed(surface, host.rects)) {
            if (SDL_UpdateWindowSurface(host.window) == 0) return;
        } else {
            host.sdlRects.clear();
            for (const Rect& r : host.rects) host.sdlRects.push_back({r.x, r.y, r.w, r.h});
            if (host.sdlRects.empty() ||
                SDL_UpdateWindowSurfaceRects(host.window, host.sdlRects.data(),
                                             static_cast<int>(host.sdlRects.size())) == 0)
                return;
        }
    }
    host.shown.Forget();
    // Not drawn in the framebuffer yet, or the window was resized since: SDL keeps the old
    // framebuffer until the window surface is asked for anew, so the picture can still move out.
    host.Release();
    SDL_Surface* target = SDL_GetWindowSurface(host.window);
    if (!target) return;
    const int width = host.width, height = host.height;
    const Letterbox frame = host.Frame();
    const bool plain = frame.w == width && frame.h == height &&
                       target->format->format == SDL_PIXELFORMAT_RGB888 &&
                       target->w >= frame.x + width && target->h >= frame.y + height;
    if (plain && target->w == width && target->h == height && target->pitch % 4 == 0) {
        // The usual case: from now on the form draws straight into the window.
        surface.Attach(static_cast<uint32_t*>(target->pixels),
                       static_cast<size_t>(target->pitch / 4));
        host.drawn = &surface;
    } else if (plain) {
        for (int y = 0; y < height; ++y)
            std::memcpy(
                static_cast<uint8_t*>(target->pixels) + (frame.y + y) * target->pitch + frame.x * 4,
                std::as_const(surface).Row(y), static_cast<size_t>(width) * 4);
    } else {
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint32_t*>(surface.Pixels()), width, height, 32,
            static_cast<int>(surface.Stride() * 4), SDL_PIXELFORMAT_RGB888);
        if (!source) return;
        SDL_FillRect(target, nullptr, 0);
        SDL_Rect to{frame.x, frame.y, frame.w, frame.h};
        if (SDL_SoftStretchLinear(source, nullptr, target, &to) != 0)
            SDL_BlitScaled(source, nullptr, target, &to);
        SDL_FreeSurface(source);
    }
    // From a whole frame in the framebuffer on, the next presents send only what changed.
    if (SDL_UpdateWindowSurface(host.window) == 0 && host.drawn == &surface)
        host.shown.Changed(surface, host.rects);
}

void NativeWindow::FitDisplay() {
    Host& host = *host_;
    const bool borderless = SDL_GetWindowFlags(host.window) & SDL_WINDOW_BORDERLESS;
    const bool wanted = ShowsFullScreen(host.width, host.height, borderless);
    if (wanted == host.fullscreen) return;
    host.Release();
    host.shown.Forget();
    host.fullscreen = wanted;
    if (!wanted) {
        SDL_SetWindowFullscreen(host.window, 0);
        host.Unguard();
        SDL_SetWindowSize(host.window, host.width, host.height);
        return;
    }
    // A real mode of this size where the display has one; otherwise the frame is scaled to
    // fill the desktop (see Frame). Whatever ends the game, the guardian started before the
    // switch puts the desktop's mode back.
    SDL_DisplayMode mode;
    if (FindMode(host.width, host.height, mode)) {
        host.guarded = !host.display.empty() && StartDisplayGuard(host.display);
        if (SDL_SetWindowDisplayMode(host.window, &mode) == 0 &&
            SDL_SetWindowFullscreen(host.window, SDL_WINDOW_FULLSCREEN) == 0)
            return;
        host.Unguard();
    }
    // The window is also moved and sized over the whole screen by hand: without a window
    // manager nobody else would do it.
    const DisplaySize desktop = DesktopSize();
    SDL_SetWindowPosition(host.window, 0, 0);
    SDL_SetWindowSize(host.window, desktop.width, desktop.height);
    SDL_SetWindowFullscreen(host.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

}  // namespace platform

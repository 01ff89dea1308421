#include "window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "display.h"
#include "error.h"
#include "form.h"
#include "window_icon.h"

namespace platform {

namespace {

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
    : width_(design.clientWidth), height_(design.clientHeight) {
    window_ = SDL_CreateWindow(design.caption.c_str(), x, y, width_, height_, WindowFlags(design));
    if (!window_)
        throw RuntimeError(kNoDisplay, std::string("Cannot open a window: ") + SDL_GetError());
    if (design.withIcon) SetWindowIcon(window_);
    FitDisplay();
}

NativeWindow::~NativeWindow() {
    Release();
    SDL_DestroyWindow(window_);
}

void NativeWindow::Release() {
    if (drawn_) drawn_->Detach();
    drawn_ = nullptr;
}

uint32_t NativeWindow::Id() const {
    return SDL_GetWindowID(window_);
}

void NativeWindow::Move(int x, int y) {
    if (!fullscreen_) SDL_SetWindowPosition(window_, x, y);
}

void NativeWindow::Show() {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

void NativeWindow::FrameBorders(int& left, int& top, int& right, int& bottom) const {
    left = top = right = bottom = 0;
    SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
}

void NativeWindow::Hide() {
    SDL_HideWindow(window_);
}

SDL_Rect NativeWindow::Frame() const {
    if (!fullscreen_) return {0, 0, width_, height_};
    int w = width_, h = height_;
    SDL_GetWindowSize(window_, &w, &h);
    // As large as fits, same shape, centred: black bars where the shapes differ.
    const double scale = std::min(double(w) / width_, double(h) / height_);
    const int fw = static_cast<int>(width_ * scale), fh = static_cast<int>(height_ * scale);
    return {(w - fw) / 2, (h - fh) / 2, fw, fh};
}

void NativeWindow::ToClient(int& x, int& y) const {
    const SDL_Rect frame = Frame();
    if (frame.w <= 0 || frame.h <= 0) return;
    x = (x - frame.x) * width_ / frame.w;
    y = (y - frame.y) * height_ / frame.h;
}

void NativeWindow::Present(Surface& surface) {
    if (drawn_ == &surface && surface.Attached() && SDL_UpdateWindowSurface(window_) == 0) return;
    // Not drawn in the framebuffer yet, or the window was resized since: SDL keeps the old
    // framebuffer until the window surface is asked for anew, so the picture can still move out.
    Release();
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target) return;
    const SDL_Rect frame = Frame();
    const bool plain = frame.w == width_ && frame.h == height_ &&
                       target->format->format == SDL_PIXELFORMAT_RGB888 &&
                       target->w >= frame.x + width_ && target->h >= frame.y + height_;
    if (plain && target->w == width_ && target->h == height_ && target->pitch % 4 == 0) {
        // The usual case: from now on the form draws straight into the window.
        surface.Attach(static_cast<uint32_t*>(target->pixels),
                       static_cast<size_t>(target->pitch / 4));
        drawn_ = &surface;
    } else if (plain) {
        for (int y = 0; y < height_; ++y)
            std::memcpy(
                static_cast<uint8_t*>(target->pixels) + (frame.y + y) * target->pitch + frame.x * 4,
                std::as_const(surface).Row(y), static_cast<size_t>(width_) * 4);
    } else {
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint32_t*>(surface.Pixels()), width_, height_, 32,
            static_cast<int>(surface.Stride() * 4), SDL_PIXELFORMAT_RGB888);
        if (!source) return;
        SDL_FillRect(target, nullptr, 0);
        SDL_Rect to = frame;
        if (SDL_SoftStretchLinear(source, nullptr, target, &to) != 0)
            SDL_BlitScaled(source, nullptr, target, &to);
        SDL_FreeSurface(source);
    }
    SDL_UpdateWindowSurface(window_);
}

void NativeWindow::FitDisplay() {
    const DisplaySize asked = CurrentDisplaySize();
    const DisplaySize desktop = DesktopSize();
    const bool borderless = SDL_GetWindowFlags(window_) & SDL_WINDOW_BORDERLESS;
    const bool wanted = borderless && asked.width == width_ && asked.height == height_ &&
                        (asked.width != desktop.width || asked.height != desktop.height);
    if (wanted == fullscreen_) return;
    Release();
    fullscreen_ = wanted;
    if (!wanted) {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowSize(window_, width_, height_);
        return;
    }
    // A real mode of this size where the display has one; otherwise the frame is scaled to
    // fill the desktop (see Frame).
    SDL_DisplayMode mode;
    if (FindMode(width_, height_, mode) && SDL_SetWindowDisplayMode(window_, &mode) == 0 &&
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) == 0)
        return;
    // The window is also moved and sized over the whole screen by hand: without a window
    // manager nobody else would do it.
    SDL_SetWindowPosition(window_, 0, 0);
    SDL_SetWindowSize(window_, desktop.width, desktop.height);
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

}  // namespace platform

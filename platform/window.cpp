#include "window.h"

#include <SDL.h>

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
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_)
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     width_, height_);
    if (!renderer_ || !texture_) {
        const std::string why = SDL_GetError();
        Release();
        throw RuntimeError(kNoDisplay, "Cannot draw into a window: " + why);
    }
    FitDisplay();
}

NativeWindow::~NativeWindow() {
    Release();
}

void NativeWindow::Release() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
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

void NativeWindow::Hide() {
    SDL_HideWindow(window_);
}

void NativeWindow::Present(const Surface& surface) {
    SDL_UpdateTexture(texture_, nullptr, surface.Row(0),
                      static_cast<int>(surface.Width() * sizeof(uint32_t)));
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void NativeWindow::FitDisplay() {
    const DisplaySize asked = CurrentDisplaySize();
    const DisplaySize desktop = DesktopSize();
    const bool borderless = SDL_GetWindowFlags(window_) & SDL_WINDOW_BORDERLESS;
    const bool wanted = borderless && asked.width == width_ && asked.height == height_ &&
                        (asked.width != desktop.width || asked.height != desktop.height);
    if (wanted == fullscreen_) return;
    fullscreen_ = wanted;
    if (!wanted) {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowSize(window_, width_, height_);
        SDL_RenderSetLogicalSize(renderer_, 0, 0);
        return;
    }
    // A real mode of this size where the display has one; otherwise the frame is scaled to the
    // whole desktop, keeping its shape, with black bars where the shapes differ.
    SDL_DisplayMode mode;
    if (FindMode(width_, height_, mode) && SDL_SetWindowDisplayMode(window_, &mode) == 0 &&
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) == 0)
        return;
    // The window is also moved and sized over the whole screen by hand: without a window
    // manager nobody else would do it.
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
    SDL_SetWindowPosition(window_, 0, 0);
    SDL_SetWindowSize(window_, desktop.width, desktop.height);
    SDL_RenderSetLogicalSize(renderer_, width_, height_);
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

}  // namespace platform

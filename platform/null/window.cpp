// Windows as records: where they are, whether they show, and what they last presented.
#include <vector>

#include "null_host.h"
#include "platform/constants.h"
#include "platform/form.h"
#include "platform/host.h"

namespace platform {

struct NativeWindow::Host {
    uint32_t id;
    bool borderless;
    null::WindowRecord& Record() const { return *null::Window(id); }
};

NativeWindow::NativeWindow(const FormDesign& design, int x, int y) {
    static uint32_t lastId = 0;
    host_.reset(new Host{++lastId, design.border == BorderStyle::None});
    null::Host().windows.push_back(
        {host_->id, design.caption, x, y, design.clientWidth, design.clientHeight});
    FitDisplay();
}

NativeWindow::~NativeWindow() {
    std::erase_if(null::Host().windows, [this](const auto& w) { return w.id == host_->id; });
}

uint32_t NativeWindow::Id() const {
    return host_->id;
}

void NativeWindow::Move(int x, int y) {
    null::WindowRecord& window = host_->Record();
    if (!window.fullScreen) window.x = x, window.y = y;
}

void NativeWindow::Present(Surface& surface) {
    null::WindowRecord& window = host_->Record();
    ++window.presents;
    std::vector<Rect> rects;
    if (!window.shownFrame.Changed(surface, rects)) {
        window.picture = surface;
        window.sentPixels = int64_t{surface.Width()} * surface.Height();
        return;
    }
    window.sentPixels = 0;
    for (const Rect& r : rects) {
        BitBlt(&window.picture, r.x, r.y, r.w, r.h, &surface, r.x, r.y, SRCCOPY);
        window.sentPixels += int64_t{r.w} * r.h;
    }
}

void NativeWindow::Hide() {
    host_->Record().shown = false;
}

void NativeWindow::Show() {
    host_->Record().shown = true;
}

void NativeWindow::FitDisplay() {
    null::WindowRecord& window = host_->Record();
    window.fullScreen = ShowsFullScreen(window.width, window.height, host_->borderless);
    if (window.fullScreen) window.x = window.y = 0;
}

void NativeWindow::FrameBorders(int& left, int& top, int& right, int& bottom) const {
    left = top = right = bottom = 0;
}

void NativeWindow::ConfinePointer(const RECT* screen) {
    null::Host().confined = screen ? std::optional(*screen) : std::nullopt;
}

}  // namespace platform

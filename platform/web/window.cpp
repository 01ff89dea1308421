// Windows in the page: a frame the page draws (border and caption) around a canvas of the form's
// client size, with the form's picture put into it at each present.
#include <vector>

#include "platform/display.h"
#include "platform/form.h"
#include "platform/host.h"
#include "web_host.h"

namespace platform {

namespace {

// The page's frame, in CSS pixels: library.js draws it from these.
constexpr int kBorder = 1;
constexpr int kCaption = 22;

uint32_t nextId = 1;

}  // namespace

struct NativeWindow::Host {
    uint32_t id;
    int width;
    int height;
    bool titled;
    bool fullScreen = false;
    std::vector<uint32_t> rgba{};  // the picture in the canvas's byte order
    ShownFrame shown{};            // what the canvas shows of the form's surface
    std::vector<Rect> rects{};
};

NativeWindow::NativeWindow(const FormDesign& design, int x, int y)
    : host_(new Host{nextId++, design.clientWidth, design.clientHeight,
                     design.border != BorderStyle::None}) {
    puffpop_web_window_open(host_->id, design.caption.c_str(), host_->width, host_->height,
                            host_->titled ? 1 : 0, kBorder, kCaption);
    Move(x, y);
    FitDisplay();
}

NativeWindow::~NativeWindow() {
    puffpop_web_window_close(host_->id);
}

uint32_t NativeWindow::Id() const {
    return host_->id;
}

void NativeWindow::Move(int x, int y) {
    int left, top, right, bottom;
    FrameBorders(left, top, right, bottom);
    puffpop_web_window_move(host_->id, x - left, y - top);
}

void NativeWindow::Show() {
    puffpop_web_window_show(host_->id, 1);
}

void NativeWindow::Hide() {
    puffpop_web_window_show(host_->id, 0);
}

void NativeWindow::FrameBorders(int& left, int& top, int& right, int& bottom) const {
    const bool framed = host_->titled && !host_->fullScreen;
    left = right = bottom = framed ? kBorder : 0;
    top = framed ? kBorder + kCaption : 0;
}

// The browser cannot keep the pointer in a rectangle without locking it, which would turn
// aiming into relative motion: the canvas captures the pointer while a button is held instead.
void NativeWindow::ConfinePointer(const RECT*) {}

void NativeWindow::Present(Surface& surface) {
    Host& host = *host_;
    const int width = surface.Width(), height = surface.Height();
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height);
    // Only what changed since the canvas last showed this surface is converted and put.
    if (!host.shown.Changed(surface, host.rects) || host.rgba.size() != size) {
        host.rgba.resize(size);
        host.rects.assign(1, {0, 0, width, height});
    }
    // Called even when nothing changed: the page counts the game's presents (its frame ticks).
    // 0x00RRGGBB to the canvas's R, G, B, A bytes: 0xAABBGGRR read as a little-endian word.
    for (const Rect& r : host.rects)
        for (int y = r.y; y < r.y + r.h; ++y) {
            const uint32_t* row = std::as_const(surface).Row(y);
            uint32_t* out = host.rgba.data() + static_cast<size_t>(y) * width;
            for (int x = r.x; x < r.x + r.w; ++x) {
                const uint32_t p = row[x];
                out[x] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
            }
        }
    static_assert(sizeof(Rect) == 4 * sizeof(int32_t), "the page reads rectangles as 4 numbers");
    puffpop_web_window_present(host.id, reinterpret_cast<const uint8_t*>(host.rgba.data()), width,
                               height, reinterpret_cast<const int32_t*>(host.rects.data()),
                               static_cast<int>(host.rects.size()));
}

void NativeWindow::FitDisplay() {
    Host& host = *host_;
    const bool wanted = ShowsFullScreen(host.width, host.height, !host.titled);
    if (wanted == host.fullScreen) return;
    host.fullScreen = wanted;
    host.shown.Forget();
    puffpop_web_window_full_screen(host.id, wanted ? 1 : 0);
}

}  // namespace platform

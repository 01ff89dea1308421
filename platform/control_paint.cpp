// The classic desktop look of option buttons and push buttons.
#include <algorithm>

#include "controls.h"
#include "text.h"

namespace platform {

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kShadow = 0x808080;
constexpr uint32_t kLight = 0xE8E6E0;
constexpr uint32_t kButtonFace = 0xD4D0C8;
constexpr float kCaptionPoints = 8.25f;

void FillRect(Surface& s, int x, int y, int w, int h, uint32_t rgb) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, s.Width()), y1 = std::min(y + h, s.Height());
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) s.SetPixel(xx, yy, rgb);
}

void HLine(Surface& s, int x, int y, int w, uint32_t rgb) {
    FillRect(s, x, y, w, 1, rgb);
}
void VLine(Surface& s, int x, int y, int h, uint32_t rgb) {
    FillRect(s, x, y, 1, h, rgb);
}

// The dotted rectangle that marks the control with the keyboard focus.
void FocusRect(Surface& s, int x, int y, int w, int h) {
    for (int i = 0; i < w; i += 2) {
        FillRect(s, x + i, y, 1, 1, kBlack);
        FillRect(s, x + i, y + h - 1, 1, 1, kBlack);
    }
    for (int i = 0; i < h; i += 2) {
        FillRect(s, x, y + i, 1, 1, kBlack);
        FillRect(s, x + w - 1, y + i, 1, 1, kBlack);
    }
}

// A raised (or, when pressed, sunken) three-dimensional frame.
void Bevel(Surface& s, const ControlRect& r, bool pressed) {
    const int x = r.left, y = r.top, w = r.width, h = r.height;
    if (pressed) {
        HLine(s, x, y, w, kBlack);
        VLine(s, x, y, h, kBlack);
        HLine(s, x + 1, y + 1, w - 2, kShadow);
        VLine(s, x + 1, y + 1, h - 2, kShadow);
        HLine(s, x, y + h - 1, w, kWhite);
        VLine(s, x + w - 1, y, h, kWhite);
        return;
    }
    HLine(s, x, y, w - 1, kWhite);
    VLine(s, x, y, h - 1, kWhite);
    HLine(s, x + 1, y + 1, w - 3, kLight);
    VLine(s, x + 1, y + 1, h - 3, kLight);
    HLine(s, x, y + h - 1, w, kBlack);
    VLine(s, x + w - 1, y, h, kBlack);
    HLine(s, x + 1, y + h - 2, w - 2, kShadow);
    VLine(s, x + w - 2, y + 1, h - 2, kShadow);
}

// The round, sunken box of an option button, 12 pixels across.
void OptionCircle(Surface& s, int cx, int cy, bool selected) {
    for (int dy = -6; dy < 6; ++dy) {
        for (int dx = -6; dx < 6; ++dx) {
            const float fx = dx + 0.5f, fy = dy + 0.5f;
            const float d2 = fx * fx + fy * fy;
            if (d2 > 36.0f) continue;
            uint32_t rgb = kWhite;
            if (d2 > 20.0f)
                rgb = (fx + fy < 0) ? kShadow : kLight;
            else if (d2 > 13.0f)
                rgb = (fx + fy < 0) ? kBlack : kWhite;
            if (selected && d2 <= 4.5f) rgb = kBlack;
            FillRect(s, cx + dx, cy + dy, 1, 1, rgb);
        }
    }
}

}  // namespace

void OptionButton::Paint(Surface& s, bool focused) const {
    const int cy = rect_.top + rect_.height / 2;
    OptionCircle(s, rect_.left + 6, cy, value_);
    const int textX = rect_.left + 17;
    const int textY = cy - TextHeight(kCaptionPoints, Face::Dialog) / 2;
    PrintText(s, textX, textY, caption_, kCaptionPoints, kBlack, Face::Dialog);
    if (focused)
        FocusRect(s, textX - 2, textY - 1, TextWidth(caption_, kCaptionPoints, Face::Dialog) + 4,
                  TextHeight(kCaptionPoints, Face::Dialog) + 2);
}

void CommandButton::Paint(Surface& s, bool focused) const {
    ControlRect frame = rect_;
    if (focused) {
        // The focused push button is the default one: it wears a black outline.
        FillRect(s, frame.left, frame.top, frame.width, frame.height, kBlack);
        frame = {frame.left + 1, frame.top + 1, frame.width - 2, frame.height - 2};
    }
    FillRect(s, frame.left, frame.top, frame.width, frame.height, kButtonFace);
    Bevel(s, frame, pressed_);
    const int shift = pressed_ ? 1 : 0;
    const int tw = TextWidth(caption_, kCaptionPoints, Face::Dialog);
    const int th = TextHeight(kCaptionPoints, Face::Dialog);
    const int tx = frame.left + (frame.width - tw) / 2 + shift;
    const int ty = frame.top + (frame.height - th) / 2 + shift;
    PrintText(s, tx, ty, caption_, kCaptionPoints, kBlack, Face::Dialog);
    if (focused) FocusRect(s, frame.left + 3, frame.top + 3, frame.width - 6, frame.height - 6);
}

}  // namespace platform

#include "error_window.h"

#include <algorithm>
#include <cmath>

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/host.h"
#include "platform/identity.h"
#include "platform/input.h"
#include "platform/keys.h"
#include "platform/text.h"
#include "sdl_host.h"

namespace platform {

namespace {

constexpr float kTextPoints = 9;
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kMaxTextWidth = 440;
constexpr size_t kMaxLines = 24;  // the whole report is on stderr in any case
constexpr int kButtonWidth = 75, kButtonHeight = 23;
constexpr int kSignalPollMs = 100;  // how long a termination signal may wait unnoticed

int MessageWidth(const std::string& line) {
    return TextWidth(line, kTextPoints, Face::Dialog);
}

struct Layout {
    std::vector<std::string> lines;
    int lineHeight = 0;
    int textLeft = 0, textTop = 0;
    int width = 0, height = 0;
    int buttonTop = 0;
};

Layout Arrange(const std::string& message) {
    Layout layout;
    layout.lines = WrapLines(message, kMaxTextWidth, MessageWidth);
    if (layout.lines.size() > kMaxLines) {
        layout.lines.resize(kMaxLines);
        layout.lines.back() = "...";
    }
    int widest = 0;
    for (const std::string& line : layout.lines) widest = std::max(widest, MessageWidth(line));
    layout.lineHeight = TextHeight(kTextPoints, Face::Dialog);
    const int textHeight = static_cast<int>(layout.lines.size()) * layout.lineHeight;
    layout.textLeft = 2 * kMargin + kIconSize;
    // A short message stands level with the icon's middle.
    layout.textTop = kMargin + std::max(0, (kIconSize - textHeight) / 2);
    layout.width = std::max(layout.textLeft + widest + 2 * kMargin, 3 * kButtonWidth);
    layout.buttonTop = std::max(layout.textTop + textHeight, kMargin + kIconSize) + kMargin + 4;
    layout.height = layout.buttonTop + kButtonHeight + kMargin;
    return layout;
}

// The classic error sign: a red disc with a white cross.
void PaintErrorIcon(Surface& surface, int left, int top) {
    const float radius = kIconSize / 2.0f;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            const float fx = x + 0.5f - radius, fy = y + 0.5f - radius;
            const float distance = std::sqrt(fx * fx + fy * fy);
            if (distance > radius) continue;
            uint32_t rgb = distance > radius - 1.5f ? 0x800000 : 0xE02020;
            const bool onCross = std::fabs(fx) < 8 && std::fabs(fy) < 8 &&
                                 (std::fabs(fx - fy) < 2.5f || std::fabs(fx + fy) < 2.5f);
            if (onCross) rgb = 0xFFFFFF;
            surface.SetPixel(left + x, top + y, rgb);
        }
    }
}

// The icon and the message. A control, because the form repaints all its controls at once.
class MessageLabel : public Control {
public:
    MessageLabel(Form& owner, const Layout& layout) : Control(owner, 0), layout_(layout) {}
    void Reset() override {}
    void Paint(Surface& surface, bool) const override {
        PaintErrorIcon(surface, kMargin, kMargin);
        int y = layout_.textTop;
        for (const std::string& line : layout_.lines) {
            PrintText(surface, layout_.textLeft, y, line, kTextPoints, 0x000000, Face::Dialog);
            y += layout_.lineHeight;
        }
    }

private:
    Layout layout_;
};

FormDesign ErrorDesign(const Layout& layout) {
    FormDesign design;
    design.caption = Program().title;
    design.border = BorderStyle::FixedToolWindow;
    design.clientWidth = layout.width;
    design.clientHeight = layout.height;
    design.centred = true;
    design.withIcon = true;
    return design;
}

class ErrorForm : public Form {
public:
    explicit ErrorForm(const Layout& layout)
        : Form(ErrorDesign(layout)),
          message_(*this, layout),
          ok_(*this, 1, "OK",
              {(layout.width - kButtonWidth) / 2, layout.buttonTop, kButtonWidth, kButtonHeight},
              [this] { Unload(); }) {}
    // Whatever ends the window, it leaves the list of loaded forms with it.
    ~ErrorForm() override { Unload(); }

private:
    MessageLabel message_;
    CommandButton ok_;
};

// The window is the only one the player has left: keys reach it wherever the keyboard focus is,
// the mouse and the close button only on the window itself.
void Handle(ErrorForm& form, const InputEvent& event) {
    using Kind = InputEvent::Kind;
    switch (event.kind) {
        case Kind::KeyDown:
            // A key still held from the game must not dismiss the report unread.
            if (event.repeat) return;
            if (event.key == vbKeyEscape) return form.Unload();
            return form.KeyDown(event.key, 0);
        case Kind::KeyUp:
            return form.KeyUp(event.key, 0);
        case Kind::Character:
        case Kind::MouseMove:
            return;
        default:
            if (event.window == form.Window()->Id()) DispatchInput(event);
            return;
    }
}

}  // namespace

std::vector<std::string> WrapLines(const std::string& message, int width,
                                   const std::function<int(const std::string&)>& measure) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = message.find('\n', start);
        std::string rest = message.substr(start, end == std::string::npos ? end : end - start);
        do {
            // The longest start of the rest that fits, at least one character.
            size_t low = 1, high = rest.size();
            while (low < high) {
                const size_t mid = (low + high + 1) / 2;
                if (measure(rest.substr(0, mid)) <= width)
                    low = mid;
                else
                    high = mid - 1;
            }
            // Never inside a character of several bytes: a path may hold any.
            const auto inside = [&](size_t i) {
                return i < rest.size() && (static_cast<uint8_t>(rest[i]) & 0xC0) == 0x80;
            };
            while (low > 1 && inside(low)) --low;
            while (inside(low)) ++low;
            size_t cut = low;
            for (size_t i = low; cut < rest.size() && i > 0; --i) {
                if (rest[i] == ' ' || rest[i - 1] == '/') {
                    cut = i;
                    break;
                }
            }
            std::string line = rest.substr(0, cut);
            line.erase(line.find_last_not_of(' ') + 1);
            lines.push_back(line);
            rest.erase(0, cut);
            rest.erase(0, rest.find_first_not_of(' '));
        } while (!rest.empty());
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

bool ShowErrorWindow(const std::string& message) {
    try {
        InitVideo();
        ErrorForm form(Arrange(message));
        const std::vector<Form*> others = LoadedForms();
        for (Form* other : others) other->Hide();
        form.Show();
        while (form.Loaded()) {
            host::HonourSignal();
            sdl::PumpInput(kSignalPollMs);
            InputEvent event;
            while (form.Loaded() && TakeInput(event)) Handle(form, event);
            form.Present();
        }
        return true;
    } catch (const std::exception&) {
        return false;  // no display, no window, no font: stderr has said it all
    }
}

}  // namespace platform

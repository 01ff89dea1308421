#include "controls.h"

#include <algorithm>

#include "app.h"
#include "form.h"
#include "text.h"

namespace platform {

Control::Control(Form& owner, int tabIndex) : owner_(owner), tabIndex_(tabIndex) {
    auto& list = owner.controls_;
    auto at = std::find_if(list.begin(), list.end(),
                           [&](Control* c) { return c->TabIndex() > tabIndex; });
    list.insert(at, this);
}

Timer::Timer(Form& owner, Long interval, bool enabled, std::function<void()> onTimer)
    : Control(owner, -1),
      interval_(interval),
      designEnabled_(enabled),
      enabled_(enabled),
      onTimer_(std::move(onTimer)) {
    auto& list = owner.controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    owner.timers_.push_back(this);
}

Timer::~Timer() {
    auto& list = owner_.timers_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool Timer::Scheduled() const {
    return enabled_ && owner_.Loaded();
}

void Timer::Reset() {
    enabled_ = designEnabled_;
}

void Timer::SetEnabled(Boolean enabled) {
    const bool on = enabled != 0;
    // Switching a timer on starts a fresh interval; switching it off forgets its deadline.
    if (on && !enabled_) Restart(Milliseconds());
    enabled_ = on;
}

void Timer::Fire(int64_t now) {
    deadline_ = NextDeadline(deadline_, interval_, now);
    onTimer_();
}

int64_t NextDeadline(int64_t deadline, int64_t interval, int64_t now) {
    if (interval <= 0) return now;
    int64_t next = deadline + interval;
    if (next <= now) next += ((now - next) / interval + 1) * interval;
    return next;
}

TextBox::TextBox(Form& owner, int tabIndex, std::string designText)
    : Control(owner, tabIndex), Text(designText), designText_(std::move(designText)) {}

OptionButton::OptionButton(Form& owner, int tabIndex, std::string caption, ControlRect rect,
                           bool value)
    : Control(owner, tabIndex),
      caption_(std::move(caption)),
      rect_(rect),
      designValue_(value),
      value_(value) {}

void OptionButton::SetValue(Boolean value) {
    value_ = value != 0;
    if (!value_) return;
    for (Control* control : owner_.Controls())
        if (control != this && control->IsOption())
            static_cast<OptionButton*>(control)->value_ = false;
}

void OptionButton::PressEnd(bool inside) {
    if (inside) SetValue(True);
}

CommandButton::CommandButton(Form& owner, int tabIndex, std::string caption, ControlRect rect,
                             std::function<void()> onClick)
    : Control(owner, tabIndex),
      caption_(std::move(caption)),
      rect_(rect),
      onClick_(std::move(onClick)) {}

void CommandButton::PressEnd(bool inside) {
    pressed_ = false;
    if (inside) Click();
}

void PictureBox::SetPicture(const Picture& picture) {
    surface_ = *picture;
}

void PictureBox::Print(const std::string& text) {
    PrintText(surface_, static_cast<int>(CurrentX), static_cast<int>(CurrentY), text, FontSize,
              ForeColor);
    CurrentX = 0;
    CurrentY += static_cast<Single>(TextHeight(FontSize));
}

Single PictureBox::TextWidth(const std::string& text) const {
    return static_cast<Single>(platform::TextWidth(text, FontSize));
}

uint32_t QBColor(int index) {
    static constexpr uint32_t kVga[16] = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    return kVga[index & 15];
}

}  // namespace platform

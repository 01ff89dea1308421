#include "form.h"

#include <algorithm>
#include <utility>

#include "app.h"
#include "controls.h"
#include "cursor.h"
#include "display.h"
#include "host.h"
#include "keys.h"

namespace platform {

namespace {

std::vector<Form*>& LoadedList() {
    static std::vector<Form*> forms;
    return forms;
}

}  // namespace

const std::vector<Form*>& LoadedForms() {
    return LoadedList();
}

Form* FormOfWindow(uint32_t windowId) {
    for (Form* form : LoadedList())
        if (form->Window() && form->WindowId() == windowId) return form;
    return nullptr;
}

Form::Form(FormDesign design)
    : design_(std::move(design)),
      left_(static_cast<Single>(design_.left)),
      top_(static_cast<Single>(design_.top)),
      surface_(design_.clientWidth, design_.clientHeight, design_.backColor) {}

Form::~Form() = default;

uint32_t Form::WindowId() const {
    return window_ ? window_->Id() : 0;
}

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    LoadedList().push_back(this);
    left_ = static_cast<Single>(design_.left);
    top_ = static_cast<Single>(design_.top);
    surface_.Fill(design_.backColor);
    for (Control* control : controls_) control->Reset();
    focus_ = controls_.empty() ? -1 : 0;
    while (focus_ >= 0 && focus_ < static_cast<int>(controls_.size()) &&
           !controls_[focus_]->Focusable())
        ++focus_;
    if (focus_ >= static_cast<int>(controls_.size())) focus_ = -1;
    const int64_t now = Milliseconds();
    for (Timer* timer : timers_) {
        timer->Reset();
        timer->Restart(now);
    }
    Form_Load();
}

void Form::Show() {
    Load();
    // Form_Load may have closed it again; and showing a form already on screen must not pull
    // it in front of whatever the player has moved to.
    if (!loaded_ || visible_) return;
    visible_ = true;
    if (!design_.onScreen) return;
    const bool created = !window_;
    if (created) OpenWindow();
    window_->Show();
    frameToCentre_ = created && design_.centred;
    Present();
}

void Form::Hide() {
    visible_ = false;
    if (window_) window_->Hide();
}

void Form::Unload() {
    if (!loaded_) return;
    Integer cancel = 0;
    Form_Unload(cancel);
    if (cancel) return;
    loaded_ = false;
    visible_ = false;
    pressed_ = nullptr;
    window_.reset();
    auto& forms = LoadedList();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void Form::SetLeft(Single twips) {
    left_ = twips;
    if (window_)
        window_->Move(static_cast<int>(left_ / kTwipsPerPixel),
                      static_cast<int>(top_ / kTwipsPerPixel));
}

void Form::SetTop(Single twips) {
    top_ = twips;
    if (window_)
        window_->Move(static_cast<int>(left_ / kTwipsPerPixel),
                      static_cast<int>(top_ / kTwipsPerPixel));
}

void Form::OpenWindow() {
    InitVideo();
    if (design_.centred) {
        left_ = (Screen::Width() - design_.clientWidth * kTwipsPerPixel) / 2;
        top_ = (Screen::Height() - design_.clientHeight * kTwipsPerPixel) / 2;
    }
    window_ = std::make_unique<NativeWindow>(design_, static_cast<int>(left_ / kTwipsPerPixel),
                                             static_cast<int>(top_ / kTwipsPerPixel));
    // A cursor hidden or confined while the form was loading takes effect on its window now.
    ApplyCursorState();
    PaintControls();
    surface_.changed = true;
}

// A centred window is centred as a whole, frame included. The frame is known only once a window
// manager has framed the shown window, a moment after it is shown; without a window manager there
// is no frame and nothing moves.
void Form::CentreWithFrame() {
    int left = 0, top = 0, right = 0, bottom = 0;
    window_->FrameBorders(left, top, right, bottom);
    if (left == 0 && top == 0 && right == 0 && bottom == 0) return;
    frameToCentre_ = false;
    const int screenWidth = static_cast<int>(Screen::Width()) / kTwipsPerPixel;
    const int screenHeight = static_cast<int>(Screen::Height()) / kTwipsPerPixel;
    const int x = (screenWidth - (left + design_.clientWidth + right)) / 2 + left;
    const int y = (screenHeight - (top + design_.clientHeight + bottom)) / 2 + top;
    left_ = static_cast<Single>(x * kTwipsPerPixel);
    top_ = static_cast<Single>(y * kTwipsPerPixel);
    window_->Move(x, y);
}

void Form::Present() {
    if (frameToCentre_ && window_) CentreWithFrame();
    if (!window_ || !visible_ || !surface_.changed) return;
    surface_.changed = false;
    window_->Present(surface_);
}

// Controls are drawn when they are created and after each input that may have changed them.
void Form::PaintControls() {
    if (focus_ < 0) return;  // nothing a player can reach: the form draws itself
    surface_.Fill(design_.backColor);
    for (size_t i = 0; i < controls_.size(); ++i)
        controls_[i]->Paint(surface_, static_cast<int>(i) == focus_);
    surface_.changed = true;
}

Control* Form::FocusedControl() {
    return focus_ >= 0 ? controls_[focus_] : nullptr;
}

// The option group is one tab stop: Tab enters it at the selected option (at its first option
// while none is selected) and leaves it at once; arrows move within it.
bool Form::TabStop(int index) const {
    const Control* control = controls_[index];
    if (!control->Focusable()) return false;
    if (!control->IsOption()) return true;
    const auto selected = [](const Control* c) {
        return c->IsOption() && static_cast<const OptionButton*>(c)->Value();
    };
    if (selected(control)) return true;
    if (std::any_of(controls_.begin(), controls_.end(), selected)) return false;
    return std::find_if(controls_.begin(), controls_.end(), [](const Control* c) {
               return c->IsOption();
           }) == controls_.begin() + index;
}

int Form::NextControl(int step, bool optionsOnly) const {
    const int n = static_cast<int>(controls_.size());
    int next = focus_;
    do {
        next = (next + step + n) % n;
    } while (!(optionsOnly ? controls_[next]->IsOption() : TabStop(next)) && next != focus_);
    return next;
}

// Mouse and keys go to the focused control when the form has controls a player can reach,
// and to the form itself otherwise, as on the desktop the game was designed for.

void Form::MouseDown(Integer button, Integer shift, Single x, Single y) {
    if (focus_ < 0) return Form_MouseDown(button, shift, x, y);
    for (size_t i = 0; button == vbLeftButton && i < controls_.size(); ++i) {
        Control* control = controls_[i];
        if (control->Focusable() && control->Contains(static_cast<int>(x), static_cast<int>(y))) {
            focus_ = static_cast<int>(i);
            pressed_ = control;
            control->PressStart();
        }
    }
    PaintControls();
}

void Form::MouseUp(Integer button, Integer shift, Single x, Single y) {
    if (focus_ < 0) return Form_MouseUp(button, shift, x, y);
    if (button == vbLeftButton && pressed_) {
        Control* control = std::exchange(pressed_, nullptr);
        control->PressEnd(control->Contains(static_cast<int>(x), static_cast<int>(y)));
    }
    PaintControls();
}

void Form::MouseMove(Integer buttons, Integer shift, Single x, Single y) {
    if (focus_ < 0) Form_MouseMove(buttons, shift, x, y);
}

void Form::KeyPress(Integer keyAscii) {
    if (focus_ < 0) Form_KeyPress(keyAscii);
}

void Form::KeyDown(Integer keyCode, Integer shift) {
    Control* control = FocusedControl();
    if (!control) return;
    if (keyCode == vbKeyTab) {
        focus_ = NextControl((shift & vbShiftMask) ? -1 : 1, false);
    } else if (keyCode == vbKeySpace) {
        pressed_ = control;
        control->PressStart();
    } else if (keyCode == vbKeyReturn && !control->IsOption()) {
        control->PressEnd(true);
    } else if (control->IsOption() && keyCode >= vbKeyLeft && keyCode <= vbKeyDown) {
        // Arrow keys walk the option group and select as they go.
        focus_ = NextControl((keyCode == vbKeyLeft || keyCode == vbKeyUp) ? -1 : 1, true);
        controls_[focus_]->PressEnd(true);
    }
    PaintControls();
}

void Form::KeyUp(Integer keyCode, Integer shift) {
    if (focus_ < 0) return Form_KeyUp(keyCode, shift);
    if (keyCode == vbKeySpace && pressed_) std::exchange(pressed_, nullptr)->PressEnd(true);
    PaintControls();
}

void Form::CloseRequested() {
    Unload();
}

}  // namespace platform

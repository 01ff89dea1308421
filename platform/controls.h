// The controls the game's windows are designed with.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "picture.h"
#include "surface.h"
#include "types.h"

namespace platform {

class Form;

// Something placed on a form, created afresh with its design values whenever the form loads.
class Control {
public:
    Control(Form& owner, int tabIndex);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int TabIndex() const { return tabIndex_; }
    virtual void Reset() = 0;

    // Controls a player can reach with the keyboard and the mouse override these.
    virtual bool Focusable() const { return false; }
    virtual bool Contains(int x, int y) const {
        (void)x, (void)y;
        return false;
    }
    virtual void Paint(Surface& surface, bool focused) const { (void)surface, (void)focused; }
    virtual void PressStart() {}
    virtual void PressEnd(bool inside) { (void)inside; }
    virtual bool IsOption() const { return false; }

protected:
    Form& owner_;

private:
    int tabIndex_;
};

struct ControlRect {
    int left, top, width, height;  // pixels
    bool Contains(int x, int y) const {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
};

// A periodic timer; the form's loop fires it while the form is loaded and it is enabled.
class Timer : public Control {
public:
    Timer(Form& owner, Long interval, bool enabled, std::function<void()> onTimer);
    ~Timer() override;

    Long Interval() const { return interval_; }
    Boolean Enabled() const { return CBool(enabled_); }
    void SetEnabled(Boolean enabled);
    void Reset() override;

    // Scheduling, for the loop. A disabled timer, or one on a form not loaded, has no deadline.
    bool Scheduled() const;
    int64_t Deadline() const { return deadline_; }
    void Fire(int64_t now);
    void Restart(int64_t now) { deadline_ = now + interval_; }

private:
    Long interval_;
    bool designEnabled_;
    bool enabled_;
    int64_t deadline_ = 0;
    std::function<void()> onTimer_;
};

// The next deadline after one that has just been served at `now`: the cadence is kept, and a
// timer that is late by several intervals fires once, not in a burst.
int64_t NextDeadline(int64_t deadline, int64_t interval, int64_t now);

// A single-line text field; the game uses them only to hold strings.
class TextBox : public Control {
public:
    TextBox(Form& owner, int tabIndex, std::string designText);
    void Reset() override { Text = designText_; }
    std::string Text;

private:
    std::string designText_;
};

// A round option button; all option buttons of a form are one group.
class OptionButton : public Control {
public:
    OptionButton(Form& owner, int tabIndex, std::string caption, ControlRect rect, bool value);
    Boolean Value() const { return CBool(value_); }
    void SetValue(Boolean value);  // selecting one clears the others
    const std::string& Caption() const { return caption_; }

    void Reset() override { value_ = designValue_; }
    bool Focusable() const override { return true; }
    bool Contains(int x, int y) const override { return rect_.Contains(x, y); }
    void Paint(Surface& surface, bool focused) const override;
    void PressEnd(bool inside) override;
    bool IsOption() const override { return true; }

private:
    std::string caption_;
    ControlRect rect_;
    bool designValue_;
    bool value_;
};

// A push button: it acts when released with the pointer still on it, or on Enter or Space.
class CommandButton : public Control {
public:
    CommandButton(Form& owner, int tabIndex, std::string caption, ControlRect rect,
                  std::function<void()> onClick);
    const std::string& Caption() const { return caption_; }
    void Click() { onClick_(); }

    void Reset() override { pressed_ = false; }
    bool Focusable() const override { return true; }
    bool Contains(int x, int y) const override { return rect_.Contains(x, y); }
    void Paint(Surface& surface, bool focused) const override;
    void PressStart() override { pressed_ = true; }
    void PressEnd(bool inside) override;

private:
    std::string caption_;
    ControlRect rect_;
    std::function<void()> onClick_;
    bool pressed_ = false;
};

// A hidden picture surface: holds a picture or a drawing, with its own text settings.
class PictureBox {
public:
    PictureBox() = default;
    PictureBox(int width, int height) : surface_(width, height) {}

    // The surface takes the picture's size and pixels.
    void SetPicture(const Picture& picture);
    HDC hDC() { return &surface_; }
    Single ScaleWidth() const { return static_cast<Single>(surface_.Width()); }
    Single ScaleHeight() const { return static_cast<Single>(surface_.Height()); }

    // Text settings: colour 0x00RRGGBB, size in points, position of the next line's top-left.
    uint32_t ForeColor = 0;
    Single FontSize = 8.25f;
    Single CurrentX = 0;
    Single CurrentY = 0;

    // Draws one line at the current position, then moves to the start of the next line.
    void Print(const std::string& text);
    Single TextWidth(const std::string& text) const;

private:
    Surface surface_;
};

// A colour of the standard 16-colour VGA palette, as 0x00RRGGBB.
uint32_t QBColor(int index);

}  // namespace platform

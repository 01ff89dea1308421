// Forms: windows with a load / show / unload lifecycle, their controls and their events.
//
// A form is created on first use and loaded by Load or Show (which runs Form_Load); Unload runs
// Form_Unload and closes it. The program runs while any form is loaded. A form whose design
// says it is never on screen gets no native window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "surface.h"
#include "types.h"

namespace platform {

class Control;
class NativeWindow;
class Timer;

enum class BorderStyle { None, FixedToolWindow };

struct FormDesign {
    std::string caption;
    BorderStyle border = BorderStyle::None;
    int clientWidth = 0;  // pixels
    int clientHeight = 0;
    bool centred = false;  // placed in the middle of the screen when first shown
    Long left = 0;         // client area's top-left corner in twips, when not centred
    Long top = 0;
    bool onScreen = true;           // false: never shown, so no native window at all
    bool withIcon = false;          // the program icon on the window
    uint32_t backColor = 0xD4D0C8;  // the classic face colour of dialogs
};

class Form {
public:
    explicit Form(FormDesign design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Loads the form if it is not loaded: controls take their design values, its enabled timers
    // start counting, then Form_Load runs.
    void Load();
    // Loads it if needed and makes it visible.
    void Show();
    void Hide();
    // Runs Form_Unload and closes the form; closing a form that is not loaded does nothing.
    void Unload();

    bool Loaded() const { return loaded_; }
    Boolean Visible() const { return CBool(visible_); }
    const FormDesign& Design() const { return design_; }

    // Position of the client area's top-left corner, in twips.
    Single Left() const { return left_; }
    Single Top() const { return top_; }
    void SetLeft(Single twips);
    void SetTop(Single twips);

    // Interior size in pixels.
    Single ScaleWidth() const { return static_cast<Single>(design_.clientWidth); }
    Single ScaleHeight() const { return static_cast<Single>(design_.clientHeight); }

    // The window's own surface; a transfer into it is presented after the current event.
    HDC hDC() { return &surface_; }

    // Event entry points for the loop (and for tests, which drive them directly).
    void MouseDown(Integer button, Integer shift, Single x, Single y);
    void MouseUp(Integer button, Integer shift, Single x, Single y);
    void MouseMove(Integer buttons, Integer shift, Single x, Single y);
    void KeyPress(Integer keyAscii);
    void KeyDown(Integer keyCode, Integer shift);
    void KeyUp(Integer keyCode, Integer shift);
    void CloseRequested();  // the window's close button

    // Presents the surface when something changed it, and repaints controls.
    void Present();

    NativeWindow* Window() { return window_.get(); }
    uint32_t WindowId() const;  // the native window's, 0 without one
    const std::vector<Control*>& Controls() const { return controls_; }
    const std::vector<Timer*>& Timers() const { return timers_; }

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload(Integer& Cancel) { (void)Cancel; }
    virtual void Form_MouseDown(Integer Button, Integer Shift, Single X, Single Y) {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    virtual void Form_MouseUp(Integer Button, Integer Shift, Single X, Single Y) {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    virtual void Form_MouseMove(Integer Button, Integer Shift, Single X, Single Y) {
        (void)Button, (void)Shift, (void)X, (void)Y;
    }
    virtual void Form_KeyPress(Integer& KeyAscii) { (void)KeyAscii; }
    virtual void Form_KeyUp(Integer& KeyCode, Integer Shift) { (void)KeyCode, (void)Shift; }

private:
    friend class Control;
    friend class Timer;
    void OpenWindow();
    void CentreWithFrame();
    void PaintControls();
    Control* FocusedControl();
    // The next tab stop round the tab order, or the next option button.
    int NextControl(int step, bool optionsOnly) const;
    bool TabStop(int index) const;

    FormDesign design_;
    bool loaded_ = false;
    bool visible_ = false;
    Single left_ = 0;
    Single top_ = 0;
    Surface surface_;
    std::unique_ptr<NativeWindow> window_;
    std::vector<Control*> controls_;  // in tab order
    std::vector<Timer*> timers_;
    int focus_ = -1;
    bool frameToCentre_ = false;  // shown centred; to be centred again with its frame
    Control* pressed_ = nullptr;
};

// Every form that is loaded, in the order they were loaded.
const std::vector<Form*>& LoadedForms();

// The form whose native window has this id, if any.
Form* FormOfWindow(uint32_t windowId);

}  // namespace platform

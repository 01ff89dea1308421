// The Windows host's input: its tables, and messages through the real pump to input events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/form.h"
#include "platform/host.h"
#include "platform/keys.h"
#include "platform/win32/win32_host.h"

using namespace platform;

TEST(Win32Input, KeyCodesAndButtonNumbers) {
    // The keys the game names keep their codes; others, the numeric pad's and lower-case
    // look-alikes among them, are 0.
    const int named[][2] = {{VK_ESCAPE, vbKeyEscape}, {VK_RETURN, vbKeyReturn},
                            {VK_SPACE, vbKeySpace},   {VK_TAB, vbKeyTab},
                            {VK_BACK, vbKeyBack},     {VK_LEFT, vbKeyLeft},
                            {VK_DOWN, vbKeyDown}};
    for (const auto& [virtualKey, code] : named)
        EXPECT_EQ(win32::KeyCodeOf(virtualKey), code) << virtualKey;
    for (char key : {'A', 'Z', '0', '9'}) EXPECT_EQ(win32::KeyCodeOf(key), key);
    for (int key : {VK_F1, VK_NUMPAD0, VK_SHIFT, VK_OEM_PERIOD})
        EXPECT_EQ(win32::KeyCodeOf(key), 0) << key;
    // The left button and the first extra one go through the pump below.
    EXPECT_EQ(win32::ButtonOf(WM_RBUTTONUP, 0), vbRightButton);
    EXPECT_EQ(win32::ButtonOf(WM_MBUTTONDOWN, 0), vbMiddleButton);
    EXPECT_EQ(win32::ButtonOf(WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON2)), vbXButton2);
    EXPECT_EQ(win32::HeldButtons(MK_LBUTTON | MK_XBUTTON2 | MK_SHIFT), vbLeftButton | vbXButton2);
}

TEST(Win32Input, MessagesBecomeEventsCloseLeavesTheWindowAndHeldButtonsAreReleased) {
    InitVideo();
    NativeWindow window({.caption = "input test window", .clientWidth = 64, .clientHeight = 48}, 10,
                        10);
    HWND handle = FindWindowExA(nullptr, nullptr, win32::kWindowClass, "input test window");
    ASSERT_NE(handle, nullptr);
    PostMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 7));
    PostMessageA(handle, WM_CHAR, 1, 0);  // Ctrl+A types nothing
    PostMessageA(handle, WM_CHAR, 'a', 0);
    PostMessageA(handle, WM_CLOSE, 0, 0);
    PostMessageA(handle, WM_KEYDOWN, VK_ESCAPE, LPARAM(1) << 30);  // held: it types Esc too
    std::vector<InputEvent> events;
    InputEvent event;
    win32::PumpMessages();
    while (TakeInput(event))
        if (event.window == window.Id()) events.push_back(event);
    using Kind = InputEvent::Kind;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_TRUE(events[0].kind == Kind::MouseDown && events[0].button == vbLeftButton &&
                events[0].x == -3 && events[0].y == 7);
    EXPECT_TRUE(events[1].kind == Kind::Character && events[1].key == 'a');
    EXPECT_EQ(events[2].kind, Kind::Close);
    EXPECT_TRUE(events[3].kind == Kind::KeyDown && events[3].key == vbKeyEscape &&
                events[3].repeat);
    EXPECT_TRUE(events[4].kind == Kind::Character && events[4].key == vbKeyEscape);
    EXPECT_TRUE(IsWindow(handle));  // the form decides

    // Buttons down when the pointer's capture or the focus goes are released where the pointer
    // last was, so fire never sticks; nothing is released twice.
    PostMessageA(handle, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(7, 8));
    PostMessageA(handle, WM_CAPTURECHANGED, 0, 0);
    PostMessageA(handle, WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), MAKELPARAM(9, 1));
    PostMessageA(handle, WM_ACTIVATE, WA_INACTIVE, 0);
    PostMessageA(handle, WM_ACTIVATE, WA_INACTIVE, 0);
    std::string presses;
    win32::PumpMessages();
    while (TakeInput(event))
        if (event.window == window.Id() && event.kind != Kind::MouseMove)
            presses += (event.kind == Kind::MouseDown ? "down " : "up ") +
                       std::to_string(event.button) + " at " + std::to_string(event.x) + ',' +
                       std::to_string(event.y) + "; ";
    EXPECT_EQ(presses, "down 2 at 7,8; up 1 at 7,8; up 2 at 7,8; down 8 at 9,1; up 8 at 9,1; ");
}

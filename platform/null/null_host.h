// The null host: the game on no operating system at all, for the suites. It records what the game
// asks of the desktop, and the test sets what the desktop is; time moves only when the test (or
// RunLoop) moves it, and input comes only from the queue the test fills.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/cursor.h"
#include "platform/display.h"
#include "platform/surface.h"

namespace platform::null {

struct WindowRecord {
    uint32_t id;
    std::string caption;
    int x, y, width, height;
    bool shown = false;
    bool fullScreen = false;
    int presents = 0;
    // What the window shows: changed only by what each present sends, as a real window is.
    Surface picture{};
    ShownFrame shownFrame{};
    int64_t sentPixels = 0;  // by the last present
};

struct Sound {
    std::string path;
    int32_t flags;
};

struct Record {
    // What the test sets.
    int64_t now = 0;                     // host::Now, in milliseconds
    DisplaySize desktop{1024, 768};      // the desktop's size, its one display mode
    bool anotherCopy = false;            // another copy of the program runs
    bool playerCanSee = false;           // the error report shows (else stderr alone)
    std::filesystem::path tempFolder{};  // empty: a folder of this process's own

    // What the game asked for, in order.
    std::vector<std::pair<int, int>> switches;  // display modes switched to; 0 x 0: the desktop's
    bool pointerShown = true;
    std::optional<RECT> confined;       // the last confinement asked of any window
    std::vector<Sound> sounds;          // a synchronous one has been heard when it returns
    std::vector<WindowRecord> windows;  // the windows open now, oldest first
    std::vector<std::string> reports;   // error reports shown
    bool videoStarted = false;
};

// The one record; Reset puts it back as a fresh process finds it.
Record& Host();
void Reset();

// The open window with this id, or null.
WindowRecord* Window(uint32_t id);

}  // namespace platform::null

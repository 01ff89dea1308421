// What each host (sdl/ for Linux, win32/ for Windows) provides beneath the portable core, beside
// the public entry points it defines itself (InitVideo, PrevInstance, the files, the signals).
// Private to the platform layer.
#pragma once

#include <cstdint>
#include <string>

#include "display.h"
#include "input.h"

namespace platform::host {

// Video: started by InitVideo.
bool VideoStarted();
// A display a player can see, not a test's off-screen one: only there can an error window be
// dismissed.
bool PlayerCanSee();
void StopVideo();

// The desktop's own size, and the display's modes in the host's order.
DisplaySize DesktopSize();
struct DisplayMode {
    int32_t width;
    int32_t height;
    uint32_t bitsPerPixel;
    uint32_t frequency;
    std::string device;
};
bool DisplayModeAt(uint32_t index, DisplayMode& mode);
// Switches the real display to width x height, or back to the desktop with 0 x 0. A host that
// shows a full-screen window at the mode itself does nothing here.
void SwitchDisplay(int32_t width, int32_t height);

// Waits at most timeoutMs for the host's next input event.
bool WaitInput(InputEvent& event, int timeoutMs);

// The real cursor shown or hidden.
void ShowPointer(bool shown);

// Plays a sound file with the desktop call's flags (sound.h has the rest of the sound entry
// points); true when it started.
bool PlaySoundFile(const std::string& path, int32_t flags);

// Shows the fatal-error report titled with the program's name and returns once it is dismissed.
void ShowErrorReport(const std::string& message);

}  // namespace platform::host

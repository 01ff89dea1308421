// Starting and stopping the Windows host's video: the window class, pixel-true sizes and a
// millisecond timer.
#include <cstdlib>
#include <string>

#include "platform/error.h"
#include "platform/host.h"
#include "win32_host.h"

namespace platform {

namespace {

bool g_started = false;

void RegisterWindowClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = win32::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(1));  // null: none
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = win32::kWindowClass;
    if (!RegisterClassExA(&windowClass))
        throw RuntimeError(kNoDisplay, "Cannot register the game's window class (Windows error " +
                                           std::to_string(GetLastError()) + ")");
    registered = true;
}

}  // namespace

const char win32::kWindowClass[] = "PlatformGameWindow";

bool win32::HiddenWindows() {
    static const bool hidden = std::getenv("WIN32_HOST_HIDDEN_WINDOWS") != nullptr;
    return hidden;
}

void host::StartVideo() {
    if (g_started) return;
    // From the first window on, a crash or a console event still gives the desktop back.
    host::InstallSignalHandlers();
    RegisterWindowClass();
    // Waits end to the millisecond rather than on the 15.6 ms system tick (see RunLoop).
    timeBeginPeriod(1);
    g_started = true;
}

bool host::VideoStarted() {
    return g_started;
}

// There is always a desktop, unless the tests asked for hidden windows.
bool host::PlayerCanSee() {
    return !win32::HiddenWindows();
}

void host::StopVideo() {
    win32::ShutdownSound();
    if (!g_started) return;
    timeEndPeriod(1);
    g_started = false;
}

}  // namespace platform

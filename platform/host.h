// The host contract: everything a host (sdl/ for Linux, win32/ for Windows, null/ for the tests)
// provides beneath the portable core, and nothing else. A host folder defines exactly these and
// reaches the core only through its public headers and the few services listed at the end.
// Private to the platform layer: the game never includes it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cursor.h"
#include "display.h"
#include "files.h"
#include "input.h"
#include "surface.h"

namespace platform {

struct FormDesign;

namespace host {

// --- Loop and time ---------------------------------------------------------------------------

// Milliseconds of a steady clock: never goes back, unrelated to the time of day.
int64_t Now();
// Calls RunDue (below) until it reports that the last form is gone: again at once when it asks
// for that, else when input comes or its wait has passed, whichever is first. Input is handed to
// QueueInput as it comes. Returns once the last form is gone.
void RunLoop();

// --- Video and windows -----------------------------------------------------------------------

// Starts the video system on first use; a display that cannot be opened raises kNoDisplay.
void StartVideo();
bool VideoStarted();
// A display a player can see, not a test's: only there can the error report be dismissed.
bool PlayerCanSee();
// Stops sound and video at the end of the loop.
void StopVideo();

}  // namespace host

// A native window that shows a form's surface; each host defines its members.
class NativeWindow {
public:
    // A window whose client area is the design's size with its top-left corner at (x, y).
    NativeWindow(const FormDesign& design, int x, int y);
    ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    // The window's number in the input events it queues; never 0.
    uint32_t Id() const;
    void Move(int x, int y);
    // Shows the surface: what changed since the window last showed it (ShownFrame), all of it
    // after the window lost its picture (exposed, resized, another mode) or where it is scaled.
    // A host may move the surface's pixels into the window's own framebuffer, so that drawing on
    // it draws in the window; they move out again before that memory can go.
    void Present(Surface& surface);
    void Hide();
    void Show();
    // Full-screen when ShowsFullScreen says so, windowed otherwise.
    void FitDisplay();
    // The frame a window manager draws around the client area, in pixels; none without one.
    void FrameBorders(int& left, int& top, int& right, int& bottom) const;
    // Keeps the pointer inside the screen rectangle while it is over this window; null frees it.
    void ConfinePointer(const RECT* screen);

    struct Host;  // the host's own state

private:
    std::unique_ptr<Host> host_;
};

namespace host {

// --- Input -----------------------------------------------------------------------------------
// No entry point of its own: RunLoop hands each event to QueueInput, in the client coordinates of
// the form's window (a scaled full-screen frame mapped back with Letterbox::ToInner), with the
// window's Id. The buttons held when a window loses the focus are released by events of their own.

// --- Display modes ---------------------------------------------------------------------------

// The desktop's own size.
DisplaySize DesktopSize();
// The display's mode number `index` in the host's own order; false past the last.
struct DisplayMode {
    int32_t width;
    int32_t height;
    uint32_t bitsPerPixel;
    uint32_t frequency;
    std::string device;
};
bool DisplayModeAt(uint32_t index, DisplayMode& mode);
// Switches the real display to width x height, or back to the desktop with 0 x 0. A host whose
// full-screen windows set the mode themselves does nothing here.
void SwitchDisplay(int32_t width, int32_t height);

// --- Pointer ---------------------------------------------------------------------------------

// The real pointer shown or hidden over the game's windows (confinement is the window's).
void ShowPointer(bool shown);

// --- Audio -----------------------------------------------------------------------------------

// Starts opening the audio device in the background, so that the first cue finds it open.
void PrepareSound();
// Plays a WAV file with sndPlaySoundA's flags, cutting off the sound before; a missing or
// unplayable file, or no device, is silence. With SND_SYNC it returns once the sound has been
// heard (a host that cannot block suspends the caller until then). True when it started.
bool PlaySoundFile(const std::string& path, int32_t flags);

// --- Files and the temporary folder ----------------------------------------------------------

// This user's temporary folder, ending in the separator; created private where the host makes
// one of its own. Raises kFileAccess when it cannot serve.
std::string TempFolder();
// What separates a folder from its files in a path.
char PathSeparator();
// The longest path the host takes, its terminating NUL included.
uint32_t LongestPath();
// What files.h promises of these, each on the host's own file system.
bool FolderExists(const std::string& path);
void CreateFolder(const std::string& path);
void CheckPrivateFolder(const std::string& path);
FileRead ReadFile(const std::string& path, uint64_t limit, std::vector<uint8_t>& bytes,
                  std::string& why);
void WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes);
void RemoveStaleTemporaries(const std::string& folder);

// --- Single copy -----------------------------------------------------------------------------

// True when another copy of the program runs for this user. A copy that dies without ending
// must never keep the next one from starting.
bool AnotherCopyRuns();

// --- Ending ----------------------------------------------------------------------------------

// Catches what the system does to end the program (signals, console events): a request to end is
// only noted, a crash puts the desktop back at once and goes on as it would have. Safe to call
// again.
void InstallSignalHandlers();
// Ends the program, desktop back first, when a request to end was noted. RunDue and every wait
// for the player call it at least ten times a second.
void HonourSignal();
// Ends the program at once with this status, without unload handlers.
[[noreturn]] void Exit(int status);

// --- Embedded resources ----------------------------------------------------------------------

// The executable's resource of this type and name (both without regard to case); empty if none.
std::span<const uint8_t> ResourceBytes(std::string_view type, std::string_view name);

// --- The fatal-error report ------------------------------------------------------------------

// Shows the report titled with the program's name, modal over the game's windows, and returns
// once it is dismissed (a host that cannot block suspends the caller). Only called where
// PlayerCanSee.
void ShowErrorReport(const std::string& message);

}  // namespace host

// --- What the core gives a host, beside its public headers ------------------------------------

// Runs everything due now: honours a request to end, fires the timers whose deadline has come,
// dispatches the queued input, presents the forms that changed. Returns how many milliseconds
// may pass before it must run again (0: at once), or kLoopDone once the last form is gone. A
// run-time error raised by a handler ends the program through Fatal.
constexpr int kLoopDone = -1;
int RunDue();

// Takes the oldest event of the input queue; false when it is empty. For a host's own modal loop
// (the error report), which dispatches only its window's events.
bool TakeInput(InputEvent& event);

}  // namespace platform

// The console the game was typed in, if any: its help, version and errors are written there, and
// its Ctrl+C, Ctrl+Break and closing are noted when they come, honoured by the loops that wait for
// the player. A crash goes through the fatal-error path, so that it too gives the player's desktop
// back and says what happened.
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/app.h"
#include "platform/desktop.h"
#include "platform/error.h"
#include "platform/host.h"
#include "win32_host.h"

namespace platform {

namespace {

std::atomic<int> g_exitStatus{0};

bool HasStream(DWORD which) {
    const ::HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// A program for the desktop gets no console of its own. Typed in one, it writes to that one;
// started from Explorer there is none and nothing changes. A redirected stream stays redirected.
bool AttachParentConsole() {
    const bool out = HasStream(STD_OUTPUT_HANDLE), err = HasStream(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    if (!out) std::freopen("CONOUT$", "w", stdout);
    if (!err) std::freopen("CONOUT$", "w", stderr);
    return true;
}

// Before main reads the command line; this file is always part of the program.
[[maybe_unused]] const bool g_attached = AttachParentConsole();

// The exit statuses of the signals these events stand for on other systems.
int ExitStatus(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
            return 130;  // an interrupt
        case CTRL_BREAK_EVENT:
            return 131;  // a quit
        case CTRL_CLOSE_EVENT:
            return 129;  // a hang-up
        default:
            return 143;  // logging off or shutting down: a termination
    }
}

// Runs on a thread of its own.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    const int status = ExitStatus(event);
    g_exitStatus = status;
    // The loop honours it within a tenth of a second. One that cannot (the error box is up, or
    // the game hangs) is ended from here, with what can be put back from another thread.
    Sleep(1000);
    ::ClipCursor(nullptr);
    if (win32::DisplaySwitched()) ::ChangeDisplaySettingsA(nullptr, 0);
    std::fflush(nullptr);
    std::_Exit(status);
}

const char* ExceptionName(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
            return "access violation";
        case EXCEPTION_STACK_OVERFLOW:
            return "stack overflow";
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
            return "integer division by zero";
        case EXCEPTION_ILLEGAL_INSTRUCTION:
            return "illegal instruction";
        case EXCEPTION_IN_PAGE_ERROR:
            return "page could not be read";
        case EXCEPTION_DATATYPE_MISALIGNMENT:
            return "misaligned data";
        default:
            return "exception";
    }
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* crash) {
    const EXCEPTION_RECORD& record = *crash->ExceptionRecord;
    char message[128];
    std::snprintf(message, sizeof message, "Unexpected error: %s (exception 0x%08lX at %p)",
                  ExceptionName(record.ExceptionCode),
                  static_cast<unsigned long>(record.ExceptionCode), record.ExceptionAddress);
    Fatal(message);
}

}  // namespace

void host::InstallSignalHandlers() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    SetUnhandledExceptionFilter(OnCrash);
}

// The event still gives the player's desktop back before the program goes.
void host::HonourSignal() {
    const int status = g_exitStatus;
    if (!status) return;
    RestoreDesktop();
    host::StopVideo();
    std::fflush(nullptr);
    std::_Exit(status);
}

void host::Exit(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace platform

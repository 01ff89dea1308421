// The Windows calls whose effect a test cannot read back from Windows, and the conversions between
// the game's UTF-8 paths and Windows' own UTF-16 ones.
#include <atomic>

#include "win32_host.h"

namespace platform::win32 {

namespace {

// A test's hidden windows leave the real pointer alone.
BOOL WINAPI NoClip(const ::RECT*) {
    return TRUE;
}

// Windows 10 1607 and later say each window's DPI; older ones have one DPI for the whole desktop.
UINT WINAPI DesktopDpi(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32"), "GetDpiForWindow")));
    if (forWindow != nullptr) return forWindow(window);
    ::HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

// Counted once, like the Linux host opens its device once.
UINT WINAPI DevicesCountedOnce() {
    static std::atomic<int> devices{-1};
    if (devices < 0) devices = static_cast<int>(::waveOutGetNumDevs());
    return static_cast<UINT>(devices.load());
}

void Pause(unsigned attempt) {
    Sleep(25 * attempt);
}

}  // namespace

SystemCalls& Calls() {
    static SystemCalls calls{HiddenWindows() ? NoClip : ::ClipCursor,
                             ::ShowCursor,
                             ::sndPlaySoundW,
                             DevicesCountedOnce,
                             DesktopDpi,
                             Pause};
    return calls;
}

std::wstring Wide(const std::string& text) {
    const int size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8(const wchar_t* text, size_t length) {
    const int size = static_cast<int>(length);
    std::string narrow(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0,
                                                               nullptr, nullptr)),
                       '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, size, narrow.data(), static_cast<int>(narrow.size()),
                        nullptr, nullptr);
    return narrow;
}

}  // namespace platform::win32

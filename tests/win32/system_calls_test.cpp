// The host's calls whose effect Windows does not show a test, on recorders: the pointer's display
// count, a scaled window's size, pointer and clip, and a sound's name and flags.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/app.h"
#include "platform/form.h"
#include "platform/host.h"
#include "platform/sound.h"
#include "platform/win32/win32_host.h"
#include "temp_dir.h"

using namespace platform;

namespace {

int g_count = 0;
std::string g_clip;  // "left top right bottom", or "free"
std::wstring g_sound;
UINT g_flags = 0;

std::string Text(const ::RECT& r) {
    return std::to_string(r.left) + ' ' + std::to_string(r.top) + ' ' + std::to_string(r.right) +
           ' ' + std::to_string(r.bottom);
}

// Puts recorders in the host's calls for one test; a monitor at 192 DPI, 200 %.
struct Recorders {
    Recorders() {
        auto& calls = win32::Calls();
        calls.showCursor = [](BOOL show) { return g_count += show ? 1 : -1; };
        calls.clipCursor = [](const ::RECT* rect) {
            return g_clip = rect ? Text(*rect) : "free", 1;
        };
        calls.playSound = [](LPCWSTR name, UINT flags) {
            return g_sound = name ? name : L"", g_flags = flags, 1;
        };
        calls.soundDevices = []() { return 1u; };
        calls.dpiOf = [](HWND) { return 192u; };
    }
    ~Recorders() { win32::Calls() = saved; }
    win32::SystemCalls saved = win32::Calls();
};

}  // namespace

TEST(Win32Calls, ThePointerShowsOrHidesWhateverItsCountAndWhileTheGameIsBehind) {
    const Recorders recorders;
    for (int start : {-4, -1, 0, 3}) {
        g_count = start, host::ShowPointer(false);
        EXPECT_EQ(g_count, -1) << start;
        g_count = start, host::ShowPointer(true);
        EXPECT_EQ(g_count, 0) << start;
    }
    win32::SetForeground(false);  // another program in front: the desktop's pointer
    host::ShowPointer(false);
    EXPECT_EQ(g_count, 0);
    win32::SetForeground(true);
    EXPECT_EQ(g_count, -1);
}

// A 64x48 window is 128x96 on the screen; the pointer and the game's clip map between the two,
// the clip goes while another program is in front, and the size follows the window's monitor.
TEST(Win32Calls, AWindowAtTwiceTheDpiIsTwiceTheSizeAndMapsThePointerAndClip) {
    const Recorders recorders;
    InitVideo();
    NativeWindow window({.caption = "scaled test window", .clientWidth = 64, .clientHeight = 48},
                        10, 20);
    HWND handle = FindWindowExA(nullptr, nullptr, win32::kWindowClass, "scaled test window");
    ASSERT_NE(handle, nullptr);
    ::RECT client{};
    GetClientRect(handle, &client);
    EXPECT_EQ(Text(client), "0 0 128 96");
    int x = 101, y = 51;
    win32::ToClient(handle, x, y);
    EXPECT_TRUE(x == 50 && y == 25) << x << ',' << y;

    ::POINT at{0, 0};
    ClientToScreen(handle, &at);
    const platform::RECT clip{12, 22, 42, 52};  // the game's: its window at (10, 20), unscaled
    const std::string scaled = Text({at.x + 4, at.y + 4, at.x + 64, at.y + 64});
    window.ConfinePointer(&clip);
    EXPECT_EQ(g_clip, scaled);
    SendMessageA(handle, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(g_clip, "free");
    SendMessageA(handle, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_EQ(g_clip, scaled);
    window.ConfinePointer(nullptr);
    EXPECT_EQ(g_clip, "free");
    const ::RECT suggested{300, 200, 400, 300};  // dragged onto a monitor at 100 %
    SendMessageA(handle, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    GetClientRect(handle, &client);
    EXPECT_EQ(Text(client), "0 0 64 48");
}

// By its whole name, a folder outside the code page included, with the game's flags; an empty
// name stops the sound playing.
TEST(Win32Calls, ASoundReachesWindowsByItsNameWithTheGamesFlags) {
    const Recorders recorders;
    testing_support::TempDir temp;
    const std::string name = "Звук Zvučni.wav", path = temp.Path().string() + "\\" + name;
    const auto file = temp.Path() / std::u8string(name.begin(), name.end());
    const uint32_t header[] = {16, 0x00010001, 8000, 8000, 0x00080001};  // 8-bit mono, 8000 Hz
    const uint32_t size = 8000;                                          // one second
    std::ofstream(file, std::ios::binary)
        << "RIFF....WAVEfmt " << std::string(reinterpret_cast<const char*>(header), sizeof header)
        << "data" << std::string(reinterpret_cast<const char*>(&size), 4) << std::string(size, 'x');
    EXPECT_TRUE(host::PlaySoundFile(path, SND_ASYNC | SND_NODEFAULT));
    EXPECT_EQ(g_sound, file.wstring());
    EXPECT_EQ(g_flags, static_cast<UINT>(SND_ASYNC | SND_NODEFAULT));
    EXPECT_EQ(win32::NowPlaying(), path);
    EXPECT_FALSE(host::PlaySoundFile("", SND_ASYNC));
    EXPECT_EQ(g_sound, L"");
}

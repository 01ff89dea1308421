// The host's calls whose effect Windows does not show a test, on recorders: the pointer's display
// count, a scaled window's size, pointer and clip, and a sound's name and flags.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/form.h"
#include "platform/host.h"
#include "platform/sound.h"
#include "platform/win32/win32_host.h"
#include "platform/window.h"
#include "temp_dir.h"

using namespace platform;

namespace {

int g_count = 0;
std::vector<::RECT> g_clips;  // {-1, -1, -1, -1} for a released clip
std::wstring g_sound = L"none";
UINT g_flags = 0;

// Puts recorders in the host's calls for one test.
struct Recorders {
    Recorders() {
        auto& calls = win32::Calls();
        calls.showCursor = [](BOOL show) { return g_count += show ? 1 : -1; };
        calls.clipCursor = [](const ::RECT* rect) {
            g_clips.push_back(rect ? *rect : ::RECT{-1, -1, -1, -1});
            return TRUE;
        };
        calls.playSound = [](LPCWSTR name, UINT flags) {
            g_sound = name ? name : L"", g_flags = flags;
            return TRUE;
        };
        calls.soundDevices = []() { return 1u; };
        calls.dpiOf = [](HWND) { return 192u; };  // 200 %
    }
    ~Recorders() { win32::Calls() = saved; }
    win32::SystemCalls saved = win32::Calls();
};

bool Same(const ::RECT& a, const ::RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(Win32Calls, ThePointerShowsOrHidesWhateverItsCountAndWhileTheGameIsBehind) {
    const Recorders recorders;
    for (int start : {-4, -1, 0, 3}) {
        g_count = start, host::ShowPointer(false);
        EXPECT_EQ(g_count, -1) << start;
        g_count = start, host::ShowPointer(true);
        EXPECT_EQ(g_count, 0) << start;
    }
    host::ShowPointer(false);
    win32::SetForeground(false);
    EXPECT_EQ(g_count, 0);  // the desktop's pointer while another program is in front
    host::ShowPointer(false);
    EXPECT_EQ(g_count, 0);
    win32::SetForeground(true);
    EXPECT_EQ(g_count, -1);
}

// At 192 DPI a 64x48 window is 128x96 on the screen; the pointer and the game's clip map between
// the two, and the clip goes while another program is in front.
TEST(Win32Calls, AWindowAtTwiceTheDpiIsTwiceTheSizeAndMapsThePointerAndClip) {
    const Recorders recorders;
    InitVideo();
    FormDesign design;
    design.caption = "scaled test window";
    design.clientWidth = 64;
    design.clientHeight = 48;
    NativeWindow window(design, 10, 20);
    HWND handle = FindWindowExA(nullptr, nullptr, win32::kWindowClass, "scaled test window");
    ASSERT_NE(handle, nullptr);
    ::RECT client{};
    GetClientRect(handle, &client);
    EXPECT_TRUE(client.right == 128 && client.bottom == 96) << client.right << 'x' << client.bottom;
    int x = 101, y = 51;
    window.ToClient(x, y);
    EXPECT_TRUE(x == 50 && y == 25) << x << ',' << y;

    ::POINT at{0, 0};
    ClientToScreen(handle, &at);
    const platform::RECT clip{12, 22, 42, 52};  // the game's: its window at (10, 20), unscaled
    const ::RECT scaled{at.x + 4, at.y + 4, at.x + 64, at.y + 64}, none{-1, -1, -1, -1};
    window.ConfinePointer(&clip);
    ASSERT_FALSE(g_clips.empty());
    EXPECT_TRUE(Same(g_clips.back(), scaled)) << g_clips.back().left << ',' << g_clips.back().top;
    SendMessageA(handle, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(Same(g_clips.back(), none));
    SendMessageA(handle, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(Same(g_clips.back(), scaled));
    window.ConfinePointer(nullptr);
    EXPECT_TRUE(Same(g_clips.back(), none));
}

// The sound goes to Windows by its whole name, a folder outside the code page included, with the
// game's flags; an empty name stops the sound playing.
TEST(Win32Calls, ASoundReachesWindowsByItsNameWithTheGamesFlags) {
    const Recorders recorders;
    testing_support::TempDir temp;
    const std::string name = "Звук Zvučni.wav";
    const std::filesystem::path file = temp.Path() / std::u8string(name.begin(), name.end());
    // A second of 8-bit mono at 8000 Hz.
    std::string wav = "RIFF....WAVEfmt ";
    const uint32_t format[] = {16, 0x00010001, 8000, 8000, 0x00080001};
    wav.append(reinterpret_cast<const char*>(format), sizeof format).append("data");
    const uint32_t size = 8000;
    wav.append(reinterpret_cast<const char*>(&size), 4).append(size, '\x80');
    std::ofstream(file, std::ios::binary) << wav;
    const std::string path = temp.Path().string() + "\\" + name;
    EXPECT_TRUE(host::PlaySoundFile(path, SND_ASYNC | SND_NODEFAULT));
    EXPECT_EQ(g_sound, file.wstring());
    EXPECT_EQ(g_flags, static_cast<UINT>(SND_ASYNC | SND_NODEFAULT));
    EXPECT_EQ(NowPlaying(), path);
    EXPECT_FALSE(host::PlaySoundFile("", SND_ASYNC));
    EXPECT_EQ(g_sound, L"");
    EXPECT_EQ(NowPlaying(), "");
}

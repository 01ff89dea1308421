// The game window's life: cursor, confinement, display mode, and the keyboard commands.
#include <gtest/gtest.h>

#include <tuple>

#include "unpacker_fixture.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;
using testing_support::CursorCount;

class Lifecycle : public testing_support::Unpacker {
protected:
    void SetUp() override {
        Unpacker::SetUp();
        bPlaying = bGameOver = 0;
    }
    void Open(platform::Integer fullScreen) {
        startup::basDisplay::bFullScreen = fullScreen;
        Start();
    }
};

TEST_F(Lifecycle, FullScreenSwitchesTo640x480AndBackToTheRecordedDesktop) {
    startup::basDisplay::sngScreenW = 0;
    Open(platform::True);
    EXPECT_FALSE(Desktop().confined.has_value());
    EXPECT_EQ(Desktop().switches, (std::vector<std::pair<int, int>>{{640, 480}}));
    EXPECT_TRUE(Desktop().windows.back().fullScreen);
    frmMAIN.Unload();
    EXPECT_EQ(Desktop().switches.back(), std::pair(0, 0));
    EXPECT_EQ(CursorCount(), 0);

    // A size between whole pixels is rounded half to even.
    for (auto [w, h] : {std::pair{639.5f, 479.5f}, std::pair{640.5f, 480.5f}}) {
        startup::basDisplay::SetDisplayMode(w, h);
        EXPECT_EQ(Desktop().switches.back(), std::pair(640, 480)) << w;
    }
    // What a fatal error does first: the desktop's mode back and the pointer shown.
    platform::ShowCursor(0);
    platform::RestoreDesktop();
    EXPECT_EQ(Desktop().switches.back(), std::pair(0, 0));
    EXPECT_TRUE(Desktop().pointerShown);
}

TEST_F(Lifecycle, WindowedPlayConfinesTheCursorAndOnlyPPausesAndEscEndsAPausedRound) {
    Desktop().desktop = {1200, 900};
    Open(1);  // only -1 means full-screen
    const int left = 1200 / 15, top = 900 / 15;
    const auto& window = Desktop().windows.back();
    EXPECT_EQ(std::tuple(window.shown, window.x, window.y, window.width, window.height),
              std::tuple(true, left, top, 640, 480));
    ASSERT_TRUE(Desktop().confined.has_value());
    const platform::RECT clip = *Desktop().confined;  // from client point (1, 1)
    EXPECT_EQ(std::tie(clip.Left, clip.Top, clip.Right, clip.Bottom),
              std::tuple(left + 1, top + 1, left + 640, top + 480));
    EXPECT_FALSE(Desktop().pointerShown);
    EXPECT_EQ(CursorCount(), -1);

    bPlaying = platform::True;
    for (int press = 1; press <= 7; ++press) {
        Key(press % 2 ? 'p' : 'P');
        EXPECT_EQ(frmMAIN.tmr_Main.Enabled() != 0, press % 2 == 0);
        EXPECT_EQ(CursorCount(), press % 2 - 1);  // shown while paused
        EXPECT_EQ(Desktop().pointerShown, press % 2 == 1);
    }
    Key('x');
    Key('q');
    EXPECT_EQ(frmMAIN.tmr_Main.Enabled(), 0) << "only P pauses and resumes";

    KeyUp(27);  // Esc: the round ends; its game-over screen waits for the resume
    EXPECT_EQ(bPlaying, 0);
    EXPECT_EQ(bGameOver, platform::True);
    ASSERT_EQ(Desktop().sounds.size(), 1u);
    EXPECT_NE(Desktop().sounds[0].path.find("Kraj.wav"), std::string::npos);
    EXPECT_EQ(frmMAIN.tmr_Main.Enabled(), 0);
    EXPECT_TRUE(frmMAIN.Loaded());
    KeyUp(27);  // quits, giving back the cursor
    EXPECT_FALSE(frmMAIN.Loaded() || assets::frmRES.Loaded());
    EXPECT_FALSE(Desktop().confined.has_value());
    EXPECT_TRUE(Desktop().pointerShown);
    EXPECT_TRUE(Desktop().switches.empty());
}

}  // namespace

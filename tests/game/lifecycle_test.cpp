// The game window's life: cursor, confinement, display mode, and the keyboard commands.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/constants.h"
#include "platform/sound.h"
#include "unpacker_fixture.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;
using platform::CursorDisplayCount;
using platform::DisplayRequests;

class Lifecycle : public testing_support::Unpacker {
protected:
    void SetUp() override {
        Unpacker::SetUp();
        platform::ClearSoundRequests();
        bPlaying = bGameOver = 0;
    }
    void Open(platform::Integer fullScreen) {
        startup::basDisplay::bFullScreen = fullScreen;
        Start();
    }
};

TEST_F(Lifecycle, FullScreenAsksFor640x480AndThenForTheRecordedDesktop) {
    const auto desktop = platform::DesktopSize();
    startup::basDisplay::sngScreenW = 0;
    Open(platform::True);
    EXPECT_FALSE(platform::CursorClip().has_value());
    ASSERT_EQ(DisplayRequests().size(), 1u);
    const auto asked = DisplayRequests()[0];
    EXPECT_EQ(asked.fields, platform::DM_PELSWIDTH | platform::DM_PELSHEIGHT);
    EXPECT_EQ(std::tuple(asked.width, asked.height, asked.flags),
              std::tuple(640u, 480u, platform::CDS_FULLSCREEN));
    frmMAIN.Unload();
    ASSERT_EQ(DisplayRequests().size(), 2u);
    EXPECT_EQ(DisplayRequests()[1].width, static_cast<uint32_t>(desktop.width));
    EXPECT_EQ(DisplayRequests()[1].height, static_cast<uint32_t>(desktop.height));
    EXPECT_EQ(CursorDisplayCount(), 0);

    // A size between whole pixels is rounded half to even.
    for (auto [w, h] : {std::pair{639.5f, 479.5f}, std::pair{640.5f, 480.5f}}) {
        startup::basDisplay::SetDisplayMode(w, h);
        EXPECT_EQ(std::tuple(DisplayRequests().back().width, DisplayRequests().back().height),
                  std::tuple(640u, 480u))
            << w;
    }
}

TEST_F(Lifecycle, WindowedPlayConfinesTheCursorAndOnlyPPausesAndEscEndsAPausedRound) {
    const auto desktop = platform::DesktopSize();
    Open(1);  // only -1 means full-screen
    const int left = desktop.width / 15, top = desktop.height / 15;
    ASSERT_TRUE(platform::CursorClip().has_value());
    const platform::RECT clip = *platform::CursorClip();  // from client point (1, 1)
    EXPECT_EQ(std::tie(clip.Left, clip.Top, clip.Right, clip.Bottom),
              std::tuple(left + 1, top + 1, left + 640, top + 480));
    EXPECT_EQ(CursorDisplayCount(), -1);

    bPlaying = platform::True;
    for (int press = 1; press <= 7; ++press) {
        Key(press % 2 ? 'p' : 'P');
        EXPECT_EQ(frmMAIN.tmr_Main.Enabled() != 0, press % 2 == 0);
        EXPECT_EQ(CursorDisplayCount(), press % 2 - 1);  // shown while paused
    }
    Key('x');
    Key('q');
    EXPECT_EQ(frmMAIN.tmr_Main.Enabled(), 0) << "only P pauses and resumes";

    KeyUp(27);  // Esc: the round ends; its game-over screen waits for the resume
    EXPECT_EQ(bPlaying, 0);
    EXPECT_EQ(bGameOver, platform::True);
    ASSERT_EQ(platform::SoundRequests().size(), 1u);
    EXPECT_NE(platform::SoundRequests()[0].path.find("Kraj.wav"), std::string::npos);
    EXPECT_EQ(frmMAIN.tmr_Main.Enabled(), 0);
    EXPECT_TRUE(frmMAIN.Loaded());
    KeyUp(27);  // quits, giving back the cursor
    EXPECT_FALSE(frmMAIN.Loaded() || assets::frmRES.Loaded());
    EXPECT_FALSE(platform::CursorClip().has_value());
    EXPECT_GE(CursorDisplayCount(), 0);
    EXPECT_TRUE(DisplayRequests().empty());
}

// The game window draws straight into its framebuffer where it can, and into a surface of its
// own where the frame is scaled: either way the frame survives hiding, showing and closing.
TEST_F(Lifecycle, TheFrameSurvivesScalingHidingAndClosing) {
    for (bool full : {true, false}) {
        SCOPED_TRACE(full ? "full-screen" : "windowed");
        Open(full ? platform::True : 0);
        frmMAIN.tmr_Main_Timer();
        frmMAIN.Present();
        EXPECT_FALSE(full && frmMAIN.hDC()->Attached()) << "a scaled frame needs its own surface";
        frmMAIN.Hide();
        frmMAIN.Show();
        frmMAIN.Present();
        const platform::Surface& work = *frmMAIN.pic_Work.hDC();
        const platform::Surface& form = *frmMAIN.hDC();
        frmMAIN.Unload();  // the window goes; the form's picture stays readable
        for (int y = 0; y < 480; y += 7)
            for (int x = 0; x < 640; x += 5) ASSERT_EQ(form.Pixel(x, y), work.Pixel(x, y));
        assets::frmRES.Unload();
    }
}

}  // namespace

// The game window's life: cursor, confinement, display mode, and the keyboard commands.
#include <gtest/gtest.h>

#include "assets/frmRES.h"
#include "game/frmMAIN.h"
#include "platform/cursor.h"
#include "platform/display.h"
#include "platform/sound.h"
#include "startup/basDisplay.h"
#include "startup/frmStartup.h"
#include "temp_dir.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;
using startup::basDisplay::bFullScreen;

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        temp_.UseAsTemp();
        platform::ResetCursorState();
        platform::ResetDisplayState();
        platform::ClearSoundRequests();
        bPlaying = 0;
        bGameOver = 0;
    }
    void TearDown() override {
        frmMAIN.Unload();
        assets::frmRES.Unload();
        startup::frmStartup.Unload();
        bFullScreen = 0;
        platform::ResetCursorState();
        platform::ResetDisplayState();
    }
    void Open() {
        assets::frmRES.Show();
        assets::frmRES.Timer1_Timer();
    }
    void Key(game::Integer ascii) { frmMAIN.Form_KeyPress(ascii); }
    void EscUp() {
        game::Integer esc = 27;
        frmMAIN.Form_KeyUp(esc, 0);
    }
    testing_support::TempDir temp_;
};

TEST_F(Lifecycle, WindowedPlayConfinesTheCursorFromClientPointOneOne) {
    const auto desktop = platform::DesktopSize();
    bFullScreen = 1;  // only -1 means full-screen
    Open();
    const int left = desktop.width / 15, top = desktop.height / 15;
    EXPECT_EQ(frmMAIN.Left(), static_cast<float>(desktop.width));
    EXPECT_EQ(frmMAIN.Top(), static_cast<float>(desktop.height));
    ASSERT_TRUE(platform::CursorClip().has_value());
    const platform::RECT clip = *platform::CursorClip();
    EXPECT_EQ(clip.Left, left + 1);
    EXPECT_EQ(clip.Top, top + 1);
    EXPECT_EQ(clip.Right, left + 640);
    EXPECT_EQ(clip.Bottom, top + 480);
    EXPECT_EQ(platform::CursorDisplayCount(), -1);
    EXPECT_TRUE(platform::DisplayRequests().empty());

    EscUp();  // quit from the attract screen
    EXPECT_FALSE(frmMAIN.Loaded());
    EXPECT_FALSE(assets::frmRES.Loaded());
    EXPECT_FALSE(platform::CursorClip().has_value());
    EXPECT_EQ(platform::CursorDisplayCount(), 0);
    EXPECT_TRUE(platform::DisplayRequests().empty());
}

TEST_F(Lifecycle, FullScreenAsksFor640x480AndThenForTheRecordedDesktop) {
    bFullScreen = platform::True;
    startup::basDisplay::sngScreenW = 0;
    Open();
    EXPECT_EQ(frmMAIN.Left(), 0);
    EXPECT_EQ(frmMAIN.Top(), 0);
    EXPECT_FALSE(platform::CursorClip().has_value());
    ASSERT_EQ(platform::DisplayRequests().size(), 1u);
    const auto asked = platform::DisplayRequests()[0];
    EXPECT_EQ(asked.fields, 0x00180000u);
    EXPECT_EQ(asked.width, 640u);
    EXPECT_EQ(asked.height, 480u);
    EXPECT_EQ(asked.flags, 4u);
    const auto desktop = platform::DesktopSize();
    EXPECT_EQ(startup::basDisplay::sngScreenW, static_cast<float>(desktop.width));
    frmMAIN.Unload();
    ASSERT_EQ(platform::DisplayRequests().size(), 2u);
    EXPECT_EQ(platform::DisplayRequests()[1].width, static_cast<uint32_t>(desktop.width));
    EXPECT_EQ(platform::DisplayRequests()[1].height, static_cast<uint32_t>(desktop.height));
    EXPECT_EQ(platform::CursorDisplayCount(), 0);
}

// The game window draws straight into its framebuffer where it can, and into a surface of its
// own where the frame is scaled: either way the frame survives hiding, showing and closing.
TEST_F(Lifecycle, TheFrameSurvivesScalingHidingAndClosing) {
    for (bool full : {true, false}) {
        SCOPED_TRACE(full ? "full-screen" : "windowed");
        bFullScreen = full ? platform::True : 0;
        Open();
        frmMAIN.tmr_Main_Timer();
        frmMAIN.Present();
        EXPECT_EQ(frmMAIN.hDC()->Attached(), !full);
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

TEST_F(Lifecycle, SetDisplayModeRoundsHalvesToEven) {
    for (auto [w, h, ew, eh] :
         {std::tuple{639.5f, 480.0f, 640u, 480u}, std::tuple{640.5f, 479.5f, 640u, 480u},
          std::tuple{1024.0f, 768.0f, 1024u, 768u}}) {
        startup::basDisplay::SetDisplayMode(w, h);
        const auto& dm = startup::basDisplay::dmDisplay;
        EXPECT_EQ(dm.dmFields, 0x00180000u);
        EXPECT_EQ(dm.dmPelsWidth, ew);
        EXPECT_EQ(dm.dmPelsHeight, eh);
        EXPECT_EQ(dm.dmSize, 124);
        EXPECT_EQ(platform::DisplayRequests().back().flags, platform::CDS_FULLSCREEN);
    }
}

TEST_F(Lifecycle, PauseTogglesTheTimerAndKeepsTheCursorCountBalanced) {
    Open();
    const int32_t playing = platform::CursorDisplayCount();
    for (int press = 1; press <= 7; ++press) {
        Key(press % 2 ? 'p' : 'P');
        EXPECT_EQ(frmMAIN.tmr_Main.Enabled() != 0, press % 2 == 0);
        EXPECT_EQ(platform::CursorDisplayCount(), playing + press % 2);
    }
    Key('x');
    Key('q');
    EXPECT_EQ(frmMAIN.tmr_Main.Enabled(), 0) << "only P pauses and resumes";
    Key('p');
    EXPECT_EQ(platform::CursorDisplayCount(), playing);
    frmMAIN.Unload();
    EXPECT_EQ(platform::CursorDisplayCount(), 0);
}

TEST_F(Lifecycle, EscDuringAPausedRoundEndsItAndTheGameOverWaitsForResume) {
    Open();
    bPlaying = platform::True;
    Key('p');
    EscUp();
    EXPECT_EQ(bPlaying, 0);
    EXPECT_EQ(bGameOver, platform::True);
    ASSERT_EQ(platform::SoundRequests().size(), 1u);
    EXPECT_NE(platform::SoundRequests()[0].path.find("Kraj.wav"), std::string::npos);
    EXPECT_EQ(platform::SoundRequests()[0].flags, 3);
    EXPECT_TRUE(frmMAIN.Loaded());
    EXPECT_EQ(frmMAIN.tmr_Main.Enabled(), 0);
    // Esc on a paused game-over screen quits, with the cursor showing.
    EscUp();
    EXPECT_FALSE(frmMAIN.Loaded());
    EXPECT_GE(platform::CursorDisplayCount(), 0);
}

}  // namespace

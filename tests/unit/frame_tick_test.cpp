// The frame tick: what each screen draws, in which order, and how the screens follow each other.
#include <gtest/gtest.h>

#include "game_fixture.h"
#include "platform/text.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;
using game::MainFormProbe;
using testing_support::GameTest;

// Pixels that differ from the sky in a band of rows.
int ChangedInRows(const platform::Surface& frame, int top, int bottom) {
    const platform::Surface& sky = *frmMAIN.pic_BG.hDC();
    int changed = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < 640; ++x) changed += frame.Pixel(x, y) != sky.Pixel(x, y);
    return changed;
}

bool AttractTextShown(const platform::Surface& frame) {
    return ChangedInRows(frame, 210, 250) > 200;
}

class FrameTick : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        MoveTo(-100, -100);  // the crosshair out of the way
    }
};

TEST_F(FrameTick, AttractTextBlinksTenOnTenOffFromTheFirstTick) {
    std::string pattern;
    for (int i = 0; i < 40; ++i) {
        Tick();
        pattern += AttractTextShown(Work()) ? '#' : '.';
        EXPECT_EQ(iBlink, (i + 1) % 20) << "tick " << i + 1;
    }
    EXPECT_EQ(pattern, "##########..........##########..........");
    // The window shows exactly the composed frame.
    const platform::Surface& window = *frmMAIN.hDC();
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 5) ASSERT_EQ(window.Pixel(x, y), Work().Pixel(x, y));
}

TEST_F(FrameTick, GameOverLastsFortyTicksLessTheBlinkPhaseOfTheStart) {
    for (int phase = 0; phase < 20; ++phase) {
        MainFormProbe::GameReset();
        bGameOver = platform::True;
        iBlink = static_cast<game::Integer>(phase);
        iBombs = 1;
        int shown = 0;
        while (bGameOver) {
            Tick();
            if (bGameOver) {
                ++shown;
                EXPECT_GT(ChangedInRows(Work(), 210, 310), 400);
            }
            ASSERT_LT(shown, 50);
        }
        EXPECT_EQ(shown, 40 - phase) << "phase " << phase;
        EXPECT_EQ(ChangedInRows(Work(), 200, 320), 0) << "the last tick draws no text";
        EXPECT_EQ(iBombs, 3) << "the game was reset";
        EXPECT_EQ(iBlink, 0);
    }
}

TEST_F(FrameTick, LayersSkyHudBalloonsThenCrosshair) {
    bPlaying = platform::True;
    lSpawnClock = 0;
    random_.fallback = 0.99f;  // no launch this tick
    // A balloon over the score's digits, and the crosshair over the balloon.
    Fly(0, 0, 30, 4, 0);
    MoveTo(60, 34);
    Tick();
    const platform::Surface& frame = Work();
    // Balloon pixels at its opaque centre (pose 2, red): nothing of the yellow score line.
    const uint32_t centre = frame.Pixel(45, 20);
    EXPECT_NE(centre, 0xFFFF00u);
    EXPECT_GT((centre >> 16) & 0xFF, (centre & 0xFF)) << "a red balloon is drawn there";
    // The crosshair is drawn last: its opaque pixels equal the sheet's idle picture.
    platform::Surface& sheet = *frmMAIN.pic_Crosshair.hDC();
    int opaque = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 22; ++x)
            if (sheet.Pixel(1 + x, 24 + y) == 0) {
                ++opaque;
                EXPECT_EQ(frame.Pixel(49 + x, 23 + y), sheet.Pixel(1 + x, 1 + y));
            }
    EXPECT_GT(opaque, 20);
}

TEST_F(FrameTick, TheHeldBombButtonAndTheLaunchClockOutliveTheReset) {
    bGameOver = platform::True;
    iBlink = 40;  // the game-over screen ends this tick
    bFireRight = platform::True;
    lSpawnClock = 900;
    iBombs = 0;
    Tick();
    EXPECT_EQ(bGameOver, 0);
    EXPECT_EQ(iBombs, 3);
    EXPECT_EQ(bFireRight, platform::True);
    EXPECT_EQ(lSpawnClock, 945);
    // A long enough wait on the attract screen: the first playing tick launches whatever the draw.
    Release(2);
    random_.fallback = 0.9999f;
    Tick(40);
    Press(1);
    Tick();
    Release(1);
    ASSERT_EQ(bPlaying, platform::True);
    Tick();
    EXPECT_EQ(Balloons[0].Active, platform::True);
}

TEST_F(FrameTick, ClocksRunToTheirCapsOnEveryScreen) {
    lSpawnClock = 0;
    Tick(400);
    EXPECT_EQ(lSpawnClock, 13500);
    EXPECT_EQ(iReload, 180);
    bGameOver = platform::True;
    lSpawnClock = 45;
    iReload = 45;
    Tick();
    EXPECT_EQ(lSpawnClock, 90);
    EXPECT_EQ(iReload, 90);
}

}  // namespace

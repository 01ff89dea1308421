// Aiming, shots, smart bombs, starting a round and what a new game leaves as it was.
#include <gtest/gtest.h>

#include "game_fixture.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;
using platform::True;
using Cues = std::vector<std::string>;

class Crosshair : public testing_support::GameTest {};

TEST_F(Crosshair, AShotHitsFromXPlus9ToXPlus70OnEveryEdge) {
    const struct {
        float px, py;
        bool hits;
    } aims[] = {{109, 240, true}, {108, 240, false}, {170, 240, true}, {171, 240, false},
                {130, 209, true}, {130, 208, false}, {130, 270, true}, {130, 271, false}};
    for (const auto& aim : aims) {
        bPlaying = True;
        Fly(0, 1, 100, 205, 5);  // at (100, 200) once the tick has moved it
        Shoot(aim.px, aim.py);
        EXPECT_EQ(Balloons[0].Bursting == True, aim.hits) << aim.px << ", " << aim.py;
        Balloons[0] = {};
    }
}

TEST_F(Crosshair, OnlyTheLowestSlotOfOverlappingBalloonsBurstsAndScoresOnce) {
    bPlaying = True;
    Fly(3, 0, 100, 205, 5);
    Fly(7, 2, 110, 215, 5);
    Shoot(140, 240);
    EXPECT_EQ(Balloons[3].Bursting, True);
    EXPECT_EQ(Balloons[7].Active, True);
    EXPECT_EQ(lScore, 100);
    EXPECT_EQ(Sounds(), (Cues{"PucanjB.wav:3", "Eksplozija.wav:3"}));
}

TEST_F(Crosshair, AHeldButtonFiresEveryFourthTickWithTheFiringPictureOnThatTickOnly) {
    // A pixel opaque in both pictures where they differ tells which one was drawn.
    const platform::Surface& sheet = *frmMAIN.pic_Crosshair.hDC();
    int px = -1, py = -1;
    for (int i = 0; i < 22 * 22 && px < 0; ++i)
        if (sheet.Pixel(1 + i % 22, 24 + i / 22) == 0 &&
            sheet.Pixel(24 + i % 22, 24 + i / 22) == 0 &&
            sheet.Pixel(1 + i % 22, 1 + i / 22) != sheet.Pixel(24 + i % 22, 1 + i / 22))
            px = i % 22, py = i / 22;
    ASSERT_GE(px, 0);
    MoveTo(300, 300);
    iReload = 180;
    Press(1);
    std::string shots;
    for (int tick = 0; tick < 12; ++tick) {
        PlayTick();
        const bool fired = !Sounds().empty();
        shots += fired ? '*' : '.';
        EXPECT_EQ(Work().Pixel(289 + px, 289 + py), sheet.Pixel((fired ? 24 : 1) + px, 1 + py));
    }
    EXPECT_EQ(shots, "*...*...*...");
}

TEST_F(Crosshair, ABombBurstsEverythingUnlessAShotEmptiedTheReloadThisTick) {
    Fly(0, 0, 100, 205, 5);
    Fly(1, 3, 400, 305, 5);
    MoveTo(600, 50);
    iReload = 180;
    bFireRight = True;
    Press(1);  // both held: the shot fires first and blocks the bomb
    for (int tick = 0; tick < 8; ++tick) PlayTick();
    EXPECT_EQ(iBombs, 3);
    EXPECT_EQ(Balloons[0].Active, True);
    Release(1);
    Sounds();
    iReload = 180;
    PlayTick();
    EXPECT_EQ(iBombs, 2);
    EXPECT_EQ(Balloons[0].Bursting, True);
    EXPECT_EQ(Balloons[1].Bursting, True);
    EXPECT_EQ(Sounds(), (Cues{"PucanjSB.wav:3"}));
    // With no bombs left a bomb press does nothing at all.
    iBombs = 0;
    iReload = 180;
    PlayTick();
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(iReload, 180);
}

TEST_F(Crosshair, OnTheAttractScreenBombsCostNothingAndALeftPressStartsTheRound) {
    Fly(0, 0, 100, 200, 5);
    iReload = 180;
    Press(4);  // the middle button is a bomb button too
    Tick();
    EXPECT_EQ(iBombs, 3);
    EXPECT_EQ(Balloons[0].Bursting, True);
    EXPECT_EQ(Sounds(), (Cues{"PucanjSB.wav:3"}));
    Press(2);
    Release(4);
    EXPECT_EQ(bFireRight, 0) << "releasing either bomb button clears the flag";

    iBlink = 0;
    Shoot(-100, -100);
    EXPECT_EQ(bPlaying, True);
    EXPECT_EQ(iBlink, 1) << "the starting tick is still an attract frame";
    EXPECT_EQ(Sounds(), (Cues{"Start.wav:2", "PucanjB.wav:3"}));
    // Not on the game-over screen.
    bPlaying = 0;
    bGameOver = True;
    Shoot(-100, -100);
    EXPECT_EQ(bPlaying, 0);
}

TEST_F(Crosshair, TheHeldBombButtonAndTheClocksOutliveANewGame) {
    bGameOver = True;
    iBlink = 40;  // the game-over screen ends this tick
    bFireRight = True;
    lSpawnClock = 900;
    iBombs = 0;
    Tick();
    EXPECT_EQ(bGameOver, 0);
    EXPECT_EQ(iBombs, 3);
    EXPECT_EQ(bFireRight, True);
    EXPECT_EQ(lSpawnClock, 945);
    // A long wait on the attract screen fills both clocks to their caps, and the first playing
    // tick launches whatever the draw.
    Release(2);
    fallback_ = 0.9999f;
    Tick(400);
    EXPECT_EQ(lSpawnClock, 13500);
    EXPECT_EQ(iReload, 180);
    Press(1);
    Tick();
    Release(1);
    ASSERT_EQ(bPlaying, True);
    Tick();
    EXPECT_EQ(Balloons[0].Active, True);
}

TEST_F(Crosshair, ThePointerSitsAtTheCrosshairsCentreRoundedHalfToEven) {
    MoveTo(11.5f, 12.5f);
    EXPECT_EQ(iCrossX, 0);
    EXPECT_EQ(iCrossY, 2);
    MoveTo(0, 0);
    EXPECT_EQ(iCrossX, -11);
}

}  // namespace

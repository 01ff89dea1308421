// Aiming, shots, smart bombs and starting a round.
#include <gtest/gtest.h>

#include "game_fixture.h"
#include "platform/sound.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;
using testing_support::GameTest;

class Crosshair : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        random_.fallback = 0.99f;
    }
    // One playing tick with no launch.
    void PlayTick() {
        bPlaying = platform::True;
        lSpawnClock = 0;
        Tick();
    }
};

TEST_F(Crosshair, AShotHitsFromXPlus9ToXPlus70OnEveryEdge) {
    struct Aim {
        float px, py;
        bool hits;
    };
    for (Aim aim :
         {Aim{109, 240, true}, Aim{108, 240, false}, Aim{170, 240, true}, Aim{171, 240, false},
          Aim{130, 209, true}, Aim{130, 208, false}, Aim{130, 270, true}, Aim{130, 271, false}}) {
        Fly(0, 1, 100, 205, 5);  // at (100, 200) once this tick has moved it
        MoveTo(aim.px, aim.py);
        iReload = 180;
        Press(1);
        PlayTick();
        Release(1);
        EXPECT_EQ(Balloons[0].Bursting == platform::True, aim.hits)
            << "pointer at " << aim.px << ", " << aim.py;
        Balloons[0] = {};
    }
}

TEST_F(Crosshair, OnlyTheLowestSlotOfOverlappingBalloonsBurstsAndScoresOnce) {
    Fly(3, 0, 100, 205, 5);
    Fly(7, 2, 110, 215, 5);
    MoveTo(140, 240);
    iReload = 180;
    lScore = 0;
    Press(1);
    PlayTick();
    EXPECT_EQ(Balloons[3].Bursting, platform::True);
    EXPECT_EQ(Balloons[7].Active, platform::True);
    EXPECT_EQ(lScore, 100);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"PucanjB.wav:3", "Eksplozija.wav:3"}));
}

TEST_F(Crosshair, AHeldButtonFiresEveryFourthTickWithTheFiringPictureOnThatTickOnly) {
    MoveTo(300, 300);
    iReload = 180;
    Press(1);
    // A pixel opaque in both pictures where they differ tells which one was drawn.
    const platform::Surface& sheet = *frmMAIN.pic_Crosshair.hDC();
    int px = -1, py = -1;
    for (int y = 0; y < 22 && px < 0; ++y)
        for (int x = 0; x < 22 && px < 0; ++x)
            if (sheet.Pixel(1 + x, 24 + y) == 0 && sheet.Pixel(24 + x, 24 + y) == 0 &&
                sheet.Pixel(1 + x, 1 + y) != sheet.Pixel(24 + x, 1 + y))
                px = x, py = y;
    ASSERT_GE(px, 0);
    std::string shots;
    for (int tick = 0; tick < 12; ++tick) {
        PlayTick();
        const bool fired = !Sounds().empty();
        shots += fired ? '*' : '.';
        const uint32_t expected =
            fired ? sheet.Pixel(24 + px, 1 + py) : sheet.Pixel(1 + px, 1 + py);
        EXPECT_EQ(Work().Pixel(289 + px, 289 + py), expected) << "tick " << tick;
    }
    EXPECT_EQ(shots, "*...*...*...");
}

TEST_F(Crosshair, ABombBurstsEverythingUnlessAShotEmptiedTheReloadThisTick) {
    Fly(0, 0, 100, 205, 5);
    Fly(1, 3, 400, 305, 5);
    MoveTo(600, 50);
    iReload = 180;
    bFireRight = platform::True;
    Press(1);  // both held: the shot fires first and blocks the bomb
    for (int tick = 0; tick < 8; ++tick) PlayTick();
    EXPECT_EQ(iBombs, 3);
    EXPECT_EQ(Balloons[0].Active, platform::True);
    Release(1);
    Sounds();
    iReload = 180;
    PlayTick();
    EXPECT_EQ(iBombs, 2);
    EXPECT_EQ(Balloons[0].Bursting, platform::True);
    EXPECT_EQ(Balloons[1].Bursting, platform::True);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"PucanjSB.wav:3"}));

    // With no bombs left a bomb press does nothing at all.
    iBombs = 0;
    iReload = 180;
    PlayTick();
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(iReload, 180);
}

TEST_F(Crosshair, BombsOnTheAttractScreenFireButCostNothing) {
    Fly(0, 0, 100, 200, 5);
    iReload = 180;
    Press(4);  // the middle button is a bomb button too
    Tick();
    EXPECT_EQ(iBombs, 3);
    EXPECT_EQ(Balloons[0].Bursting, platform::True);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"PucanjSB.wav:3"}));
    Press(2);
    Release(4);
    EXPECT_EQ(bFireRight, 0) << "releasing either bomb button clears the flag";
}

TEST_F(Crosshair, ALeftPressOnTheAttractScreenStartsTheRoundNextTick) {
    MoveTo(-100, -100);
    iReload = 180;
    iBlink = 0;
    Press(1);
    Tick();
    EXPECT_EQ(bPlaying, platform::True);
    EXPECT_EQ(iBlink, 1) << "the starting tick is still an attract frame";
    const auto sounds = Sounds();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0], "Start.wav:2");
    EXPECT_EQ(platform::SoundRequests().size(), 0u);
    EXPECT_EQ(sounds[1], "PucanjB.wav:3");
    // Not on the game-over screen.
    bPlaying = 0;
    bGameOver = platform::True;
    Tick();
    EXPECT_EQ(bPlaying, 0);
}

TEST_F(Crosshair, ThePointerSitsAtTheCrosshairsCentreRoundedHalfToEven) {
    MoveTo(11.5f, 12.5f);
    EXPECT_EQ(iCrossX, 0);
    EXPECT_EQ(iCrossY, 2);
    MoveTo(0, 0);
    EXPECT_EQ(iCrossX, -11);
}

}  // namespace

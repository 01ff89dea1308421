// Aiming, shots, smart bombs, and what a new game leaves as it was.
#include <gtest/gtest.h>

#include <tuple>

#include "game_fixture.h"

namespace {

using namespace game::basBALLOON;
using platform::True;
using platform::vbLeftButton;
using platform::vbRightButton;

class Crosshair : public testing_support::GameTest {};

TEST_F(Crosshair, CentredOnThePointerAShotHitsTheLowestSlotFromXPlus9ToXPlus70) {
    // The pointer sits at the crosshair's centre, rounded half to even.
    MoveTo(11.5f, 12.5f);
    EXPECT_EQ(iCrossX, 0);
    EXPECT_EQ(iCrossY, 2);
    MoveTo(0, 0);
    EXPECT_EQ(iCrossX, -11);
    const std::tuple<float, float, bool> aims[] = {
        {109, 240, true}, {108, 240, false}, {170, 240, true}, {171, 240, false},
        {130, 209, true}, {130, 208, false}, {130, 270, true}, {130, 271, false}};
    for (auto [px, py, hits] : aims) {
        bPlaying = True;
        Fly(0, 1, 100, 205, 5);  // at (100, 200) once the tick has moved it
        Shoot(px, py);
        EXPECT_EQ(Balloons[0].Bursting == True, hits) << px << ", " << py;
        Balloons[0] = {};
    }
    // Of overlapping balloons only the lowest slot bursts and scores.
    lScore = 0;
    Fly(3, 0, 100, 205, 5);
    Fly(7, 2, 110, 215, 5);
    Shoot(140, 240);
    EXPECT_EQ(Balloons[3].Bursting, True);
    EXPECT_EQ(Balloons[7].Active, True);
    EXPECT_EQ(lScore, 100);
}

TEST_F(Crosshair, ASmartBombBurstsEveryFlyingBalloonWithItsBonusAndCostsABombOnlyInPlay) {
    iBombs = 3;
    lScore = 1000;
    iBonus = 30;
    for (game::Integer playing : {0, -1}) {  // the attract screen, then a round
        Fly(2, 0, 100, 205);
        Fly(9, 3, 400, 105);
        Balloons[5] = {0, 1, 5, 1, 300, 300, True};  // already bursting: not scored again
        iReload = 180;
        bPlaying = playing;
        lSpawnClock = iSpawned = 0;
        Click(vbRightButton);
        EXPECT_EQ(iBombs, playing ? 2 : 3);
        for (size_t slot : {2, 9}) EXPECT_EQ(Balloons[slot].Bursting, True) << slot;
        EXPECT_EQ(Sounds(), std::vector<std::string>{"PucanjSB.wav:3"}) << "its cue alone";
    }
    EXPECT_EQ(lScore, 1000 + 2 * (100 + 30 + 400 + 30));
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
    Release(vbRightButton);
    fallback_ = 0.9999f;
    Tick(400);
    EXPECT_EQ(lSpawnClock, 13500);
    EXPECT_EQ(iReload, 180);
    Click(vbLeftButton);
    ASSERT_EQ(bPlaying, True);
    Tick();
    EXPECT_EQ(Balloons[0].Active, True);
}

}  // namespace

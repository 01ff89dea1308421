// Launching, flight, escapes, bursts and difficulty, with the random draws fixed.
#include <gtest/gtest.h>

#include "game_fixture.h"
#include "platform/text.h"

namespace {

using namespace game::basBALLOON;
using game::MainFormProbe;
using testing_support::GameTest;

class Balloons_ : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        MoveTo(-100, -100);
        bPlaying = platform::True;
        lSpawnClock = 0;
    }
    int Flying() const {
        int n = 0;
        for (const auto& b : Balloons) n += b.Active == platform::True;
        return n;
    }
    // Ticks until the first launch, with every threshold draw the same.
    int TicksToLaunch(float draw) {
        random_.fallback = draw;
        lSpawnClock = 0;
        for (auto& b : Balloons) b = {};
        for (int tick = 1; tick <= 200; ++tick) {
            Tick();
            if (Flying() > 0) return tick;
        }
        return -1;
    }
};

TEST_F(Balloons_, LaunchTimingStaysWithinItsBounds) {
    // Delay 300: the draw r is 0 to 49 extra ticks' worth; never before tick 7, always by 56.
    EXPECT_EQ(TicksToLaunch(0.0f), 7);
    EXPECT_EQ(TicksToLaunch(0.9999f), 56);
    iSpawnDelay = 20;  // r is 0 to 2
    EXPECT_EQ(TicksToLaunch(0.0f), 1);
    EXPECT_EQ(TicksToLaunch(0.5f), 2);
    EXPECT_EQ(TicksToLaunch(0.9999f), 3);
}

TEST_F(Balloons_, ALaunchTakesTheLowestFreeSlotInItsDrawOrder) {
    Balloons[0] = {0, 0, 0, 3, 0, 100, platform::True};  // bursting
    lSpawnClock = 13500;
    // threshold draw, then kind, speed part and x.
    random_.Queue({0.0f, 0.75f, 0.99f, 0.5f});
    random_.fallback = 0.99f;
    Tick();
    const game::BALLOON& b = Balloons[1];
    EXPECT_EQ(b.Active, platform::True);
    EXPECT_EQ(b.Kind, 3);
    EXPECT_EQ(b.Speed, 8 + 2 + 4);
    EXPECT_EQ(b.X, 290);
    EXPECT_EQ(b.Y, 482 - 14) << "moved in its launch tick";
    EXPECT_EQ(b.Frame, 2);
    EXPECT_EQ(iSpawned, 1);
    EXPECT_EQ(lSpawnClock, 0);
}

TEST_F(Balloons_, AFullTableSkipsTheLaunchButStillRestartsTheClock) {
    for (int i = 0; i < 15; ++i) Fly(i, 0, 10, 400, 0);
    lSpawnClock = 13500;
    random_.fallback = 0.0f;
    Tick();
    EXPECT_EQ(iSpawned, 0);
    EXPECT_EQ(lSpawnClock, 0);
}

TEST_F(Balloons_, ADifficultyStepComesBeforeThatTicksLaunch) {
    iSpawned = 20;
    lSpawnClock = 13500;
    random_.fallback = 0.0f;
    Tick();
    EXPECT_EQ(iSpawnDelay, 280);
    EXPECT_EQ(iBonus, 10);
    EXPECT_EQ(iSpawned, 1) << "the step reset the count, then this tick launched";
    // The delay bottoms out at 20 while the bonus keeps growing.
    iSpawnDelay = 20;
    for (int step = 0; step < 3; ++step) {
        iSpawned = 20;
        MainFormProbe::DifficultyStep();
    }
    EXPECT_EQ(iSpawnDelay, 20);
    EXPECT_EQ(iBonus, 40);
}

// The pose the frame shows for a flying balloon: the sheet column whose opaque pixels all lie in
// the frame as they are in the sheet.
int ShownColumn(const game::BALLOON& b, const platform::Surface& frame) {
    const platform::Surface& sheet = *game::frmMAIN.pic_Balloons.hDC();
    const platform::Surface& mask = *game::frmMAIN.pic_BalloonsM.hDC();
    for (int column = 1; column <= 5; ++column) {
        bool shown = true;
        for (int y = 0; y < 60 && shown; ++y)
            for (int x = 0; x < 60 && shown; ++x) {
                const int sx = 61 * (column - 1) + 1 + x;
                if (mask.Pixel(sx, 1 + y) == 0)
                    shown = frame.Pixel(b.X + x, b.Y + y) == sheet.Pixel(sx, 61 * b.Kind + 1 + y);
            }
        if (shown) return column;
    }
    return 0;
}

TEST_F(Balloons_, AFlyingBalloonSwingsThroughItsPosesFromTheLaunchTick) {
    random_.fallback = 0.99f;
    const game::BALLOON& b = Fly(0, 2, 200, 300, 1);  // as a launch leaves it
    std::string columns;
    for (int tick = 0; tick < 11; ++tick) {
        lSpawnClock = 0;
        Tick();
        columns += static_cast<char>('0' + ShownColumn(b, Work()));
    }
    EXPECT_EQ(columns, "23454321123");
}

TEST_F(Balloons_, EscapesCountAndTheThirdEndsTheRound) {
    random_.fallback = 0.99f;
    for (game::Integer speed : {14, 3}) {
        Fly(0, 0, 100, 482, speed);
        iMissed = 0;
        int ticks = 0;
        while (Balloons[0].Active) {
            lSpawnClock = 0;
            Tick();
            ++ticks;
        }
        EXPECT_EQ(ticks, speed == 14 ? 39 : 181);
        EXPECT_EQ(iMissed, 1);
    }
    EXPECT_EQ(Sounds().back(), "Promasaj.wav:3");

    // One pixel row still in the frame is flying and drawn; one more rise and it is gone.
    random_.fallback = 0.99f;
    iMissed = 0;
    const game::BALLOON& last = Fly(0, 0, 100, -58, 1);
    lSpawnClock = 0;
    Tick();
    EXPECT_EQ(last.Y + 60, 1);
    EXPECT_EQ(last.Active, platform::True);
    const platform::Surface& sky = *game::frmMAIN.pic_BG.hDC();
    int drawn = 0;
    for (int x = 100; x < 160; ++x) drawn += Work().Pixel(x, 0) != sky.Pixel(x, 0);
    EXPECT_GT(drawn, 0) << "the string's end shows on the top line";
    lSpawnClock = 0;
    Tick();
    EXPECT_EQ(last.Active, 0);
    EXPECT_EQ(iMissed, 1);
    Sounds();

    // The third escape: miss sound replaced by the ending, later slots left as they were.
    iMissed = 2;
    Fly(0, 0, 100, -59, 1);
    Balloons[1] = {platform::True, 1, 4, 1, 200, 300, 0};
    lSpawnClock = 0;
    Tick();
    EXPECT_EQ(bPlaying, 0);
    EXPECT_EQ(bGameOver, platform::True);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"Promasaj.wav:3", "Kraj.wav:3"}));
    EXPECT_EQ(Balloons[1].Y, 300);
    EXPECT_EQ(Balloons[1].Frame, 1);
    // The score line of that last tick still says two; from the next one the game-over screen
    // draws none, so no score line ever says three.
    platform::Surface two = sky;
    platform::DrawText(two, 535, 6, " 2 \\ 3", 17.5f, 0xFFFF00);
    for (const platform::Surface* expected : std::vector<const platform::Surface*>{&two, &sky}) {
        for (int y = 0; y < 40; ++y)
            for (int x = 500; x < 640; ++x) ASSERT_EQ(Work().Pixel(x, y), expected->Pixel(x, y));
        Tick();
    }
}

TEST_F(Balloons_, ABurstSinksForTenTicksAndFreesItsSlotFromTheNextOne) {
    random_.fallback = 0.99f;
    game::BALLOON& b = Balloons[0];
    b = {0, 2, 5, 0, 200, 200, platform::True};
    const platform::Surface& sky = *game::frmMAIN.pic_BG.hDC();
    std::string pictures;
    for (int tick = 1; tick <= 10; ++tick) {
        lSpawnClock = 0;
        Tick();
        EXPECT_EQ(b.Y, 200 + 5 * tick);
        // The burst cell's middle shows burst pixels on ticks 1 to 7 only.
        int changed = 0;
        for (int y = b.Y - 20; y < b.Y + 80; ++y)
            for (int x = 180; x < 280; ++x)
                if (y >= b.Y + 8 && y < b.Y + 24 && x >= 212 && x < 262)
                    continue;  // points
                else
                    changed += Work().Pixel(x, y) != sky.Pixel(x, y);
        pictures += changed > 0 ? '#' : '.';
        EXPECT_EQ(b.Bursting, tick < 10 ? platform::True : 0);
    }
    EXPECT_EQ(pictures.substr(0, 7), "#######");
    EXPECT_EQ(pictures.substr(7), "...");
    EXPECT_EQ(b.Frame, 0);
}

TEST_F(Balloons_, BurstPointsAndTheScoreStopAtTheirLimitsInsteadOfOverflowing) {
    iBonus = 32360;  // 400 + 32360 + 10 would no longer be an Integer
    iSpawned = 20;
    MainFormProbe::DifficultyStep();
    EXPECT_EQ(iBonus, 32360);
    iBonus = 32350;
    iSpawned = 20;
    MainFormProbe::DifficultyStep();
    EXPECT_EQ(iBonus, 32360);
    // The dearest burst still draws its points figure.
    Balloons[0] = {0, 3, 5, 0, 200, 200, platform::True};
    lSpawnClock = 0;
    random_.fallback = 0.99f;
    EXPECT_NO_THROW(Tick());

    lScore = 2147483000;
    Fly(0, 3, 100, 100, 0);
    Fly(1, 3, 300, 100, 0);
    bFireRight = platform::True;
    iReload = 180;
    Tick();
    EXPECT_EQ(lScore, 2147483647);
}

}  // namespace

// Launching, flight, escapes, bursts and difficulty, with the random draws fixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "game_fixture.h"
#include "platform/null/null_host.h"
#include "platform/text.h"

namespace {

using namespace game::basBALLOON;
using platform::True;

using Balloons_ = testing_support::GameTest;

TEST_F(Balloons_, LaunchesKeepTheirTimingAndDifficultyBoundsAndAFullTableOnlyRestartsTheClock) {
    // Ticks of a round until the first launch into an empty table, with every draw the same. Delay
    // 300: the draw adds 0 to 49 ticks' worth, never before tick 7, always by 56; delay 20: 0 to 2.
    const std::tuple<game::Integer, float, int> launches[] = {
        {300, 0.0f, 7}, {300, 0.9999f, 56}, {20, 0.0f, 1}, {20, 0.5f, 2}, {20, 0.9999f, 3}};
    for (auto [delay, draw, ticks] : launches) {
        iSpawnDelay = delay, fallback_ = draw;
        bPlaying = True;
        lSpawnClock = 0;
        Balloons = {};
        int tick = 1;
        for (Tick(); !Balloons[0].Active && tick < 200; ++tick) Tick();
        EXPECT_EQ(tick, ticks) << "delay " << delay << ", draw " << draw;
    }
    for (int i = 0; i < 15; ++i) Fly(i, 0, 10, 400, 0);
    const game::Integer spawned = iSpawned;
    lSpawnClock = 13500;
    Tick();
    EXPECT_EQ(iSpawned, spawned);
    EXPECT_EQ(lSpawnClock, 0);
    // The difficulty stops at its caps.
    auto step = [this] { iSpawned = 20, PlayTick(); };
    step(), step(), step();
    EXPECT_EQ(iSpawnDelay, 20);
    EXPECT_EQ(iBonus, 30);
    // 400 + iBonus must stay an Integer: the bonus stops at 32360, and the dearest burst draws.
    iBonus = 32350;
    step(), step();
    EXPECT_EQ(iBonus, 32360);
    Balloons = {};
    Balloons[0] = {0, 3, 5, 0, 200, 200, True};
    EXPECT_NO_THROW(PlayTick());
    // The score stops at the largest Long.
    lScore = 2147483000;
    Fly(0, 3, 100, 100, 0);
    Fly(1, 3, 300, 100, 0);
    bFireRight = True;
    iReload = 180;
    PlayTick();
    EXPECT_EQ(lScore, 2147483647);
}

// The column of the balloon sheet whose opaque pixels all show in the frame where the balloon is.
int ShownColumn(const game::BALLOON& b, const platform::Surface& frame) {
    const platform::Surface& sheet = *game::frmMAIN.pic_Balloons.hDC();
    const platform::Surface& mask = *game::frmMAIN.pic_BalloonsM.hDC();
    for (int column = 1; column <= 5; ++column) {
        bool shown = true;
        for (int y = 0; y < 60; ++y)
            for (int x = 0, sx = 61 * (column - 1) + 1; x < 60; ++x, ++sx)
                shown &= mask.Pixel(sx, 1 + y) != 0 ||
                         frame.Pixel(b.X + x, b.Y + y) == sheet.Pixel(sx, 61 * b.Kind + 1 + y);
        if (shown) return column;
    }
    return 0;
}

TEST_F(Balloons_, AFlyingBalloonSwingsThroughItsPosesAndEscapesOnceItsLastRowLeaves) {
    const game::BALLOON& b = Fly(0, 2, 200, 300, 1);  // as a launch leaves it
    std::string columns;
    for (int tick = 0; tick < 11; ++tick) {
        PlayTick();
        columns += static_cast<char>('0' + ShownColumn(b, Work()));
    }
    EXPECT_EQ(columns, "23454321123");
    // One pixel row still in the frame is flying and drawn; one more rise and it is gone.
    Fly(0, 0, 100, -58, 1);
    PlayTick();
    EXPECT_EQ(b.Y + 60, 1);
    EXPECT_EQ(b.Active, True);
    EXPECT_FALSE(std::equal(Work().Row(0) + 100, Work().Row(0) + 160, Sky().Row(0) + 100))
        << "the string's end shows on the top line";
    PlayTick();
    EXPECT_EQ(b.Active, 0);
    EXPECT_EQ(iMissed, 1);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"Promasaj.wav:3"}));
    // The third ends the round: that tick's score line still says two, and the game-over screen
    // draws none.
    iMissed = 2;
    Fly(0, 0, 100, -59, 1);
    PlayTick();
    ASSERT_EQ(bGameOver, True);
    platform::Surface two = Sky();
    platform::PrintText(two, 535, 6, " 2 \\ 3", 17.5f, 0xFFFF00);
    const platform::Surface* frames[] = {&two, &Sky()};
    for (const platform::Surface* expected : frames) {
        for (int y = 0; y < 40; ++y)
            for (int x = 500; x < 640; ++x) ASSERT_EQ(Work().Pixel(x, y), expected->Pixel(x, y));
        Tick();
    }
}

// A round moves a few balloons, the crosshair and the heads-up texts: the window is sent those
// places, not the frame, and still shows exactly the frame.
TEST_F(Balloons_, ATickOfARoundSendsTheWindowOnlyWhatMovedAndItShowsTheWholeFrame) {
    for (int i = 0; i < 6; ++i) Fly(i, i % 4, 20 + 100 * i, 250 + 30 * i);
    MoveTo(300, 200);
    Press(platform::vbLeftButton);
    PlayTick();
    game::frmMAIN.Present();  // the first present sends the whole frame
    const auto& window = *platform::null::Window(game::frmMAIN.WindowId());
    const platform::Surface& frame = *game::frmMAIN.hDC();
    for (int tick = 0; tick < 40; ++tick) {
        MoveTo(300 + 4 * tick, 200);
        PlayTick();
        game::frmMAIN.Present();
        ASSERT_LT(window.sentPixels, 640 * 480 / 6) << "tick " << tick;
        for (int y = 0; y < 480; ++y)
            ASSERT_TRUE(std::equal(frame.Row(y), frame.Row(y) + 640, window.picture.Row(y)))
                << "tick " << tick << ", row " << y;
    }
    Release(platform::vbLeftButton);
}

}  // namespace

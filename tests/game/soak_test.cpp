// Long runs with a seeded random player: the game state stays inside its ranges on every tick,
// nothing raises an error, and the cursor's display count comes back level whatever the input.
#include <gtest/gtest.h>

#include <cstdint>

#include "game_fixture.h"
#include "seeded_random.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;
using game::Integer;

// From low to high on a multiple of step.
bool In(int64_t v, int64_t low, int64_t high, int64_t step) {
    return v >= low && v <= high && v % step == 0;
}
bool Flags(int64_t a, int64_t b) {  // each 0 or True, never both True
    return In(a, -1, 0, 1) && In(b, -1, 0, 1) && !(a && b);
}

// Every rule of the game state; the first one broken stops the test.
void CheckTheState() {
    ASSERT_PRED2(Flags, bPlaying, bGameOver);
    ASSERT_TRUE(In(bFireLeft, -1, 0, 1) && In(bFireRight, -1, 0, 1));
    ASSERT_PRED4(In, iMissed, 0, 3, 1);
    ASSERT_PRED4(In, iBombs, 0, 3, 1);
    ASSERT_GE(lScore, 0);
    ASSERT_PRED4(In, iSpawnDelay, 20, 300, 20);
    ASSERT_PRED4(In, iBonus, 0, INT16_MAX, 10);
    ASSERT_PRED4(In, iSpawned, 0, 20, 1);
    ASSERT_PRED4(In, lSpawnClock, 0, 300 * 45, 45);
    ASSERT_PRED4(In, iReload, 0, 4 * 45, 45);
    ASSERT_EQ(iCrossFrame, 1);
    ASSERT_PRED4(In, iBlink, 0, bGameOver ? 40 : 19, 1);
    // The load hides the cursor once; a pause shows it until the resume.
    ASSERT_EQ(testing_support::CursorCount(), frmMAIN.tmr_Main.Enabled() ? -1 : 0);
    for (const game::BALLOON& b : Balloons) {
        ASSERT_PRED2(Flags, b.Active, b.Bursting) << "slot " << &b - Balloons.data();
        if (!b.Active && !b.Bursting) continue;
        ASSERT_PRED4(In, b.Kind, 0, 3, 1);
        ASSERT_PRED4(In, b.Frame, b.Active ? 1 : 0, 9, 1);  // a burst starts at 0
        if (!b.Active) continue;
        ASSERT_PRED4(In, b.Speed, b.Kind + 3, b.Kind + 11, 1);
        ASSERT_PRED4(In, b.X, 0, 579, 1);
        ASSERT_PRED4(In, b.Y, -59, 482, 1);
    }
}

class Soak : public testing_support::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        SetRandomSource([this] { return game_.NextFloat(); });
    }
    testing_support::SeededRandom game_{20240601};  // the game's random source
    testing_support::SeededRandom player_{77};      // the player's hands

    // A random player: the pointer anywhere, on the window or off it, now and then onto a balloon;
    // any button; storms of P, stray keys, Esc; a new start after every quit.
    void Play(int ticks, int minRounds, int minPauses, int minQuits) {
        int rounds = 0, pauses = 0, quits = 0;
        for (int tick = 0; tick < ticks; ++tick) {
            if (player_.Chance(300))
                MoveTo(player_.Below(1600) - 480 + 0.5f * player_.Below(2),
                       player_.Below(1200) - 360);
            for (const game::BALLOON& b : Balloons)
                if (b.Active && player_.Chance(100)) MoveTo(b.X + 40, b.Y - b.Speed + 40);
            if (player_.Chance(60)) {
                const Integer button = static_cast<Integer>(1 << player_.Below(5));
                player_.Chance(500) ? Press(button) : Release(button);
            }
            // A held P repeats: an odd storm pauses or resumes, an even one leaves it as it was.
            const bool wasPaused = !frmMAIN.tmr_Main.Enabled();
            const int storm = player_.Chance(wasPaused ? 100 : 1) ? player_.Below(7) + 1 : 0;
            for (int n = 0; n < storm; ++n) Key(player_.Chance(500) ? 'p' : 'P');
            pauses += storm > 0 && !wasPaused;
            const auto key = static_cast<Integer>(player_.Below(256));
            if (player_.Chance(5)) Key(key);
            const bool paused = !frmMAIN.tmr_Main.Enabled();  // key releases do not change it
            if (player_.Chance(5)) KeyUp(key);
            if (player_.Chance(1)) KeyUp(27);
            if (!frmMAIN.Loaded()) {
                // Closing the window shows the cursor once more; a pause had already shown it.
                EXPECT_EQ(testing_support::CursorCount(), paused ? 1 : 0) << "tick " << tick;
                EXPECT_FALSE(Desktop().confined.has_value() || assets::frmRES.Loaded());
                ++quits;
                SetUp();
                continue;
            }
            // The unpacker's 1 ms timer closes it if a cue reloaded it; a pause stops the frame's.
            if (assets::frmRES.Loaded()) assets::frmRES.Timer1_Timer();
            const game::Long score = lScore;
            const bool wasPlaying = bPlaying != 0, resetting = bGameOver != 0;
            if (frmMAIN.tmr_Main.Enabled()) Tick();
            // The score only grows, until the game-over screen hands back a fresh attract screen.
            EXPECT_TRUE(lScore >= score || (resetting && !bGameOver && !bPlaying && lScore == 0))
                << "the score fell from " << score << " to " << lScore;
            rounds += bPlaying && !wasPlaying;
            CheckTheState();
            ASSERT_FALSE(HasFailure()) << "at tick " << tick;
        }
        EXPECT_GE(rounds, minRounds);
        EXPECT_GE(pauses, minPauses);
        EXPECT_GE(quits, minQuits);
    }
};

TEST_F(Soak, AMillionTicksKeepTheGameStateInItsRanges) {
    Play(1'000'000, 1000, 500, 200);
}

TEST_F(Soak, TwentyThousandTicksWithQuitsAndRestarts) {
    Play(20'000, 20, 10, 5);
}

}  // namespace

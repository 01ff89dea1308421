// Long runs with a seeded random player: the game state stays inside its ranges on every tick,
// nothing raises an error, and the cursor's display count comes back level whatever the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "game_fixture.h"
#include "platform/cursor.h"
#include "seeded_random.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;
using game::Integer;
using game::Long;
using testing_support::GameTest;
using testing_support::SeededRandom;

constexpr Integer kButtons[] = {1, 2, 4, 8, 16};

const char* Screen() {
    return bPlaying ? "playing" : bGameOver ? "gameover" : "attract";
}

// The first broken rule of the game state, or "" when every rule holds.
std::string Violation() {
    std::ostringstream why;
    auto boolean = [](Integer v) { return v == 0 || v == platform::True; };
    if (!boolean(bPlaying) || !boolean(bGameOver) || (bPlaying && bGameOver))
        why << "screen flags " << bPlaying << "/" << bGameOver;
    else if (!boolean(bFireLeft) || !boolean(bFireRight))
        why << "button flags " << bFireLeft << "/" << bFireRight;
    else if (iMissed < 0 || iMissed > 3)
        why << "iMissed " << iMissed;
    else if (iBombs < 0 || iBombs > 3)
        why << "iBombs " << iBombs;
    else if (lScore < 0)
        why << "lScore " << lScore;
    else if (iSpawnDelay < 20 || iSpawnDelay > 300 || iSpawnDelay % 20 != 0)
        why << "iSpawnDelay " << iSpawnDelay;
    else if (iBonus < 0 || iBonus % 10 != 0)
        why << "iBonus " << iBonus;
    else if (iSpawned < 0 || iSpawned > 20)
        why << "iSpawned " << iSpawned;
    else if (lSpawnClock < 0 || lSpawnClock > 300 * 45 || lSpawnClock % 45 != 0)
        why << "lSpawnClock " << lSpawnClock;
    else if (iReloadTicks != 4 || iReload < 0 || iReload > 4 * 45 || iReload % 45 != 0)
        why << "iReload " << iReload << " of " << iReloadTicks;
    else if (iCrossFrame != 1)
        why << "iCrossFrame " << iCrossFrame;
    else if (iBlink < 0 || iBlink > 40)
        why << "iBlink " << iBlink;
    else if (!bGameOver && iBlink > 19)
        why << "iBlink " << iBlink;
    if (!why.str().empty()) return why.str() + " on the " + Screen() + " screen";

    for (size_t i = 0; i < Balloons.size(); ++i) {
        const game::BALLOON& b = Balloons[i];
        if (!boolean(b.Active) || !boolean(b.Bursting) || (b.Active && b.Bursting))
            why << "flags " << b.Active << "/" << b.Bursting;
        else if ((b.Active || b.Bursting) && (b.Kind < 0 || b.Kind > 3))
            why << "Kind " << b.Kind;
        else if (b.Active && (b.Speed < b.Kind + 3 || b.Speed > b.Kind + 11))
            why << "Speed " << b.Speed << " of kind " << b.Kind;
        else if (b.Active && (b.Frame < 1 || b.Frame > 9))
            why << "flying Frame " << b.Frame;
        else if (b.Active && (b.X < 0 || b.X > 579 || b.Y + 60 <= 0 || b.Y > 482))
            why << "flying at " << b.X << "," << b.Y;
        else if (b.Bursting && (b.Frame < 0 || b.Frame > 9))
            why << "bursting Frame " << b.Frame;
        if (!why.str().empty()) return "slot " + std::to_string(i) + ": " + why.str();
    }
    // The load hides the cursor once; a pause shows it until the resume.
    const int32_t cursor = frmMAIN.tmr_Main.Enabled() ? -1 : 0;
    if (platform::CursorDisplayCount() != cursor)
        return "cursor count " + std::to_string(platform::CursorDisplayCount());
    return "";
}

class Soak : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        SetRandomSource([this] { return draws_.NextFloat(); });
    }

    // One period of the frame timer: the unpacker's 1 ms timer closes it if a cue reloaded it,
    // then the frame tick runs unless the game is paused. Returns whether a tick ran.
    bool Period() {
        if (assets::frmRES.Loaded()) assets::frmRES.Timer1_Timer();
        if (!frmMAIN.tmr_Main.Enabled()) return false;
        const Long score = lScore;
        const bool resetting = bGameOver != 0;
        Tick();
        // The score only grows, until the game-over screen hands back to a fresh attract screen.
        if (lScore < score && !(resetting && !bGameOver && !bPlaying && lScore == 0))
            failure_ =
                "the score fell from " + std::to_string(score) + " to " + std::to_string(lScore);
        return true;
    }

    void Key(Integer ascii) { frmMAIN.Form_KeyPress(ascii); }
    void KeyUp(Integer code) { frmMAIN.Form_KeyUp(code, 0); }

    // A place anywhere: mostly on the window, often off it, sometimes at a half pixel.
    void MoveAnywhere() {
        const bool on = player_.Chance(600);
        float x = static_cast<float>(on ? player_.Below(640) : player_.Below(3000) - 1000);
        float y = static_cast<float>(on ? player_.Below(480) : player_.Below(2400) - 800);
        if (player_.Chance(100)) x += 0.5f, y -= 0.5f;
        MoveTo(x, y);
    }

    // Onto a flying balloon, where this tick's climb will bring the shot box over it.
    void AimAtABalloon() {
        for (const game::BALLOON& b : Balloons) {
            if (b.Active && player_.Chance(400)) {
                MoveTo(static_cast<float>(b.X + 40), static_cast<float>(b.Y - b.Speed + 40));
                return;
            }
        }
    }

    SeededRandom draws_{20240601};  // the game's random source
    SeededRandom player_{77};       // the player's hands
    std::string failure_;
};

TEST_F(Soak, AMillionTicksKeepTheGameStateInItsRanges) {
    constexpr int kTicks = 1'000'000;
    int ticks = 0, rounds = 0, pauses = 0, topBonus = 0;
    bool expert = false;  // some rounds are played well, to reach the fastest launches
    bool wasPlaying = false;
    for (int64_t period = 0; ticks < kTicks; ++period) {
        // The hands move between two ticks.
        if (player_.Chance(300)) MoveAnywhere();
        if (expert || player_.Chance(200)) AimAtABalloon();
        if (player_.Chance(expert ? 5 : 60)) {
            const Integer button = kButtons[player_.Below(5)];
            if (player_.Chance(500))
                Press(button);
            else
                Release(button);
        }
        if (expert) Press(1);
        if (!frmMAIN.tmr_Main.Enabled()) {
            if (player_.Chance(100)) Key(player_.Chance(500) ? 'p' : 'P');  // resume
        } else if (player_.Chance(1)) {
            // A held P repeats: an odd storm leaves the game paused.
            for (int n = player_.Below(7) + 1; n > 0; --n) Key('p');
            ++pauses;
        }
        if (bPlaying && !expert && player_.Chance(1)) KeyUp(27);

        ticks += Period();
        if (bPlaying && !wasPlaying) {
            ++rounds;
            expert = player_.Chance(250);
        }
        wasPlaying = bPlaying != 0;
        topBonus = std::max<int>(topBonus, iBonus);

        const std::string broken = failure_.empty() ? Violation() : failure_;
        ASSERT_EQ(broken, "") << "at tick " << ticks << " (period " << period << ")";
    }
    // The run went where it should: many rounds, pauses, and the top difficulty reached.
    EXPECT_GT(rounds, 500);
    EXPECT_GT(pauses, 100);
    EXPECT_GE(topBonus, 14 * 10) << "iSpawnDelay reached 20";
}

TEST_F(Soak, AHundredThousandRandomEventsWithQuitsAndRestarts) {
    constexpr int kEvents = 100'000;
    int quits = 0, pausedQuits = 0, rounds = 0;
    for (int event = 0; event < kEvents; ++event) {
        const bool paused = !frmMAIN.tmr_Main.Enabled();
        const int kind = player_.Below(100);
        if (kind < 35) {
            MoveAnywhere();
        } else if (kind < 60) {
            const Integer button = kButtons[player_.Below(5)];
            player_.Chance(500) ? Press(button) : Release(button);
        } else if (kind < 80) {
            // Any character, P often, sometimes a whole auto-repeat storm of it.
            const int storm = player_.Chance(100) ? player_.Below(20) + 2 : 1;
            const Integer ascii = static_cast<Integer>(
                player_.Chance(300) ? (player_.Chance(500) ? 'p' : 'P') : player_.Below(256));
            for (int n = 0; n < storm; ++n) Key(ascii);
        } else {
            // Key releases: Esc now and then, which ends a round or quits.
            KeyUp(static_cast<Integer>(player_.Chance(5) ? 27 : player_.Below(256)));
        }

        if (!frmMAIN.Loaded()) {
            // Closing the window shows the cursor once more; a pause had already shown it.
            ASSERT_EQ(platform::CursorDisplayCount(), paused ? 1 : 0) << "event " << event;
            ASSERT_FALSE(platform::CursorClip().has_value());
            ASSERT_FALSE(assets::frmRES.Loaded());
            ++quits;
            pausedQuits += paused;
            // The next run of the program starts from nothing.
            platform::ResetCursorState();
            bPlaying = 0;
            bGameOver = 0;
            bFireRight = 0;
            lSpawnClock = 0;
            assets::frmRES.Show();
            assets::frmRES.Timer1_Timer();
            continue;
        }
        const bool wasPlaying = bPlaying != 0;
        for (int n = player_.Chance(300) ? player_.Below(3) + 1 : 0; n > 0; --n) Period();
        rounds += !wasPlaying && bPlaying;
        const std::string broken = failure_.empty() ? Violation() : failure_;
        ASSERT_EQ(broken, "") << "after event " << event;
    }
    EXPECT_GT(quits, 20);
    EXPECT_GT(pausedQuits, 2);
    EXPECT_GT(rounds, 50);
}

}  // namespace

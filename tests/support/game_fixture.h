// A game window loaded for real (assets unpacked into a private temporary directory, pictures
// loaded, offscreen window), with the random source fixed and the ticks driven by hand.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "assets/frmRES.h"
#include "game/frmMAIN.h"
#include "platform/surface.h"
#include "temp_dir.h"

namespace game {

// Reaches the game window's private procedures.
class MainFormProbe {
public:
    static void GameReset() { frmMAIN.GameReset(); }
    static void DifficultyStep() { frmMAIN.DifficultyStep(); }
    static void UpdateBalloons() { frmMAIN.UpdateBalloons(); }
    static void UpdateCrosshair() { frmMAIN.UpdateCrosshair(); }
    static void DrawAttract() { frmMAIN.DrawAttract(); }
    static void DrawGameOver() { frmMAIN.DrawGameOver(); }
    static void DrawHud() { frmMAIN.DrawHud(); }
    static void DrawPoints(Integer x, Integer y, Long points) { frmMAIN.DrawPoints(x, y, points); }
};

}  // namespace game

namespace testing_support {

// Random draws the test decides: each value in [0, 1) is used once, then `fallback` forever.
class FixedRandom {
public:
    void Queue(std::initializer_list<float> values) { values_.insert(values_.end(), values); }
    float fallback = 0.5f;
    float Next() {
        if (values_.empty()) return fallback;
        const float v = values_.front();
        values_.pop_front();
        return v;
    }

private:
    std::deque<float> values_;
};

class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // One frame tick, as the timer would run it.
    void Tick(int count = 1);
    // Puts a flying balloon into a slot.
    game::BALLOON& Fly(int slot, game::Integer kind, game::Integer x, game::Integer y,
                       game::Integer speed = 5);
    void MoveTo(float x, float y) { game::frmMAIN.Form_MouseMove(0, 0, x, y); }
    void Press(game::Integer button) { game::frmMAIN.Form_MouseDown(button, 0, 0, 0); }
    void Release(game::Integer button) { game::frmMAIN.Form_MouseUp(button, 0, 0, 0); }
    // The sound cues asked for since the last call, as "Name.wav:flags".
    std::vector<std::string> Sounds();

    platform::Surface& Work() { return *game::frmMAIN.pic_Work.hDC(); }

    TempDir temp_;
    FixedRandom random_;
};

}  // namespace testing_support

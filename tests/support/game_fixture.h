// A game window loaded for real (assets unpacked into a private temporary directory, on the
// null host) on the attract screen, the crosshair off the frame, the ticks driven by hand and every
// random draw `fallback_` (0.99: no launch within 55 ticks).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/keys.h"
#include "platform/surface.h"
#include "unpacker_fixture.h"

namespace testing_support {

class GameTest : public Unpacker {
protected:
    void SetUp() override {
        Unpacker::SetUp();
        game::basBALLOON::SetRandomSource([this] { return fallback_; });
        game::basBALLOON::bPlaying = game::basBALLOON::bGameOver = 0;
        game::basBALLOON::bFireRight = game::basBALLOON::lSpawnClock = 0;
        MoveTo(-100, -100);
        Start();
        Desktop().sounds.clear();
    }
    void TearDown() override {
        Unpacker::TearDown();
        game::basBALLOON::SetRandomSource(nullptr);
    }

    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) game::frmMAIN.tmr_Main_Timer();
    }
    // A playing tick that launches nothing.
    void PlayTick() {
        game::basBALLOON::bPlaying = platform::True;
        game::basBALLOON::lSpawnClock = 0;
        Tick();
    }
    game::BALLOON& Fly(int slot, game::Integer kind, game::Integer x, game::Integer y,
                       game::Integer speed = 5) {
        return game::basBALLOON::Balloons[static_cast<size_t>(slot)] = {
                   platform::True, kind, speed, 1, x, y, 0};
    }
    void MoveTo(float x, float y) { game::frmMAIN.Form_MouseMove(0, 0, x, y); }
    void Press(game::Integer button) { game::frmMAIN.Form_MouseDown(button, 0, 0, 0); }
    void Release(game::Integer button) { game::frmMAIN.Form_MouseUp(button, 0, 0, 0); }
    // A button held over one tick.
    void Click(game::Integer button) { Press(button), Tick(), Release(button); }
    // A left click at (x, y) over one tick, with the reload full.
    void Shoot(float x, float y) {
        MoveTo(x, y);
        game::basBALLOON::iReload = 180;
        Click(platform::vbLeftButton);
    }
    // The sound cues asked for since the last call, as "Name.wav:flags".
    std::vector<std::string> Sounds() {
        std::vector<std::string> names;
        for (const auto& sound : std::exchange(Desktop().sounds, {}))
            names.push_back(sound.path.substr(sound.path.find_last_of("/\\") + 1) + ":" +
                            std::to_string(sound.flags));
        return names;
    }
    platform::Surface& Work() { return *game::frmMAIN.pic_Work.hDC(); }
    const platform::Surface& Sky() { return *game::frmMAIN.pic_BG.hDC(); }

    float fallback_ = 0.99f;
};

}  // namespace testing_support

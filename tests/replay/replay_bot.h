// A player that never tires, for recording long rounds: it holds the left button down, and on
// every tick that will fire it moves the pointer onto the flying balloon nearest to escaping.
// After `playTicks` ticks of play it ends the round with Esc; once the game-over screen has given
// way to the attract screen it is done. Its input is recorded as a script, which replays to the
// same output.
#pragma once

#include <cstdint>
#include <vector>

#include "replay_script.h"

namespace replay {

class Bot {
public:
    explicit Bot(int64_t playTicks) : playTicks_(playTicks) {}

    // The events to send before the next tick runs, judged from the game's state now.
    std::vector<Command> Decide();
    bool Done() const { return phase_ == Phase::Done; }

private:
    enum class Phase { Start, Play, Ending, Done };
    Phase phase_ = Phase::Start;
    int64_t playTicks_;
    int64_t played_ = 0;
};

}  // namespace replay

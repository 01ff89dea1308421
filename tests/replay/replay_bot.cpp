#include "replay_bot.h"

#include <algorithm>

#include "game/frmMAIN.h"

namespace replay {

using namespace game::basBALLOON;
using Op = Command::Op;

namespace {

Command Event(Op op, int64_t value = 0, float x = 0, float y = 0) {
    Command command;
    command.op = op;
    command.value = value;
    command.x = x;
    command.y = y;
    return command;
}

// The next tick fires when its clock step fills the reload clock.
bool FiresNextTick() {
    const int interval = game::frmMAIN.tmr_Main.Interval();
    return std::min(iReload + interval, iReloadTicks * interval) >= iReloadTicks * interval;
}

}  // namespace

std::vector<Command> Bot::Decide() {
    std::vector<Command> events;
    switch (phase_) {
        case Phase::Start:
            if (bPlaying || bGameOver) return events;
            events.push_back(Event(Op::Move, 0, 320, 240));
            events.push_back(Event(Op::Down, 1));
            phase_ = Phase::Play;
            return events;

        case Phase::Play: {
            if (!bPlaying) {  // the round ended on its own
                events.push_back(Event(Op::Up, 1));
                phase_ = Phase::Ending;
                return events;
            }
            if (++played_ > playTicks_) {
                events.push_back(Event(Op::Up, 1));
                events.push_back(Event(Op::KeyUp, 27));
                phase_ = Phase::Ending;
                return events;
            }
            if (!FiresNextTick()) return events;
            // The balloons after this tick's climb; aim where the shot box (the pointer from
            // 9 to 70 pixels into the cell) lands in the middle.
            const game::BALLOON* target = nullptr;
            for (const game::BALLOON& b : Balloons) {
                if (!b.Active || b.Bursting) continue;
                const int y = b.Y - b.Speed;
                if (y + 40 < 1 || y + 40 > 479) continue;  // the pointer cannot get there
                if (!target || y < target->Y - target->Speed) target = &b;
            }
            if (target) {
                events.push_back(Event(Op::Move, 0, static_cast<float>(target->X + 40),
                                       static_cast<float>(target->Y - target->Speed + 40)));
            }
            return events;
        }

        case Phase::Ending:
            if (!bPlaying && !bGameOver) phase_ = Phase::Done;
            return events;

        case Phase::Done:
            return events;
    }
    return events;
}

}  // namespace replay

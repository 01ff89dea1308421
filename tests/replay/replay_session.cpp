#include "replay_session.h"

#include <SDL.h>

#include <cstdio>
#include <ostream>
#include <stdexcept>

#include "assets/frmRES.h"
#include "game/frmMAIN.h"
#include "platform/cursor.h"
#include "platform/form.h"
#include "platform/sound.h"
#include "platform/text.h"

namespace replay {

using namespace game::basBALLOON;
using game::frmMAIN;

namespace {

const char* ScreenName() {
    if (bPlaying && bGameOver) return "BOTH";  // never meant to happen: it shows up in a diff
    if (bPlaying) return "playing";
    if (bGameOver) return "gameover";
    return "attract";
}

std::string Slots() {
    std::string text;
    for (const game::BALLOON& b : Balloons) {
        const char kind = static_cast<char>('0' + (b.Kind >= 0 && b.Kind <= 9 ? b.Kind : 9));
        if (b.Active && b.Bursting)
            text += std::string("X") + kind;
        else if (b.Active)
            text += std::string("F") + kind;
        else if (b.Bursting)
            text += std::string("B") + kind;
        else
            text += "..";
    }
    return text;
}

// What the loop does after every event and tick: forms with a changed surface are presented.
void PresentAll() {
    const std::vector<platform::Form*> forms = platform::LoadedForms();
    for (platform::Form* form : forms) form->Present();
}

}  // namespace

uint64_t FrameHash(const uint32_t* pixels, size_t count) {
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < count; ++i) {
        hash ^= pixels[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

Session::Session(std::ostream& out, std::ostream* trace) : out_(out), trace_(trace) {
    temp_.UseAsTemp();
    platform::ResetCursorState();
    platform::ClearSoundRequests();
    SetRandomSource([this] { return random_.NextFloat(); });
    assets::frmRES.Show();
    assets::frmRES.Timer1_Timer();  // its 1 ms timer closes it before the first frame tick
    PresentAll();
    const platform::Surface& window = *frmMAIN.hDC();
    frameHash_ = FrameHash(window.Row(0), static_cast<size_t>(window.Width()) * window.Height());
    out_ << "# tick screen run score missed bombs blink delay bonus slots frame-hash sounds\n";
}

Session::~Session() {
    frmMAIN.Unload();
    assets::frmRES.Unload();
    SetRandomSource(nullptr);
    // Everything given back, so that a leak checker sees only what the game itself keeps.
    platform::ShutdownText();
    platform::ShutdownSound();
    SDL_Quit();
}

bool Session::Closed() const {
    return !frmMAIN.Loaded();
}

void Session::Apply(const Command& command) {
    if (Closed()) {
        throw std::runtime_error("line " + std::to_string(command.line) +
                                 ": the game closed at tick " + std::to_string(now_));
    }
    using Op = Command::Op;
    game::Integer code = static_cast<game::Integer>(command.value);
    switch (command.op) {
        case Op::Seed:
            random_.Seed(static_cast<uint64_t>(command.value));
            return;
        case Op::Tick:
            if (command.value < now_) {
                throw std::runtime_error("line " + std::to_string(command.line) + ": tick " +
                                         std::to_string(command.value) + " is already past");
            }
            while (now_ < command.value && !Closed()) RunTick();
            return;
        case Op::Move:
            frmMAIN.Form_MouseMove(0, 0, command.x, command.y);
            break;
        case Op::Down:
            frmMAIN.Form_MouseDown(code, 0, 0, 0);
            break;
        case Op::Up:
            frmMAIN.Form_MouseUp(code, 0, 0, 0);
            break;
        case Op::Key:
            frmMAIN.Form_KeyPress(code);
            break;
        case Op::KeyUp:
            frmMAIN.Form_KeyUp(code, 0);
            break;
    }
    PresentAll();
    if (Closed()) WriteClosed();
}

void Session::RunTick() {
    ++now_;
    // A sound cue loads the unpacker again; its 1 ms timer closes it long before the next frame.
    if (assets::frmRES.Loaded()) assets::frmRES.Timer1_Timer();
    if (frmMAIN.tmr_Main.Enabled()) frmMAIN.tmr_Main_Timer();
    platform::Surface& window = *frmMAIN.hDC();
    const bool drawn = window.changed;
    PresentAll();
    if (drawn) {
        frameHash_ =
            FrameHash(window.Row(0), static_cast<size_t>(window.Width()) * window.Height());
    }
    WriteLine();
    if (trace_) {
        *trace_ << now_ << ":";
        for (size_t i = 0; i < Balloons.size(); ++i) {
            const game::BALLOON& b = Balloons[i];
            if (b.Active || b.Bursting)
                *trace_ << " [" << i << " k" << b.Kind << " v" << b.Speed << " " << b.X << ","
                        << b.Y << (b.Bursting ? " burst" : "") << "]";
        }
        *trace_ << " reload=" << iReload << " clock=" << lSpawnClock << "\n";
    }
}

void Session::WriteLine() {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(frameHash_));
    out_ << now_ << ' ' << ScreenName() << ' ' << (frmMAIN.tmr_Main.Enabled() ? "run" : "hold")
         << ' ' << lScore << ' ' << iMissed << ' ' << iBombs << ' ' << iBlink << ' ' << iSpawnDelay
         << ' ' << iBonus << ' ' << Slots() << ' ' << hash;
    const std::string sounds = TakeSounds();
    if (!sounds.empty()) out_ << ' ' << sounds;
    out_ << '\n';
}

void Session::WriteClosed() {
    if (closedWritten_) return;
    closedWritten_ = true;
    out_ << now_ << " closed cursor=" << platform::CursorDisplayCount()
         << " clip=" << (platform::CursorClip() ? "on" : "off")
         << " forms=" << platform::LoadedForms().size();
    const std::string sounds = TakeSounds();
    if (!sounds.empty()) out_ << ' ' << sounds;
    out_ << '\n';
}

void Session::Finish() {
    out_ << "# end tick=" << now_ << " screen=" << (Closed() ? "closed" : ScreenName())
         << " cursor=" << platform::CursorDisplayCount()
         << " clip=" << (platform::CursorClip() ? "on" : "off") << '\n';
}

std::string Session::TakeSounds() {
    std::string text;
    for (const platform::SoundRequest& request : platform::SoundRequests()) {
        std::string name = request.path.substr(request.path.find_last_of('/') + 1);
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0)
            name.resize(name.size() - 4);
        text += (text.empty() ? "" : ",") + name + ":" + std::to_string(request.flags);
    }
    platform::ClearSoundRequests();
    return text;
}

}  // namespace replay

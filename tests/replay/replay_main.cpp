// puffpop_replay: plays a recorded input script into the real game and writes one line per frame
// tick; README.md describes the scripts and the output.
//
//   puffpop_replay SCRIPT OUTPUT [EXPECTED]
//
// Writes OUTPUT; given EXPECTED, compares with it, shows the first lines that differ and fails
// when any does.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "assets/frmRES.h"
#include "cursor_count.h"
#include "game/frmMAIN.h"
#include "platform/form.h"
#include "platform/input.h"
#include "platform/null/null_host.h"
#include "platform/text.h"
#include "seeded_random.h"
#include "temp_dir.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;

const char* ScreenName() {
    if (bPlaying && bGameOver) return "BOTH";  // never meant to happen: it shows up in a diff
    return bPlaying ? "playing" : bGameOver ? "gameover" : "attract";
}

// Two characters per slot: ".." free, "F" flying, "B" bursting, then the balloon's kind.
std::string Slots() {
    std::string text;
    for (const game::BALLOON& b : Balloons) {
        text += !b.Active && !b.Bursting ? '.' : b.Active ? (b.Bursting ? 'X' : 'F') : 'B';
        text +=
            !b.Active && !b.Bursting ? '.' : static_cast<char>('0' + std::clamp<int>(b.Kind, 0, 9));
    }
    return text;
}

// FNV-1a 64 of the window's pixels, a whole 0x00RRGGBB pixel per step.
// Of what the game window shows, once it has shown something.
std::string FrameHash() {
    const platform::null::WindowRecord* record = platform::null::Window(frmMAIN.WindowId());
    const platform::Surface& window =
        record && record->presents > 0 ? record->picture : *frmMAIN.hDC();
    uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < window.Height(); ++y)
        for (int x = 0; x < window.Width(); ++x)
            hash = (hash ^ window.Row(y)[x]) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::optional<platform::InputEvent::Kind> InputKind(const std::string& op) {
    using Kind = platform::InputEvent::Kind;
    if (op == "move") return Kind::MouseMove;
    if (op == "down") return Kind::MouseDown;
    if (op == "up") return Kind::MouseUp;
    if (op == "key") return Kind::Character;
    if (op == "keyup") return Kind::KeyUp;
    return std::nullopt;
}

void PresentAll() {
    for (platform::Form* form : platform::LoadedForms()) form->Present();
}

// One run of the real game, fed from a script instead of the mouse, keyboard and clock. Time is
// counted in frame ticks; a paused game gets no tick, as the stopped frame timer gives it none.
class Session {
public:
    explicit Session(std::ostream& out) : out_(out) {
        // Started as the program starts it: the unpacker unpacks into a fresh private folder.
        platform::null::Host().tempFolder = temp_.Path();
        SetRandomSource([this] { return draw_ >= 0 ? draw_ : random_.NextFloat(); });
        assets::frmRES.Show();
        assets::frmRES.Timer1_Timer();  // its 1 ms timer closes it before the first frame tick
        PresentAll();
        hash_ = FrameHash();
        out_ << "# tick screen run score missed bombs blink delay bonus slots frame-hash sounds\n";
    }
    ~Session() {
        frmMAIN.Unload();
        assets::frmRES.Unload();
        SetRandomSource(nullptr);
        // Everything given back, so that a leak checker sees only what the game itself keeps.
        platform::ShutdownText();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // One script line: input events and seeds act at once; "tick N" runs the ticks up to N.
    void Apply(const std::string& op, float a, float b) {
        if (op == "seed") {
            random_.Seed(static_cast<uint64_t>(a));
            draw_ = -1;
        } else if (op == "draw") {
            draw_ = a;
        } else if (op == "tick" && a >= now_) {
            while (now_ < a && !Closed()) Tick();
        } else if (const auto kind = InputKind(op)) {
            // Through the same routing as the player's own input, on either host.
            using Kind = platform::InputEvent::Kind;
            platform::InputEvent event{.kind = *kind, .window = frmMAIN.WindowId()};
            if (*kind == Kind::MouseMove)
                event.x = static_cast<int>(a), event.y = static_cast<int>(b);
            else
                event.button = event.key = static_cast<game::Integer>(a);
            platform::DispatchInput(event);
        } else {
            throw std::runtime_error("cannot play '" + op + "' at tick " + std::to_string(now_));
        }
        PresentAll();
    }

    void Finish() {
        out_ << "# end tick=" << now_ << " screen=" << (Closed() ? "closed" : ScreenName())
             << " cursor=" << testing_support::CursorCount()
             << " clip=" << (platform::null::Host().confined ? "on" : "off") << '\n';
    }

    static bool Closed() { return !frmMAIN.Loaded(); }

private:
    void Tick() {
        ++now_;
        // A sound cue loads the unpacker again; its 1 ms timer closes it before the next frame.
        if (assets::frmRES.Loaded()) assets::frmRES.Timer1_Timer();
        if (frmMAIN.tmr_Main.Enabled()) frmMAIN.tmr_Main_Timer();
        const bool drawn = frmMAIN.hDC()->changed;
        PresentAll();
        if (drawn) hash_ = FrameHash();
        out_ << now_ << ' ' << ScreenName() << ' ' << (frmMAIN.tmr_Main.Enabled() ? "run" : "hold")
             << ' ' << lScore << ' ' << iMissed << ' ' << iBombs << ' ' << iBlink << ' '
             << iSpawnDelay << ' ' << iBonus << ' ' << Slots() << ' ' << hash_;
        // Then the sound cues asked for since the line before, as "Name:flags".
        char separator = ' ';
        for (const platform::null::Sound& sound :
             std::exchange(platform::null::Host().sounds, {})) {
            std::string name = sound.path.substr(sound.path.find_last_of("/\\") + 1);
            out_ << separator << name.substr(0, name.rfind(".wav")) << ':' << sound.flags;
            separator = ',';
        }
        out_ << '\n';
    }

    testing_support::TempDir temp_;  // first in, last out: the game is gone before it is removed
    testing_support::SeededRandom random_;
    float draw_ = -1;  // a fixed draw while not negative
    std::ostream& out_;
    int64_t now_ = 0;
    std::string hash_;
};

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Every expected line must come, in order, among the written lines that start with the same word
// (the tick, or "# end"); "*" in an expected line stands for any one field, and its other "#"
// lines are comments. A file that lists every line pins every tick; one written by hand may list
// only the ticks where something happens.
bool Matches(const std::string& actual, const std::string& expectedPath) {
    std::ifstream expectedFile(expectedPath);
    if (!expectedFile) throw std::runtime_error("cannot read " + expectedPath);
    std::istringstream actualText(actual);
    std::vector<std::string> got;
    for (std::string line; std::getline(actualText, line);) got.push_back(line);
    size_t at = 0;
    int differing = 0;
    for (std::string line; std::getline(expectedFile, line) && differing < 5;) {
        const auto want = Words(line);
        if (want.empty() || (want[0] == "#" && line.rfind("# end ", 0) != 0)) continue;
        while (at < got.size() && Words(got[at])[0] != want[0]) ++at;
        const auto have = at < got.size() ? Words(got[at]) : std::vector<std::string>{};
        if (have.size() == want.size() &&
            std::equal(want.begin(), want.end(), have.begin(),
                       [](const auto& w, const auto& h) { return w == "*" || w == h; })) {
            ++at;
            continue;
        }
        ++differing;
        std::cerr << "expected: " << line
                  << "\nactual:   " << (at < got.size() ? got[at++] : "(none)") << "\n";
    }
    return differing == 0;
}

}  // namespace

int main(int argc, char** argv) try {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: puffpop_replay SCRIPT OUTPUT [EXPECTED]\n";
        return 2;
    }
    const std::string script = argv[1], out = argv[2], expect = argc > 3 ? argv[3] : "";
    std::ifstream in(script);
    if (!in) throw std::runtime_error("cannot read " + script);
    std::ostringstream output;
    try {
        Session session(output);
        int number = 0;
        for (std::string text; std::getline(in, text);) {
            std::istringstream words(text.substr(0, text.find('#')));
            std::string op, first, rest;
            float a = 0, b = 0;
            ++number;
            if (!(words >> op)) continue;
            bool ok = static_cast<bool>(words >> first);
            if (ok && op == "key" && first.size() == 1 && !isdigit(first[0]))
                a = static_cast<unsigned char>(first[0]);  // "key p": a character as itself
            else
                ok = ok && std::istringstream(first) >> a;
            if (op == "move") ok = ok && words >> b;
            const char* why = Session::Closed() ? " after the game closed" : "";
            if (!ok || words >> rest || *why)
                throw std::runtime_error(script + ":" + std::to_string(number) + ": cannot play '" +
                                         text + "'" + why);
            session.Apply(op, a, b);
        }
        session.Finish();
    } catch (...) {
        std::cout << output.str();  // what ran before the error, to see how the game got there
        throw;
    }
    if (!(std::ofstream(out) << output.str())) throw std::runtime_error("cannot write " + out);
    if (!expect.empty() && !Matches(output.str(), expect)) {
        std::cerr << "replay of " << script << " differs from " << expect << "\n";
        return 1;
    }
    return 0;
} catch (const std::exception& error) {
    std::cerr << "puffpop_replay: " << error.what() << "\n";
    return 1;
}

// puffpop_replay: plays a recorded input script into the real game and writes one line per frame
// tick; README.md describes the scripts and the output.
//
//   puffpop_replay SCRIPT [--out FILE] [--expect FILE] [--trace]
//
// Writes to FILE or stdout; with --expect compares with FILE instead, shows the first lines that
// differ and fails when any does. --trace writes every balloon's place after each tick to stderr,
// for writing scripts by hand.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "assets/frmRES.h"
#include "game/frmMAIN.h"
#include "platform/cursor.h"
#include "platform/error.h"
#include "platform/form.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "seeded_random.h"
#include "temp_dir.h"

namespace {

using namespace game::basBALLOON;
using game::frmMAIN;

struct Command {
    std::string op;      // seed, tick, move, down, up, key or keyup
    int64_t value = 0;   // seed, tick, button or key code
    float x = 0, y = 0;  // pointer position of a move
    std::string where;   // "script:line", for error messages
};

// Reads a whole script before the game starts, so that a typo fails at once.
std::vector<Command> ParseScript(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<Command> script;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        Command command;
        command.where = path + ":" + std::to_string(number);
        auto fail = [&](const std::string& why) { throw std::runtime_error(command.where + why); };
        text.erase(std::min(text.find('#'), text.size()));
        std::istringstream words(text);
        if (!(words >> command.op)) continue;
        bool ok = true;
        if (command.op == "move") {
            ok = static_cast<bool>(words >> command.x >> command.y);
        } else if (command.op == "key") {
            // One character stands for itself, so that "key p" reads as it is typed.
            std::string key;
            ok = static_cast<bool>(words >> key);
            if (ok && key.size() == 1)
                command.value = static_cast<unsigned char>(key[0]);
            else if (ok)
                ok = static_cast<bool>(std::istringstream(key) >> command.value);
        } else if (command.op == "seed" || command.op == "tick" || command.op == "down" ||
                   command.op == "up" || command.op == "keyup") {
            ok = static_cast<bool>(words >> command.value);
        } else {
            fail(": unknown command '" + command.op + "'");
        }
        std::string rest;
        if (!ok || (words >> rest)) fail(": cannot read '" + text + "'");
        if (command.op == "tick" && command.value < 0) fail(": a tick number cannot be negative");
        script.push_back(command);
    }
    return script;
}

const char* ScreenName() {
    if (bPlaying && bGameOver) return "BOTH";  // never meant to happen: it shows up in a diff
    if (bPlaying) return "playing";
    if (bGameOver) return "gameover";
    return "attract";
}

// Two characters per slot: ".." free, "F" flying, "B" bursting, then the balloon's kind.
std::string Slots() {
    std::string text;
    for (const game::BALLOON& b : Balloons) {
        if (!b.Active && !b.Bursting) {
            text += "..";
            continue;
        }
        text += b.Active ? (b.Bursting ? 'X' : 'F') : 'B';
        text += static_cast<char>('0' + (b.Kind >= 0 && b.Kind <= 9 ? b.Kind : 9));
    }
    return text;
}

std::string Cursor() {
    return "cursor=" + std::to_string(platform::CursorDisplayCount()) +
           " clip=" + (platform::CursorClip() ? "on" : "off");
}

// FNV-1a 64 of the window's pixels, a whole 0x00RRGGBB pixel per step rather than a byte per
// step: a quarter of the work for a frame a tick.
uint64_t FrameHash() {
    const platform::Surface& window = *frmMAIN.hDC();
    const uint32_t* pixels = window.Row(0);
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < static_cast<size_t>(window.Width()) * window.Height(); ++i) {
        hash ^= pixels[i];
        hash *= 1099511628211ull;
    }
    return hash;
}

// What the loop does after every event and tick: forms with a changed surface are presented.
void PresentAll() {
    for (platform::Form* form : platform::LoadedForms()) form->Present();
}

// One run of the real game, fed from a script instead of the mouse, keyboard and clock. Time is
// counted in frame ticks; a paused game gets no tick, as the stopped frame timer would give it
// none.
class Session {
public:
    Session(std::ostream& out, std::ostream* trace) : out_(out), trace_(trace) {
        // Started as the program starts it: the unpacker unpacks into a fresh private TMPDIR.
        temp_.UseAsTemp();
        platform::ResetCursorState();
        platform::ClearSoundRequests();
        SetRandomSource([this] { return random_.NextFloat(); });
        assets::frmRES.Show();
        assets::frmRES.Timer1_Timer();  // its 1 ms timer closes it before the first frame tick
        PresentAll();
        frameHash_ = FrameHash();
        out_ << "# tick screen run score missed bombs blink delay bonus slots frame-hash sounds\n";
    }

    ~Session() {
        frmMAIN.Unload();
        assets::frmRES.Unload();
        SetRandomSource(nullptr);
        // Everything given back, so that a leak checker sees only what the game itself keeps.
        platform::ShutdownText();
        platform::ShutdownSound();
        SDL_Quit();
    }

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Input events and seeds act at once; a tick command runs the ticks up to its number.
    void Apply(const Command& command) {
        if (Closed())
            throw std::runtime_error(command.where + ": the game closed at tick " +
                                     std::to_string(now_));
        game::Integer code = static_cast<game::Integer>(command.value);
        if (command.op == "seed") {
            random_.Seed(static_cast<uint64_t>(command.value));
            return;
        }
        if (command.op == "tick") {
            if (command.value < now_)
                throw std::runtime_error(command.where + ": tick " + std::to_string(command.value) +
                                         " is already past");
            while (now_ < command.value && !Closed()) RunTick();
            return;
        }
        if (command.op == "move")
            frmMAIN.Form_MouseMove(0, 0, command.x, command.y);
        else if (command.op == "down")
            frmMAIN.Form_MouseDown(code, 0, 0, 0);
        else if (command.op == "up")
            frmMAIN.Form_MouseUp(code, 0, 0, 0);
        else if (command.op == "key")
            frmMAIN.Form_KeyPress(code);
        else
            frmMAIN.Form_KeyUp(code, 0);
        PresentAll();
        if (Closed()) {
            out_ << now_ << " closed " << Cursor() << " forms=" << platform::LoadedForms().size();
            EndLine();
        }
    }

    void Finish() {
        out_ << "# end tick=" << now_ << " screen=" << (Closed() ? "closed" : ScreenName()) << ' '
             << Cursor() << '\n';
    }

private:
    static bool Closed() { return !frmMAIN.Loaded(); }

    void RunTick() {
        ++now_;
        // A sound cue loads the unpacker again; its 1 ms timer closes it long before the next
        // frame.
        if (assets::frmRES.Loaded()) assets::frmRES.Timer1_Timer();
        if (frmMAIN.tmr_Main.Enabled()) frmMAIN.tmr_Main_Timer();
        const bool drawn = frmMAIN.hDC()->changed;
        PresentAll();
        if (drawn) frameHash_ = FrameHash();

        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(frameHash_));
        out_ << now_ << ' ' << ScreenName() << ' ' << (frmMAIN.tmr_Main.Enabled() ? "run" : "hold")
             << ' ' << lScore << ' ' << iMissed << ' ' << iBombs << ' ' << iBlink << ' '
             << iSpawnDelay << ' ' << iBonus << ' ' << Slots() << ' ' << hash;
        EndLine();
        if (!trace_) return;
        *trace_ << now_ << ":";
        for (size_t i = 0; i < Balloons.size(); ++i) {
            const game::BALLOON& b = Balloons[i];
            if (b.Active || b.Bursting)
                *trace_ << " [" << i << " k" << b.Kind << " v" << b.Speed << " " << b.X << ","
                        << b.Y << (b.Bursting ? " burst" : "") << "]";
        }
        *trace_ << " reload=" << iReload << " clock=" << lSpawnClock << "\n";
    }

    // Ends a line with the sound cues asked for since the line before, as "Name:flags".
    void EndLine() {
        char separator = ' ';
        for (const platform::SoundRequest& request : platform::SoundRequests()) {
            std::string name = request.path.substr(request.path.find_last_of('/') + 1);
            if (name.size() > 4 && name.ends_with(".wav")) name.resize(name.size() - 4);
            out_ << separator << name << ':' << request.flags;
            separator = ',';
        }
        platform::ClearSoundRequests();
        out_ << '\n';
    }

    testing_support::TempDir temp_;  // first in, last out: the game is gone before it is removed
    testing_support::SeededRandom random_;
    std::ostream& out_;
    std::ostream* trace_;
    int64_t now_ = 0;
    uint64_t frameHash_ = 0;
};

std::vector<std::string> Lines(std::istream& in) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Shows the first few differing lines; true when the texts are equal.
bool Matches(const std::string& actual, const std::string& expectedPath) {
    std::ifstream expectedFile(expectedPath);
    if (!expectedFile) {
        std::cerr << "cannot read " << expectedPath << "\n";
        return false;
    }
    std::istringstream actualText(actual);
    const std::vector<std::string> want = Lines(expectedFile);
    const std::vector<std::string> got = Lines(actualText);
    int differing = 0;
    for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        if (i < want.size() && i < got.size() && want[i] == got[i]) continue;
        if (++differing <= 5) {
            std::cerr << "line " << i + 1
                      << ":\n  expected: " << (i < want.size() ? want[i] : "(no line)")
                      << "\n  actual:   " << (i < got.size() ? got[i] : "(no line)") << "\n";
        }
    }
    if (differing == 0) return true;
    std::cerr << differing << " of " << want.size() << " expected lines differ (" << got.size()
              << " lines written)\n";
    return false;
}

struct Options {
    std::string script, out, expect;
    bool trace = false;
};

[[noreturn]] void Usage() {
    std::cerr << "usage: puffpop_replay SCRIPT [--out FILE] [--expect FILE] [--trace]\n";
    std::exit(2);
}

Options ParseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* value = arg == "--out"      ? &options.out
                             : arg == "--expect" ? &options.expect
                                                 : nullptr;
        if (value && i + 1 < argc)
            *value = argv[++i];
        else if (arg == "--trace")
            options.trace = true;
        else if (value || arg[0] == '-' || !options.script.empty())
            Usage();
        else
            options.script = arg;
    }
    if (options.script.empty()) Usage();
    return options;
}

int Run(const Options& options) {
    const std::vector<Command> script = ParseScript(options.script);
    std::ostringstream output;
    try {
        Session session(output, options.trace ? &std::cerr : nullptr);
        for (const Command& command : script) session.Apply(command);
        session.Finish();
    } catch (...) {
        std::cout << output.str();  // what ran before the error, to see how the game got there
        throw;
    }
    if (!options.out.empty()) {
        std::ofstream out(options.out);
        out << output.str();
        if (!out) throw std::runtime_error("cannot write " + options.out);
    } else if (options.expect.empty()) {
        std::cout << output.str();
    }
    if (!options.expect.empty() && !Matches(output.str(), options.expect)) {
        std::cerr << "replay of " << options.script << " differs from " << options.expect << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseArguments(argc, argv);
    // The same screen, sound and driver conditions on every machine and in every build. The
    // frame hash is taken from the game's own surface; presenting through the software renderer
    // keeps the present path in play without a GL rasteriser's threads.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "none", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    try {
        return Run(options);
    } catch (const platform::RuntimeError& error) {
        std::cerr << "puffpop_replay: " << platform::ErrorReport(error) << "\n";
    } catch (const std::exception& error) {
        std::cerr << "puffpop_replay: " << error.what() << "\n";
    }
    return 2;
}

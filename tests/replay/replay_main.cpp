// puffpop_replay: plays recorded input into the real game and writes one line per frame tick.
//
//   puffpop_replay SCRIPT [--out FILE] [--expect FILE] [--trace]
//       replays SCRIPT; writes to FILE or stdout; with --expect compares with FILE instead,
//       shows the first lines that differ and fails when any does.
//   puffpop_replay --bot PLAY_TICKS [--seed S] --record SCRIPT [--out FILE] [--trace]
//       lets the bot play one round of PLAY_TICKS ticks and saves its input as SCRIPT.
//
// --trace writes every balloon's place after each tick to stderr, for writing scripts by hand.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/error.h"
#include "replay_bot.h"
#include "replay_script.h"
#include "replay_session.h"

namespace {

using replay::Command;

struct Options {
    std::string script;
    std::string out;
    std::string expect;
    std::optional<int64_t> botTicks;
    uint64_t seed = 1;
    bool trace = false;
};

[[noreturn]] void Usage(const std::string& why) {
    std::cerr << "puffpop_replay: " << why << "\n"
              << "usage: puffpop_replay SCRIPT [--out FILE] [--expect FILE] [--trace]\n"
              << "       puffpop_replay --bot PLAY_TICKS [--seed S] --record SCRIPT [--out FILE]"
                 " [--trace]\n";
    std::exit(2);
}

Options ParseArguments(int argc, char** argv) {
    Options options;
    std::string record;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Usage(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--out")
            options.out = value();
        else if (arg == "--expect")
            options.expect = value();
        else if (arg == "--record")
            record = value();
        else if (arg == "--bot")
            options.botTicks = std::stoll(value());
        else if (arg == "--seed")
            options.seed = std::stoull(value());
        else if (arg == "--trace")
            options.trace = true;
        else if (!arg.empty() && arg[0] == '-')
            Usage("unknown option " + arg);
        else if (options.script.empty())
            options.script = arg;
        else
            Usage("one script at a time");
    }
    if (options.botTicks) {
        if (record.empty() || !options.script.empty()) Usage("--bot records into --record FILE");
        options.script = record;
    } else if (options.script.empty()) {
        Usage("no script");
    }
    return options;
}

// The same screen, sound and driver conditions on every machine and in every build.
void FixEnvironment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "none", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    // The frame hash is taken from the game's own surface; presenting through the software
    // renderer keeps the present path in play without a GL rasteriser's threads.
    setenv("SDL_RENDER_DRIVER", "software", 1);
}

void Replay(const std::vector<Command>& script, std::ostream& out, std::ostream* trace) {
    replay::Session session(out, trace);
    for (const Command& command : script) session.Apply(command);
    session.Finish();
}

// Plays the bot and writes its input as a script; returns that script.
std::vector<Command> RecordBot(const Options& options, std::ostream& out, std::ostream* trace) {
    std::vector<Command> script;
    auto record = [&](Command command) {
        command.line = static_cast<int>(script.size()) + 1;
        script.push_back(command);
    };
    replay::Session session(out, trace);
    Command seed;
    seed.op = Command::Op::Seed;
    seed.value = static_cast<int64_t>(options.seed);
    record(seed);
    session.Apply(seed);

    replay::Bot bot(*options.botTicks);
    // Long enough for any round the bot can play, short enough to stop a bot that never wins.
    const int64_t limit = *options.botTicks + 1000;
    while (!bot.Done() && !session.Closed() && session.Now() < limit) {
        const std::vector<Command> events = bot.Decide();
        if (!events.empty() && session.Now() > 0) {
            Command tick;
            tick.op = Command::Op::Tick;
            tick.value = session.Now();
            if (script.back().op != Command::Op::Tick || script.back().value != tick.value)
                record(tick);
        }
        for (const Command& event : events) {
            record(event);
            session.Apply(event);
        }
        Command tick;
        tick.op = Command::Op::Tick;
        tick.value = session.Now() + 1;
        session.Apply(tick);
    }
    Command last;
    last.op = Command::Op::Tick;
    last.value = session.Now();
    record(last);
    session.Finish();
    return script;
}

void WriteScript(const std::vector<Command>& script, const Options& options) {
    std::ofstream file(options.script);
    if (!file) throw std::runtime_error("cannot write " + options.script);
    file << "# Recorded with: puffpop_replay --bot " << *options.botTicks << " --seed "
         << options.seed << " --record <this file>\n"
         << "# The bot holds the left button, aims at the balloon nearest to escaping on every\n"
         << "# tick that fires, and ends the round with Esc.\n";
    for (const Command& command : script) file << replay::FormatCommand(command) << '\n';
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Shows the first few differing lines; true when the texts are equal.
bool Compare(const std::string& actual, const std::string& expectedPath) {
    std::ifstream file(expectedPath);
    if (!file) {
        std::cerr << "cannot read " << expectedPath << "\n";
        return false;
    }
    std::stringstream expectedText;
    expectedText << file.rdbuf();
    const std::vector<std::string> want = Lines(expectedText.str());
    const std::vector<std::string> got = Lines(actual);
    constexpr int kShown = 5;
    int differing = 0;
    for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        const std::string* w = i < want.size() ? &want[i] : nullptr;
        const std::string* g = i < got.size() ? &got[i] : nullptr;
        if (w && g && *w == *g) continue;
        if (++differing <= kShown) {
            std::cerr << "line " << i + 1 << ":\n  expected: " << (w ? *w : "(no line)")
                      << "\n  actual:   " << (g ? *g : "(no line)") << "\n";
        }
    }
    if (differing == 0) return true;
    std::cerr << differing << " of " << want.size() << " expected lines differ (" << got.size()
              << " lines written)\n";
    return false;
}

int Run(const Options& options) {
    std::ostream* trace = options.trace ? &std::cerr : nullptr;
    std::ostringstream output;
    try {
        if (options.botTicks) {
            WriteScript(RecordBot(options, output, trace), options);
        } else {
            std::ifstream file(options.script);
            if (!file) throw std::runtime_error("cannot read " + options.script);
            Replay(replay::ParseScript(file, options.script), output, trace);
        }
    } catch (...) {
        // What ran before the error, to see how the game got there.
        std::cout << output.str();
        throw;
    }
    if (!options.out.empty()) {
        std::ofstream out(options.out);
        out << output.str();
        if (!out) throw std::runtime_error("cannot write " + options.out);
    } else if (options.expect.empty()) {
        std::cout << output.str();
    }
    if (!options.expect.empty() && !Compare(output.str(), options.expect)) {
        std::cerr << "replay of " << options.script << " differs from " << options.expect << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseArguments(argc, argv);
    FixEnvironment();
    try {
        return Run(options);
    } catch (const platform::RuntimeError& error) {
        std::cerr << "puffpop_replay: " << platform::ErrorReport(error) << "\n";
    } catch (const std::exception& error) {
        std::cerr << "puffpop_replay: " << error.what() << "\n";
    }
    return 2;
}

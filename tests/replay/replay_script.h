// Replay scripts: recorded input for the game, one event per line.
//
//   # a comment            blank lines and everything after '#' are ignored
//   seed S                 the random source restarts from seed S
//   tick N                 runs the frame ticks up to and including tick N
//   move X Y               the pointer moves to (X, Y) in the window's client area
//   down B / up B          mouse button B (1 left, 2 right, 4 middle, ...) pressed / released
//   key C                  a typed character: one character as itself, or a decimal code
//   keyup K                a key released, by key code (27 is Esc)
//
// Events between two tick lines happen between those two ticks, in the order written.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace replay {

struct Command {
    enum class Op { Seed, Tick, Move, Down, Up, Key, KeyUp };
    Op op = Op::Tick;
    int64_t value = 0;  // seed, tick, button or key code
    float x = 0;        // pointer position of a move
    float y = 0;
    int line = 0;  // where it stood in its script, for error messages
};

// Reads a whole script; a line it cannot read throws std::runtime_error naming the line.
std::vector<Command> ParseScript(std::istream& in, const std::string& name);

// The script line that reads back as this command.
std::string FormatCommand(const Command& command);

}  // namespace replay

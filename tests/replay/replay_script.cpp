#include "replay_script.h"

#include <charconv>
#include <istream>
#include <sstream>
#include <stdexcept>

namespace replay {

namespace {

[[noreturn]] void Fail(const std::string& name, int line, const std::string& why) {
    throw std::runtime_error(name + ":" + std::to_string(line) + ": " + why);
}

// Shortest plain decimal that reads back as the same float, so recorded moves replay exactly.
std::string FloatText(float value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

}  // namespace

std::vector<Command> ParseScript(std::istream& in, const std::string& name) {
    std::vector<Command> commands;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::string word;
        if (!(words >> word)) continue;

        Command command;
        command.line = number;
        bool ok = true;
        if (word == "seed" || word == "tick" || word == "down" || word == "up" || word == "keyup") {
            command.op = word == "seed"   ? Command::Op::Seed
                         : word == "tick" ? Command::Op::Tick
                         : word == "down" ? Command::Op::Down
                         : word == "up"   ? Command::Op::Up
                                          : Command::Op::KeyUp;
            ok = static_cast<bool>(words >> command.value);
        } else if (word == "move") {
            command.op = Command::Op::Move;
            ok = static_cast<bool>(words >> command.x >> command.y);
        } else if (word == "key") {
            command.op = Command::Op::Key;
            std::string key;
            ok = static_cast<bool>(words >> key);
            if (ok && key.size() == 1)
                command.value = static_cast<unsigned char>(key[0]);
            else if (ok)
                ok = static_cast<bool>(std::istringstream(key) >> command.value);
        } else {
            Fail(name, number, "unknown command '" + word + "'");
        }
        std::string rest;
        if (!ok || (words >> rest)) Fail(name, number, "cannot read '" + text + "'");
        if (command.op == Command::Op::Tick && command.value < 0)
            Fail(name, number, "a tick number cannot be negative");
        commands.push_back(command);
    }
    return commands;
}

std::string FormatCommand(const Command& command) {
    const std::string value = std::to_string(command.value);
    switch (command.op) {
        case Command::Op::Seed:
            return "seed " + value;
        case Command::Op::Tick:
            return "tick " + value;
        case Command::Op::Move:
            return "move " + FloatText(command.x) + " " + FloatText(command.y);
        case Command::Op::Down:
            return "down " + value;
        case Command::Op::Up:
            return "up " + value;
        case Command::Op::Key:
            // Printable characters as themselves, so that "key p" reads as it is typed.
            if (command.value > 32 && command.value < 127 && command.value != '#' &&
                (command.value < '0' || command.value > '9'))
                return "key " + std::string(1, static_cast<char>(command.value));
            // A lone digit would read back as that character, so codes 0 to 9 get a leading 0.
            return "key " + std::string(command.value >= 0 && command.value <= 9 ? "0" : "") +
                   value;
        case Command::Op::KeyUp:
            return "keyup " + value;
    }
    return {};
}

}  // namespace replay

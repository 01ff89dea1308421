// The options a desktop user expects: the way to play, help and version.
#pragma once

#include <iostream>

namespace startup {

enum class Mode { Ask, Windowed, FullScreen };

struct Command {
    Mode mode = Mode::Ask;
    int exitStatus = -1;  // 0 or more: the command line was answered (or refused); end with it
};

// Reads the command line. --help prints the usage and --version the version texts to `out`
// (status 0, or 1 when they cannot be written); anything else unknown prints the usage to `err`
// (status 2).
Command ReadCommandLine(int argc, const char* const* argv, std::ostream& out = std::cout,
                        std::ostream& err = std::cerr);

}  // namespace startup

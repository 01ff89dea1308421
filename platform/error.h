// Run-time errors and the one path that ends the program on them.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// An error the game does not trap: it reaches Fatal and ends the program.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int Number() const { return number_; }

private:
    int number_;
};

// Error numbers the game can meet, with the desktop toolkit's numbering.
enum ErrorNumber : int {
    kOverflow = 6,
    kFileNotFound = 53,
    kFileAccess = 75,  // path/file access error: not writable, refused, disk full
    kResourceNotFound = 326,
    kInvalidPicture = 481,
    kNoDisplay = 5,  // no display to open a window on
};

[[noreturn]] void RaiseOverflow();

// Puts the desktop back (display mode, cursor clip, cursor shown), reports the error on stderr
// and in a window titled with the program's name (where there is a display a player can see), and
// exits with status 1 once the player has dismissed it.
[[noreturn]] void Fatal(const std::string& message);

// What Fatal reports for an error: "Run-time error 'N':\n\ndescription".
std::string ErrorReport(const RuntimeError& error);

}  // namespace platform

// Who the program is: the game tells the platform once, before anything else.
#pragma once

#include <string>

namespace platform {

struct Identity {
    std::string title = "Program";  // window titles, the error report, stderr
    std::string stem = "program";   // lower-case file stem: the lock, the private temporary folder
    std::string icon;               // the resource holding the windows' icon file, if any
};

void Identify(Identity identity);
const Identity& Program();

}  // namespace platform

// The window a fatal error is reported in. The game draws it itself, with its own font and
// controls, so it shows on any X server, with no dialog tool or server font installed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// The message's lines, each at most `width` wide as `measure` reckons it. Paragraphs break at
// spaces, a long path after a slash, and a word longer than the width anywhere.
std::vector<std::string> WrapLines(const std::string& message, int width,
                                   const std::function<int(const std::string&)>& measure);

// Shows the message in a window titled with the program's name, above the game's own windows
// (which it hides), until the player presses OK, Enter, Space or Esc or closes it. A termination
// signal still ends the program meanwhile. False when there
// is no display or window to show it in.
bool ShowErrorWindow(const std::string& message);

}  // namespace platform

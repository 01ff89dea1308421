// Tells the platform who the game is: its name on windows and reports, its files' stem, its icon.
#pragma once

namespace startup {

void IdentifyProgram();

}  // namespace startup

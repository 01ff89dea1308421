// Whether the program already runs.
#pragma once

namespace platform {

// True when another copy of the program runs for this user. A copy that died never blocks the
// next start; where the host cannot tell, the copy plays unguarded and says so on stderr.
bool PrevInstance();

}  // namespace platform

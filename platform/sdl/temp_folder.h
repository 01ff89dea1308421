// The folder every user of the machine shares, and the names of this user's own in it.
#pragma once

#include <string>

namespace platform {

// "/tmp": the one-copy lock and the fallback temporary folder live there, named by user. Tests
// move it, so that they and a game running on the same machine leave each other alone.
const std::string& SharedTempFolder();
void SetSharedTempFolder(std::string folder);

// "<shared temporary folder>/<program>-<uid>" followed by suffix: a name only this user's copies
// use.
std::string UserTempPath(const std::string& suffix);

}  // namespace platform

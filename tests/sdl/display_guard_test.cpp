// The display guardian where it has nothing to keep: the game's own executable started with the
// guardian's mark, on a display that does not exist.
#include "platform/sdl/display_guard.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>

namespace {

// The copy must become the guardian at once (a copy that ran on as the program would answer on
// its stdout), fail, and be waited for: the switch then goes ahead unguarded, no process left.
TEST(DisplayGuard, WithNoServerToRecordTheSwitchGoesAheadUnguardedLeavingNoProcess) {
    EXPECT_FALSE(platform::StartDisplayGuard(":65000"));
    platform::StopDisplayGuard();
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

}  // namespace

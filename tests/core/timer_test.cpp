// The frame timer's schedule: it keeps its cadence, and a late tick is served once, not in a
// burst of the ticks it missed.
#include <gtest/gtest.h>

#include "platform/controls.h"

namespace {

TEST(Timer, KeepsItsCadenceAndDropsMissedTicks) {
    using platform::NextDeadline;
    EXPECT_EQ(NextDeadline(1000, 45, 1000), 1045);  // on time
    EXPECT_EQ(NextDeadline(1000, 45, 1030), 1045);  // a little late: same grid
    EXPECT_EQ(NextDeadline(1000, 45, 1045), 1090);  // due again right now: not twice in a row
    EXPECT_EQ(NextDeadline(1000, 45, 1800), 1810);  // a long stall: the next slot of the grid
}

}  // namespace

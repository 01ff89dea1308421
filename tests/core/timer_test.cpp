// The frame timer's schedule: it keeps its cadence, and a late tick is served once, not in a
// burst of the ticks it missed.
#include <gtest/gtest.h>

#include <utility>

#include "platform/controls.h"
#include "platform/form.h"

namespace {

TEST(Timer, ALateTickKeepsTheTimerOnItsGridAndDropsMissedTicks) {
    platform::FormDesign design;
    design.onScreen = false;
    platform::Form form(design);
    int fired = 0;
    platform::Timer timer(form, 45, true, [&] { ++fired; });
    timer.Restart(955);  // due at 1000, then every 45 ms after
    const std::pair<int64_t, int64_t> served[] = {
        {1000, 1045},  // on time
        {1075, 1090},  // 30 ms late: the same grid, not 45 ms from now
        {1090, 1135},  // due again right now: not twice in a row
        {1820, 1855}}; // a long stall: the next slot of the grid
    for (const auto& [now, next] : served) {
        timer.Fire(now);
        EXPECT_EQ(timer.Deadline(), next) << "fired at " << now;
    }
    EXPECT_EQ(fired, 4);
}

}  // namespace

// The frame timer's schedule: it keeps its cadence, and a late tick is served once, not in a
// burst of the ticks it missed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/null/null_host.h"

TEST(Timer, ALateTickKeepsTheTimerOnItsGridAndDropsMissedTicksAndTheLoopServesItOnTime) {
    platform::FormDesign design;
    design.onScreen = false;
    platform::Form form(design);
    std::vector<int64_t> fired;
    platform::Timer timer(form, 45, true, [&] {
        fired.push_back(platform::Milliseconds());
        if (fired.size() == 7) form.Unload();
    });
    timer.Restart(955);  // due at 1000, then every 45 ms after
    // On time; 30 ms late (the same grid, not 45 ms from now); due again at once (not twice in a
    // row); after a long stall (the next slot of the grid).
    for (const auto& [now, next] :
         {std::pair{1000, 1045}, {1075, 1090}, {1090, 1135}, {1820, 1855}}) {
        timer.Fire(now);
        EXPECT_EQ(timer.Deadline(), next) << "fired at " << now;
    }
    EXPECT_EQ(fired.size(), 4u);

    // The loop, on the host's clock: each tick when it is due, until the last form goes.
    platform::null::Host().now = 2000;
    form.Load();
    platform::Run();
    EXPECT_EQ(std::vector(fired.begin() + 4, fired.end()),
              (std::vector<int64_t>{2045, 2090, 2135}));
}

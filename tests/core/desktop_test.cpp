// A fatal error: its report on stderr and its exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/error.h"

namespace {

TEST(DesktopDeathTest, AFatalErrorReportsOnStderrAndExitsWithStatusOne) {
#if GTEST_HAS_DEATH_TEST
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const platform::RuntimeError error(platform::kFileNotFound, "File not found: '/x/Nishan.bmp'");
    EXPECT_EXIT(platform::Fatal(platform::ErrorReport(error)), ::testing::ExitedWithCode(1),
                testing::AllOf(testing::HasSubstr("'53'"), testing::HasSubstr("'/x/Nishan.bmp'")));
#else
    GTEST_SKIP() << "the exit is watched from a forked child, and this target cannot fork";
#endif
}

}  // namespace

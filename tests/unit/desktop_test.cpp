// What the program carries and what it gives back: embedded files, and the desktop restored
// on the way out of a fatal error.
#include "platform/desktop.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/cursor.h"
#include "platform/display.h"
#include "platform/embedded.h"
#include "platform/error.h"

namespace {

TEST(Embedded, CarriesTheIconAndTheVersionTexts) {
    const auto icon = platform::EmbeddedBytes("Puffpop.ico");
    ASSERT_EQ(icon.size(), 6u + 16u + 744u);
    EXPECT_EQ(icon[6], 32);  // width
    EXPECT_EQ(icon[7], 32);  // height
    EXPECT_EQ(icon[8], 16);  // colours
    const auto version = platform::EmbeddedBytes("version.txt");
    const std::string text(version.begin(), version.end());
    EXPECT_NE(text.find("FileVersion=1.0.0.0"), std::string::npos);
    EXPECT_NE(text.find("ProductName=Puffpop"), std::string::npos);
    EXPECT_TRUE(platform::EmbeddedBytes("no-such-file").empty());
}

TEST(Desktop, RestoringPutsBackTheModeTheClipAndTheCursor) {
    const auto desktop = platform::DesktopSize();
    platform::DEVMODEA mode{};
    mode.dmFields = platform::DM_PELSWIDTH | platform::DM_PELSHEIGHT;
    mode.dmPelsWidth = 640;
    mode.dmPelsHeight = 480;
    platform::ChangeDisplaySettingsA(&mode, platform::CDS_FULLSCREEN);
    const platform::RECT clip{10, 10, 100, 100};
    platform::ClipCursor(&clip);
    platform::ShowCursor(platform::False);
    platform::ShowCursor(platform::False);
    ASSERT_EQ(platform::CurrentDisplaySize().width, 640);

    platform::RestoreDesktop();
    EXPECT_EQ(platform::CurrentDisplaySize().width, desktop.width);
    EXPECT_EQ(platform::CurrentDisplaySize().height, desktop.height);
    EXPECT_FALSE(platform::CursorClip().has_value());
    EXPECT_GE(platform::CursorDisplayCount(), 0);
}

TEST(DesktopDeathTest, AFatalErrorReportsOnStderrAndExitsWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const platform::RuntimeError error(platform::kFileNotFound, "File not found: '/x/Nishan.bmp'");
    EXPECT_EXIT(platform::Fatal(platform::ErrorReport(error)), ::testing::ExitedWithCode(1),
                "Puffpop: Run-time error '53':\n\nFile not found: '/x/Nishan.bmp'");
}

}  // namespace

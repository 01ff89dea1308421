// What the program gives back on the way out of a fatal error, and the window that reports it.
#include "platform/desktop.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/cursor.h"
#include "platform/display.h"
#include "platform/error.h"
#include "platform/error_window.h"

namespace {

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
                "'53'.*\n.*'/x/Nishan.bmp'");
}

TEST(ErrorWindow, WrapsAtSpacesThenAfterSlashesThenAnywhere) {
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()); };
    struct Case {
        std::string message;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Run-time error '53':\n\nshort", {"Run-time error '53':", "", "short"}},
        {"a file that is not found here", {"a file that is not", "found here"}},
        {"'/tmp/puffpop/Nishan.bmp'", {"'/tmp/puffpop/", "Nishan.bmp'"}},
        {"abcdefghijklmnopqrstuvwxyz", {"abcdefghijklmnopqrst", "uvwxyz"}},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::WrapLines(c.message, 20, width), c.lines);
}

// Enter, Esc and Space (on release) each dismiss the window; a key held from the game does not.
TEST(ErrorWindow, DismissedByEnterEscAndSpaceButNotByAHeldKey) {
    platform::InitVideo();
    const auto key = [](Uint32 type, SDL_Keycode sym, Uint8 repeat) {
        SDL_Event event{};
        event.key.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.sym = sym;
        return event;
    };
    const std::vector<std::vector<SDL_Event>> presses = {
        {key(SDL_KEYDOWN, SDLK_RETURN, 0)},
        {key(SDL_KEYDOWN, SDLK_ESCAPE, 0)},
        {key(SDL_KEYDOWN, SDLK_SPACE, 0), key(SDL_KEYUP, SDLK_SPACE, 0)},
        {key(SDL_KEYDOWN, SDLK_RETURN, 1), key(SDL_KEYDOWN, SDLK_ESCAPE, 0)},
    };
    for (const auto& events : presses) {
        for (SDL_Event event : events) SDL_PushEvent(&event);
        EXPECT_TRUE(platform::ShowErrorWindow("Run-time error '75':\n\nRefusing folder '/tmp'"));
        // Every key was read: the window stayed up until the last.
        EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP), 0);
    }
}

}  // namespace

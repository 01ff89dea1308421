// A fatal error: its report on stderr, its exit status, and the window that shows it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/app.h"
#include "platform/error.h"
#include "platform/error_window.h"

namespace {

TEST(DesktopDeathTest, AFatalErrorReportsOnStderrAndExitsWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const platform::RuntimeError error(platform::kFileNotFound, "File not found: '/x/Nishan.bmp'");
    EXPECT_EXIT(platform::Fatal(platform::ErrorReport(error)), ::testing::ExitedWithCode(1),
                "'53'.*\n.*'/x/Nishan.bmp'");
}

TEST(ErrorWindow, WrapsAtSpacesThenAfterSlashesThenAnywhere) {
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()); };
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"Run-time error '53':\n\nshort", {"Run-time error '53':", "", "short"}},
        {"a file that is not found here", {"a file that is not", "found here"}},
        {"'/tmp/puffpop/Nishan.bmp'", {"'/tmp/puffpop/", "Nishan.bmp'"}},
        {"abcdefghijklmnopqrstuvwxyz", {"abcdefghijklmnopqrst", "uvwxyz"}},
    };
    for (const auto& [message, lines] : cases)
        EXPECT_EQ(platform::WrapLines(message, 20, width), lines);
}

// Enter, Esc and Space (on release) each dismiss the window; a key held from the game does not.
TEST(ErrorWindow, DismissedByEnterEscAndSpaceButNotByAHeldKey) {
    platform::InitVideo();
    const auto key = [](Uint32 type, SDL_Keycode sym, Uint8 repeat = 0) {
        SDL_Event event{};
        event.key.type = type;
        event.key.repeat = repeat;
        event.key.keysym.sym = sym;
        return event;
    };
    const std::vector<std::vector<SDL_Event>> presses = {
        {key(SDL_KEYDOWN, SDLK_RETURN)},
        {key(SDL_KEYDOWN, SDLK_ESCAPE)},
        {key(SDL_KEYDOWN, SDLK_SPACE), key(SDL_KEYUP, SDLK_SPACE)},
        {key(SDL_KEYDOWN, SDLK_RETURN, 1), key(SDL_KEYDOWN, SDLK_ESCAPE)},
    };
    for (const auto& events : presses) {
        for (SDL_Event event : events) SDL_PushEvent(&event);
        EXPECT_TRUE(platform::ShowErrorWindow("Run-time error '75':\n\nRefusing folder '/tmp'"));
        // Every key was read: the window stayed up until the last.
        EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP), 0);
    }
}

}  // namespace

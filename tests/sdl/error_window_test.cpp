// The window a fatal error is reported in: how it wraps the message and what dismisses it.
#include "platform/sdl/error_window.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/host.h"
#include "platform/input.h"
#include "platform/keys.h"

namespace {

TEST(ErrorWindow, WrapsAtSpacesThenAfterSlashesThenAnywhereButInsideACharacter) {
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()); };
    const auto e = [](int n) {  // "é" n times, two bytes each
        std::string text;
        while (n-- > 0) text += "\xC3\xA9";
        return text;
    };
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"Run-time error '53':\n\nshort", {"Run-time error '53':", "", "short"}},
        {"a file that is not found here", {"a file that is not", "found here"}},
        {"'/tmp/puffpop/Nishan.bmp'", {"'/tmp/puffpop/", "Nishan.bmp'"}},
        {"abcdefghijklmnopqrstuvwxyz", {"abcdefghijklmnopqrst", "uvwxyz"}},
        {"a" + e(12), {"a" + e(9), e(3)}},
        {e(12), {e(10), e(2)}},
    };
    for (const auto& [message, lines] : cases)
        EXPECT_EQ(platform::WrapLines(message, 20, width), lines);
}

// Enter, Esc and Space (on release) each dismiss the window; a key held from the game does not.
TEST(ErrorWindow, DismissedByEnterEscAndSpaceButNotByAHeldKey) {
    using Kind = platform::InputEvent::Kind;
    const auto key = [](Kind kind, platform::Integer code, bool repeat = false) {
        return platform::InputEvent{.kind = kind, .key = code, .repeat = repeat};
    };
    const std::vector<std::vector<platform::InputEvent>> presses = {
        {key(Kind::KeyDown, platform::vbKeyReturn)},
        {key(Kind::KeyDown, platform::vbKeyEscape)},
        {key(Kind::KeyDown, platform::vbKeySpace), key(Kind::KeyUp, platform::vbKeySpace)},
        {key(Kind::KeyDown, platform::vbKeyReturn, true),
         key(Kind::KeyDown, platform::vbKeyEscape)},
    };
    for (const auto& events : presses) {
        for (const platform::InputEvent& event : events) platform::QueueInput(event);
        EXPECT_TRUE(platform::ShowErrorWindow("Run-time error '75':\n\nRefusing folder '/tmp'"));
        // Every key was read: the window stayed up until the last.
        platform::InputEvent left;
        EXPECT_FALSE(platform::TakeInput(left));
    }
}

}  // namespace

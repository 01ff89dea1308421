// The SDL host's input: SDL's events through the host's queue to the game's input events.
#include <SDL.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/app.h"
#include "platform/host.h"
#include "platform/keys.h"
#include "platform/sdl/sdl_host.h"

namespace platform {
namespace {

using K = InputEvent::Kind;
using Seen = std::vector<std::tuple<K, Integer, uint32_t>>;  // kind, key or button, window

Seen Push(std::initializer_list<SDL_Event> events) {
    for (SDL_Event e : events) SDL_PushEvent(&e);
    Seen seen;
    sdl::PumpInput(0);
    for (InputEvent event; TakeInput(event);)
        seen.emplace_back(event.kind, event.key | event.button, event.window);
    return seen;
}

TEST(SdlInput, EscDownIsAKeyDownOnlyItsReleaseAKeyUpAndLostFocusLetsGoOfHeldButtons) {
    InitVideo();
    Push({});
    SDL_Event down{.key = {SDL_KEYDOWN, 0, 7, SDL_PRESSED, 0, 0, 0, {{}, SDLK_ESCAPE, 0, 0}}};
    SDL_Event up = down;
    up.type = SDL_KEYUP;
    EXPECT_EQ(Push({down, up}), (Seen{{K::KeyDown, vbKeyEscape, 7},
                                      {K::Character, vbKeyEscape, 7},
                                      {K::KeyUp, vbKeyEscape, 7}}));

    // Both buttons pressed, the right one let go; then the focus goes, twice, with the left held.
    auto button = [](Uint32 type, Uint8 which) {
        return SDL_Event{.button = {type, 0, 7, 0, which, 0, 1, 0, 0, 0}};
    };
    SDL_Event lost{.window = {SDL_WINDOWEVENT, 0, 7, SDL_WINDOWEVENT_FOCUS_LOST, 0, 0, 0, 0, 0}};
    EXPECT_EQ(Push({button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT),
                    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT),
                    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT), lost, lost}),
              (Seen{{K::MouseDown, vbLeftButton, 7},
                    {K::MouseDown, vbRightButton, 7},
                    {K::MouseUp, vbRightButton, 7},
                    {K::MouseUp, vbLeftButton, 7}}));
}

}  // namespace
}  // namespace platform

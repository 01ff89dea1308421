// The SDL host's input: SDL's events through the host's queue to the game's input events.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/host.h"
#include "platform/keys.h"

namespace platform {
namespace {

using K = InputEvent::Kind;

// An event's kind, key or button, and window as one short line.
std::string Line(K kind, int code, uint32_t window) {
    return std::to_string(static_cast<int>(kind)) + ":" + std::to_string(code) + "@" +
           std::to_string(window);
}

std::vector<std::string> Drain() {
    std::vector<std::string> seen;
    InputEvent event;
    while (host::WaitInput(event, 0))
        seen.push_back(Line(event.kind, event.key | event.button, event.window));
    return seen;
}

TEST(SdlInput, EscDownIsAKeyDownOnlyItsReleaseAKeyUpAndLostFocusLetsGoOfHeldButtons) {
    InitVideo();
    Drain();
    SDL_Event e{};
    e.key.windowID = 7;
    e.key.keysym.sym = SDLK_ESCAPE;
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        e.type = type;
        SDL_PushEvent(&e);
    }
    EXPECT_EQ(Drain(), (std::vector<std::string>{Line(K::KeyDown, vbKeyEscape, 7),
                                                  Line(K::Character, vbKeyEscape, 7),
                                                  Line(K::KeyUp, vbKeyEscape, 7)}));

    // Both buttons pressed, the right one let go; then the focus goes while the left is held.
    e = {};
    e.button.windowID = 7;
    for (auto [type, button] : {std::pair{SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT},
                                {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT},
                                {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT}}) {
        e.type = type;
        e.button.button = static_cast<Uint8>(button);
        SDL_PushEvent(&e);
    }
    e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = 7;
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&e);
    SDL_PushEvent(&e);  // a second loss lets go of nothing more
    EXPECT_EQ(Drain(), (std::vector<std::string>{Line(K::MouseDown, vbLeftButton, 7),
                                                  Line(K::MouseDown, vbRightButton, 7),
                                                  Line(K::MouseUp, vbRightButton, 7),
                                                  Line(K::MouseUp, vbLeftButton, 7)}));
}

}  // namespace
}  // namespace platform

// The floor a 640x480 game at a 45 ms tick cannot go below: a bare SDL window that polls its
// events, fills a frame and presents it through the window surface on every tick, nothing else.
// Runs until closed or signalled (SIGTERM, SIGINT).
#include <SDL.h>

#include <cstdint>

int main(int argc, char** argv) {
    // Where the window goes (x y), so that it can lie clear of another program's window.
    const int x = argc > 2 ? SDL_atoi(argv[1]) : static_cast<int>(SDL_WINDOWPOS_CENTERED);
    const int y = argc > 2 ? SDL_atoi(argv[2]) : static_cast<int>(SDL_WINDOWPOS_CENTERED);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        SDL_Log("puffpop_floor: cannot open the display: %s", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("Puffpop floor", x, y, 640, 480, 0);
    if (window == nullptr) {
        SDL_Log("puffpop_floor: cannot open a window: %s", SDL_GetError());
        return 1;
    }
    constexpr Uint64 kTickMs = 45;
    Uint64 next = SDL_GetTicks64();
    for (uint32_t tick = 0;; ++tick) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (event.type == SDL_QUIT) return 0;
        SDL_Surface* frame = SDL_GetWindowSurface(window);
        if (frame == nullptr) return 1;
        // A different shade each tick, so every present carries a whole new frame.
        SDL_FillRect(frame, nullptr, SDL_MapRGB(frame->format, 40, 90, 160 + tick % 64));
        SDL_UpdateWindowSurface(window);
        next += kTickMs;
        const Uint64 now = SDL_GetTicks64();
        if (next > now) SDL_Delay(static_cast<Uint32>(next - now));
    }
}

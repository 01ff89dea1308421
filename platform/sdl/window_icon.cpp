#include "window_icon.h"

#include <SDL.h>

#include <cstdint>

#include "platform/embedded.h"
#include "platform/identity.h"

namespace platform {

namespace {

uint32_t Read32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

void SetWindowIcon(SDL_Window* window) {
    // An icon file: a 6-byte header, one 16-byte entry, then a 4-bit bitmap of twice the
    // height (colour rows, then the 1-bit transparency mask), both bottom row first.
    const auto ico = ResourceBytes("RCDATA", Program().icon);
    constexpr int kSize = 32;
    constexpr size_t kImage = 40 + 16 * 4 + kSize * kSize / 2 + kSize * 4;
    if (ico.size() < 22) return;
    const uint32_t offset = Read32(&ico[18]);
    if (offset > ico.size() || ico.size() - offset < kImage) return;
    const uint8_t* image = &ico[offset];
    const uint8_t* palette = image + 40;
    const uint8_t* colours = palette + 16 * 4;
    const uint8_t* mask = colours + kSize * kSize / 2;

    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    for (int y = 0; y < kSize; ++y) {
        const int row = kSize - 1 - y;
        auto* out =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(icon->pixels) + y * icon->pitch);
        for (int x = 0; x < kSize; ++x) {
            const uint8_t pair = colours[row * kSize / 2 + x / 2];
            const int index = (x % 2 == 0) ? pair >> 4 : pair & 15;
            const uint8_t* bgr = palette + index * 4;
            const bool clear = mask[row * 4 + x / 8] & (0x80 >> (x % 8));
            out[x] = (clear ? 0u : 0xFF000000u) | uint32_t(bgr[2]) << 16 | bgr[1] << 8 | bgr[0];
        }
    }
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

}  // namespace platform

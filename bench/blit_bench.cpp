// What a frame costs: the 640x480 background copy, one masked sprite (mask AND, then sprite OR;
// and the same through the masked sheet's runs) against SDL's own colour-keyed blit of the same
// cell, run-length encoded as SDL does best, and a score line of text.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/constants.h"
#include "platform/masked_sheet.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace {

using platform::BitBlt;
using platform::Surface;

constexpr int kFrameW = 640, kFrameH = 480;

// A sheet and its mask laid out like the game's: columns x rows of cells with 1-pixel gutters;
// each cell a balloon-like disc with a string, black outside (the mask white there).
struct Sheet {
    int cell;
    int columns;
    Surface sprite;
    Surface mask;                     // one row of cells
    std::vector<SDL_Surface*> keyed;  // SDL's version: one surface a cell, as RLE works best

    Sheet(int cell_size, int columns, int rows)
        : cell(cell_size),
          columns(columns),
          sprite(columns * (cell_size + 1) + 1, rows * (cell_size + 1) + 1),
          mask(columns * (cell_size + 1) + 1, cell_size + 2, 0xFFFFFF) {
        const int radius = cell_size * 2 / 5;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                for (int y = 0; y < cell_size; ++y)
                    for (int x = 0; x < cell_size; ++x) {
                        const int dx = x - cell_size / 2, dy = y - radius - 2;
                        const bool disc = dx * dx + dy * dy <= radius * radius;
                        const bool string = x == cell_size / 2 && y > 2 * radius + 2;
                        if (!disc && !string) continue;
                        const int px = c * (cell_size + 1) + 1 + x;
                        sprite.SetPixel(
                            px, r * (cell_size + 1) + 1 + y,
                            (0x402010u * static_cast<uint32_t>(r + 1) + 0x10u * y) | 0x800000u);
                        mask.SetPixel(px, 1 + y, 0x000000);
                    }
        // SDL's version of each cell: 32-bit XRGB, black the colour key, run-length encoded.
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                SDL_Surface* cell = SDL_CreateRGBSurfaceWithFormat(0, cell_size, cell_size, 32,
                                                                   SDL_PIXELFORMAT_XRGB8888);
                for (int y = 0; y < cell_size; ++y)
                    std::memcpy(static_cast<uint8_t*>(cell->pixels) + y * cell->pitch,
                                sprite.Row(r * (cell_size + 1) + 1 + y) + c * (cell_size + 1) + 1,
                                cell_size * sizeof(uint32_t));
                SDL_SetColorKey(cell, SDL_TRUE | SDL_RLEACCEL, SDL_MapRGB(cell->format, 0, 0, 0));
                keyed.push_back(cell);
            }
    }
    ~Sheet() {
        for (SDL_Surface* cell : keyed) SDL_FreeSurface(cell);
    }
    // The cell whose top-left pixel is at (sx, sy) in the sheet.
    SDL_Surface* Keyed(int sx, int sy) const {
        return keyed[static_cast<size_t>((sy / (cell + 1)) * columns + sx / (cell + 1))];
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;
};

Sheet& Balloons() {  // 306 x 245 and its 306 x 62 mask
    static Sheet sheet(60, 5, 4);
    return sheet;
}

Sheet& Bursts() {  // 708 x 405 and its 708 x 102 mask
    static Sheet sheet(100, 7, 4);
    return sheet;
}

Surface Sky() {
    Surface sky(kFrameW, kFrameH);
    for (int y = 0; y < kFrameH; ++y)
        for (int x = 0; x < kFrameW; ++x)
            sky.SetPixel(x, y, 0x4080C0u + static_cast<uint32_t>((x ^ y) & 0x1F));
    return sky;
}

// (a) The frame's background: a plain copy of the bytes, then the same through BitBlt.
void BM_Copy640x480_Memcpy(benchmark::State& state) {
    std::vector<uint32_t> src(kFrameW * kFrameH, 0x4080C0), dst(kFrameW * kFrameH);
    for (auto _ : state) {
        benchmark::DoNotOptimize(src.data());
        std::memcpy(dst.data(), src.data(), dst.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kFrameW * kFrameH * 4);
}
BENCHMARK(BM_Copy640x480_Memcpy);

void BM_Copy640x480_BitBlt(benchmark::State& state) {
    Surface src = Sky(), dst(kFrameW, kFrameH);
    for (auto _ : state) {
        BitBlt(&dst, 0, 0, kFrameW, kFrameH, &src, 0, 0, platform::SRCCOPY);
        benchmark::DoNotOptimize(dst.Row(0));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kFrameW * kFrameH * 4);
}
BENCHMARK(BM_Copy640x480_BitBlt);

// (b) One masked sprite, cell in column 3, row 2, drawn at an unaligned place in the frame.
void MaskedSprite(benchmark::State& state, Sheet& sheet, bool runs) {
    Surface frame = Sky();
    const int n = sheet.cell;
    const int sx = 2 * (n + 1) + 1, sy = 2 * (n + 1) + 1, mx = sx, my = 1;
    for (auto _ : state) {
        if (runs) {
            platform::MaskedBlt(&frame, 203, 151, n, n, &sheet.mask, mx, my, &sheet.sprite, sx, sy);
        } else {
            BitBlt(&frame, 203, 151, n, n, &sheet.mask, mx, my, platform::SRCAND);
            BitBlt(&frame, 203, 151, n, n, &sheet.sprite, sx, sy, platform::SRCPAINT);
        }
        benchmark::DoNotOptimize(frame.Row(0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void SdlColourKeyed(benchmark::State& state, Sheet& sheet) {
    SDL_Surface* frame =
        SDL_CreateRGBSurfaceWithFormat(0, kFrameW, kFrameH, 32, SDL_PIXELFORMAT_XRGB8888);
    const Surface sky = Sky();
    for (int y = 0; y < kFrameH; ++y)
        std::memcpy(static_cast<uint8_t*>(frame->pixels) + y * frame->pitch, sky.Row(y),
                    kFrameW * sizeof(uint32_t));
    const int n = sheet.cell;
    const int sx = 2 * (n + 1) + 1, sy = 2 * (n + 1) + 1;
    for (auto _ : state) {
        SDL_Rect to{203, 151, n, n};
        if (SDL_BlitSurface(sheet.Keyed(sx, sy), nullptr, frame, &to) != 0) {
            state.SkipWithError(SDL_GetError());
            break;
        }
        benchmark::DoNotOptimize(frame->pixels);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    SDL_FreeSurface(frame);
}

void BM_Sprite60_MaskedBitBlt(benchmark::State& state) {
    MaskedSprite(state, Balloons(), false);
}
void BM_Sprite60_MaskedSheet(benchmark::State& state) {
    MaskedSprite(state, Balloons(), true);
}
void BM_Sprite60_SdlColourKey(benchmark::State& state) {
    SdlColourKeyed(state, Balloons());
}
void BM_Sprite100_MaskedBitBlt(benchmark::State& state) {
    MaskedSprite(state, Bursts(), false);
}
void BM_Sprite100_MaskedSheet(benchmark::State& state) {
    MaskedSprite(state, Bursts(), true);
}
void BM_Sprite100_SdlColourKey(benchmark::State& state) {
    SdlColourKeyed(state, Bursts());
}
BENCHMARK(BM_Sprite60_MaskedBitBlt);
BENCHMARK(BM_Sprite60_MaskedSheet);
BENCHMARK(BM_Sprite60_SdlColourKey);
BENCHMARK(BM_Sprite100_MaskedBitBlt);
BENCHMARK(BM_Sprite100_MaskedSheet);
BENCHMARK(BM_Sprite100_SdlColourKey);

// A whole frame's drawing without text: the sky, 15 balloons, 9 bursts and the crosshair, by
// mask-then-sprite transfers, by the masked sheets, and by SDL's colour key.
template <typename Draw>
void SkyAnd25Sprites(Draw draw) {
    Sheet& balloons = Balloons();
    Sheet& bursts = Bursts();
    for (int i = 0; i < 15; ++i)
        draw(balloons, 40 * i - 20, (97 * i) % 460 - 30, 60, (i % 5) * 61 + 1, (i % 4) * 61 + 1);
    for (int i = 0; i < 9; ++i)
        draw(bursts, 70 * i - 10, (131 * i) % 400, 100, (i % 7) * 101 + 1, (i % 4) * 101 + 1);
    draw(balloons, 309, 229, 22, 1, 1);  // a crosshair-sized cell
}

void Frame(benchmark::State& state, bool runs) {
    const Surface sky = Sky();
    Surface frame(kFrameW, kFrameH);
    for (auto _ : state) {
        BitBlt(&frame, 0, 0, kFrameW, kFrameH, const_cast<Surface*>(&sky), 0, 0, platform::SRCCOPY);
        SkyAnd25Sprites([&](Sheet& sheet, int x, int y, int n, int sx, int sy) {
            if (runs)
                return platform::MaskedBlt(&frame, x, y, n, n, &sheet.mask, sx, 1, &sheet.sprite,
                                           sx, sy);
            BitBlt(&frame, x, y, n, n, &sheet.mask, sx, 1, platform::SRCAND);
            return BitBlt(&frame, x, y, n, n, &sheet.sprite, sx, sy, platform::SRCPAINT);
        });
        benchmark::DoNotOptimize(frame.Row(0));
        benchmark::ClobberMemory();
    }
}
void BM_Frame_SkyAnd25Sprites(benchmark::State& state) {
    Frame(state, false);
}
void BM_Frame_SkyAnd25Sprites_MaskedSheet(benchmark::State& state) {
    Frame(state, true);
}
BENCHMARK(BM_Frame_SkyAnd25Sprites);
BENCHMARK(BM_Frame_SkyAnd25Sprites_MaskedSheet);

void BM_Frame_SkyAnd25Sprites_SdlColourKey(benchmark::State& state) {
    const Surface sky = Sky();
    SDL_Surface* frame =
        SDL_CreateRGBSurfaceWithFormat(0, kFrameW, kFrameH, 32, SDL_PIXELFORMAT_XRGB8888);
    for (auto _ : state) {
        for (int y = 0; y < kFrameH; ++y)
            std::memcpy(static_cast<uint8_t*>(frame->pixels) + y * frame->pitch, sky.Row(y),
                        kFrameW * sizeof(uint32_t));
        SkyAnd25Sprites([&](Sheet& sheet, int x, int y, int n, int sx, int sy) {
            SDL_Rect from{0, 0, n, n}, to{x, y, n, n};
            return SDL_BlitSurface(sheet.Keyed(sx, sy), &from, frame, &to);
        });
        benchmark::DoNotOptimize(frame->pixels);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(frame);
}
BENCHMARK(BM_Frame_SkyAnd25Sprites_SdlColourKey);

// (c) The score line at 17.5 points: the same text as on the previous frame (the usual case),
// and a score that changed since (the line is rendered afresh).
void BM_Text_ScoreLine17_5(benchmark::State& state) {
    Surface frame = Sky();
    platform::PrintText(frame, 40, 6, " 12300", 17.5f, 0xFFFF00);  // font opened outside the loop
    for (auto _ : state) {
        platform::PrintText(frame, 40, 6, " 12300", 17.5f, 0xFFFF00);
        benchmark::DoNotOptimize(frame.Row(0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Text_ScoreLine17_5);

void BM_Text_ScoreLine17_5_NewScore(benchmark::State& state) {
    Surface frame = Sky();
    platform::PrintText(frame, 40, 6, " 0", 17.5f, 0xFFFF00);
    long score = 0;
    for (auto _ : state) {
        score += 100;
        platform::PrintText(frame, 40, 6, " " + std::to_string(score), 17.5f, 0xFFFF00);
        benchmark::DoNotOptimize(frame.Row(0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Text_ScoreLine17_5_NewScore);

}  // namespace

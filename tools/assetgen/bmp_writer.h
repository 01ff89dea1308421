#pragma once
// Uncompressed Windows bitmaps: the game's picture loader reads nothing else.
#include <array>
#include <cstdint>
#include <vector>

#include "bytes.h"

namespace assetgen {

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
};

// The classic 16-colour Windows palette; the crosshair and the icon are painted in it.
extern const std::array<Rgb8, 16> kWindows16;

// Pixels are given top row first, one value per pixel; the writers store them bottom-up
// with each row padded to four bytes. The result is the format's own length, unpadded.
Bytes bmp_24(int width, int height, const std::vector<Rgb8>& pixels);
// 5-5-5 pixels: bits 14-10 red, 9-5 green, 4-0 blue.
Bytes bmp_16(int width, int height, const std::vector<std::uint16_t>& pixels);
// 1 or 4 bits per pixel, palette indices.
Bytes bmp_indexed(int width, int height, int bits, const std::vector<Rgb8>& palette,
                  const std::vector<std::uint8_t>& indices);

// Packs palette indices into rows of `bits`-bit pixels, bottom row first, each row
// padded to four bytes: the layout shared by bitmaps and icon images.
Bytes pack_indexed_rows(int width, int height, int bits, const std::vector<std::uint8_t>& indices);

}  // namespace assetgen

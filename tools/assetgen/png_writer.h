#pragma once
// Minimal PNG output for desktop icons: RGBA, unfiltered rows, zlib "stored" blocks.
#include <cstdint>
#include <vector>

#include "bytes.h"

namespace assetgen {

struct Rgba8 {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t adler32(const std::uint8_t* data, std::size_t size);

// Pixels top row first.
Bytes png_rgba(int width, int height, const std::vector<Rgba8>& pixels);

}  // namespace assetgen

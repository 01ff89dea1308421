#include "bmp_writer.h"

#include <stdexcept>

namespace assetgen {

const std::array<Rgb8, 16> kWindows16 = {{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

namespace {

constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dpi

std::size_t row_stride(int width, int bits) {
    return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
}

Bytes assemble(int width, int height, int bits, const std::vector<Rgb8>& palette,
               const Bytes& rows) {
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size()) * 4;
    ByteWriter w;
    w.text("BM");
    w.u32(offset + static_cast<std::uint32_t>(rows.size()));
    w.u32(0);  // reserved
    w.u32(offset);
    w.u32(40);
    w.i32(width);
    w.i32(height);  // positive: bottom-up rows
    w.u16(1);       // planes
    w.u16(static_cast<std::uint32_t>(bits));
    w.u32(0);  // no compression
    w.u32(static_cast<std::uint32_t>(rows.size()));
    w.i32(kPixelsPerMetre);
    w.i32(kPixelsPerMetre);
    w.u32(0);  // colours used: all the palette holds
    w.u32(0);  // all colours important
    for (const Rgb8& c : palette) {
        w.u8(c.b);
        w.u8(c.g);
        w.u8(c.r);
        w.u8(0);
    }
    w.append(rows);
    return w.take();
}

void check_size(int width, int height, std::size_t count) {
    if (width <= 0 || height <= 0 ||
        count != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw std::invalid_argument("bitmap pixel count does not match its size");
}

}  // namespace

Bytes pack_indexed_rows(int width, int height, int bits, const std::vector<std::uint8_t>& indices) {
    check_size(width, height, indices.size());
    if (bits != 1 && bits != 4)
        throw std::invalid_argument("only 1 and 4 bits per pixel are packed");
    const std::size_t stride = row_stride(width, bits);
    Bytes rows(stride * static_cast<std::size_t>(height), 0);
    const int per_byte = 8 / bits;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = &rows[stride * static_cast<std::size_t>(height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const std::uint8_t v = indices[static_cast<std::size_t>(y) * width + x];
            if (v >> bits) throw std::invalid_argument("palette index out of range");
            const int shift =
                (per_byte - 1 - x % per_byte) * bits;  // leftmost pixel in the high bits
            row[x / per_byte] = static_cast<std::uint8_t>(row[x / per_byte] | (v << shift));
        }
    }
    return rows;
}

Bytes bmp_24(int width, int height, const std::vector<Rgb8>& pixels) {
    check_size(width, height, pixels.size());
    const std::size_t stride = row_stride(width, 24);
    Bytes rows(stride * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = &rows[stride * static_cast<std::size_t>(height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const Rgb8& p = pixels[static_cast<std::size_t>(y) * width + x];
            row[3 * x] = p.b;
            row[3 * x + 1] = p.g;
            row[3 * x + 2] = p.r;
        }
    }
    return assemble(width, height, 24, {}, rows);
}

Bytes bmp_16(int width, int height, const std::vector<std::uint16_t>& pixels) {
    check_size(width, height, pixels.size());
    const std::size_t stride = row_stride(width, 16);
    Bytes rows(stride * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = &rows[stride * static_cast<std::size_t>(height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const std::uint16_t p = pixels[static_cast<std::size_t>(y) * width + x] & 0x7FFF;
            row[2 * x] = static_cast<std::uint8_t>(p & 0xFF);
            row[2 * x + 1] = static_cast<std::uint8_t>(p >> 8);
        }
    }
    return assemble(width, height, 16, {}, rows);
}

Bytes bmp_indexed(int width, int height, int bits, const std::vector<Rgb8>& palette,
                  const std::vector<std::uint8_t>& indices) {
    if (palette.size() != (1u << bits))
        throw std::invalid_argument("palette size must match the bit depth");
    return assemble(width, height, bits, palette, pack_indexed_rows(width, height, bits, indices));
}

}  // namespace assetgen

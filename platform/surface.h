// Picture surfaces and block transfers between them.
//
// Every surface holds 32-bit 0x00RRGGBB pixels. A surface is reached through its device
// context, which here is simply a pointer to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// Raster operations of the block transfer.
enum RasterOp : uint32_t {
    SRCCOPY = 0x00CC0020,   // destination = source
    SRCAND = 0x008800C6,    // destination = destination AND source
    SRCPAINT = 0x00EE0086,  // destination = destination OR source
};

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, uint32_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, uint32_t rgb) { Row(y)[x] = rgb; }
    void Fill(uint32_t rgb);

    // Set by every transfer into this surface; a window presents its surface when this is set.
    bool changed = false;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
};

using HDC = Surface*;

// Copies a width x height block from src at (sx, sy) to dst at (x, y) with a raster operation.
// Both rectangles are clipped to their surfaces; only pixels whose source and destination both
// lie inside are touched. Returns 1 (the game never looks at it).
int32_t BitBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t sx,
               int32_t sy, uint32_t rop);

}  // namespace platform

// Picture surfaces and block transfers between them.
//
// Every surface holds 32-bit 0x00RRGGBB pixels: the top byte is always zero. A surface is
// reached through its device context, which here is simply a pointer to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, uint32_t fill = 0);
    // A copy always owns its pixels, wherever the original keeps them.
    Surface(const Surface& other);
    Surface& operator=(const Surface& other);
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    size_t Stride() const { return stride_; }  // pixels from one row to the next
    // Writable rows count as a change of the picture (see Version).
    uint32_t* Row(int y) {
        Touch();
        return pixels_ + static_cast<size_t>(y) * stride_;
    }
    const uint32_t* Row(int y) const { return pixels_ + static_cast<size_t>(y) * stride_; }
    uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, uint32_t rgb) { Row(y)[x] = rgb; }
    void Fill(uint32_t rgb);

    // Moves the pixels into memory of the same size owned by someone else (a window's
    // framebuffer), or back into the surface's own; the picture stays the same.
    void Attach(uint32_t* pixels, size_t stride);
    void Detach();
    bool Attached() const { return pixels_ != nullptr && pixels_ != own_.data(); }
    const uint32_t* Pixels() const { return pixels_; }

    // Differs after any change to the pixels, from this or any other surface's: what was worked
    // out from a picture stays good while its version does.
    uint64_t Version() const { return version_; }

    // Set by every transfer into this surface; a window presents its surface when this is set.
    bool changed = false;

private:
    void Touch();
    void CopyFrom(const Surface& other);

    int width_ = 0;
    int height_ = 0;
    size_t stride_ = 0;
    std::vector<uint32_t> own_;
    uint32_t* pixels_ = nullptr;
    uint64_t version_ = 0;
};

using HDC = Surface*;

// A block transfer's rectangle after clipping: destination (x, y), source (sx, sy), size.
struct BlitRect {
    int x, y, sx, sy, w, h;
};

// Clips a transfer to both surfaces as BitBlt does; false when nothing is left.
bool ClipBlit(const Surface& dst, const Surface& src, int32_t x, int32_t y, int32_t width,
              int32_t height, int32_t sx, int32_t sy, BlitRect& clipped);

// Copies a width x height block from src at (sx, sy) to dst at (x, y) with a raster operation.
// Both rectangles are clipped to their surfaces; only pixels whose source and destination both
// lie inside are touched. Returns 1 (the game never looks at it).
int32_t BitBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t sx,
               int32_t sy, uint32_t rop);

}  // namespace platform

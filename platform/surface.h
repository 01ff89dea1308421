// Picture surfaces and block transfers between them.
//
// Every surface holds 32-bit 0x00RRGGBB pixels: the top byte is always zero. A surface is
// reached through its device context, which here is simply a pointer to it.
//
// A surface logs where it is drawn on (changes.h). A whole copy of one surface onto another, as
// the sky over the work picture or the work picture into the window each tick, then copies only
// what either has changed since the last such copy, and a window shows only what changed since
// it last showed the surface (ShownFrame): the same pixels as copying everything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "changes.h"

namespace platform {

class Surface {
public:
    Surface();
    Surface(int width, int height, uint32_t fill = 0);
    // A copy always owns its pixels, wherever the original keeps them.
    Surface(const Surface& other);
    Surface& operator=(const Surface& other);
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    size_t Stride() const { return stride_; }  // pixels from one row to the next
    // Writable rows count as a change of the whole picture: drawing on a known block goes
    // through DrawBlock instead.
    uint32_t* Row(int y) {
        ChangedWhole();
        return pixels_ + static_cast<size_t>(y) * stride_;
    }
    const uint32_t* Row(int y) const { return pixels_ + static_cast<size_t>(y) * stride_; }
    uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, uint32_t rgb) { Row(y)[x] = rgb; }
    void Fill(uint32_t rgb);
    // The block about to be drawn on, inside the surface, logged as changed: its top-left pixel,
    // the rows following at Stride(). Nothing outside the block may be written through it.
    uint32_t* DrawBlock(const Rect& block);
    // Makes this surface a copy of `from`, of the same size, copying only the rectangles that
    // either has drawn on since this surface was last made a copy of it, and of those only the
    // rows that differ.
    void CopyWhole(const Surface& from);

    // Moves the pixels into memory of the same size owned by someone else (a window's
    // framebuffer), or back into the surface's own; the picture stays the same.
    void Attach(uint32_t* pixels, size_t stride);
    void Detach();
    bool Attached() const { return pixels_ != nullptr && pixels_ != own_.data(); }
    const uint32_t* Pixels() const { return pixels_; }

    // Differs after any change to the pixels, from this or any other surface's: what was worked
    // out from a picture stays good while its version does.
    uint64_t Version() const { return version_; }
    // Never the same for two surfaces, so that a log is not read against another's mark.
    uint64_t Id() const { return id_; }
    const ChangeLog& Changes() const { return changes_; }

    // Set by every transfer into this surface; a window presents its surface when this is set.
    bool changed = false;

private:
    void Touch();
    void ChangedWhole();
    void CopyFrom(const Surface& other);
    // Copies the rows of `r` that differ from `from`'s and logs only the block they span: a
    // picture drawn again unchanged (a title held on screen, a crosshair at rest) is not shown
    // again.
    void CopyDiffering(const Surface& from, const Rect& r);

    int width_ = 0;
    int height_ = 0;
    size_t stride_ = 0;
    std::vector<uint32_t> own_;
    uint32_t* pixels_ = nullptr;
    uint64_t version_ = 0;
    uint64_t id_ = 0;
    ChangeLog changes_;
    // The surface this one was last made a whole copy of, with both logs' marks just after.
    struct Source {
        uint64_t id = 0, mark = 0, own = 0;
    } source_;
};

// What a window last showed of a surface, so that a present sends only what changed since.
class ShownFrame {
public:
    // Takes the surface as shown from now on. Fills `rects` with what changed since it was last
    // shown, merged, and returns true; or returns false when all of it has to be sent: a surface
    // not shown before, or one shown before Forget.
    bool Changed(const Surface& surface, std::vector<Rect>& rects);
    // The window lost its picture: exposed, resized, put in another mode, or a present failed.
    void Forget() { id_ = 0; }

private:
    uint64_t id_ = 0;
    uint64_t mark_ = 0;
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

// Picture surfaces and the block transfer: clipping, then one tight loop per row.
#include "surface.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "constants.h"
#include "cpu_features.h"

namespace platform {

namespace {
uint64_t g_versions = 0;  // surfaces are drawn on one thread only
uint64_t g_ids = 0;
}  // namespace

Surface::Surface() : id_(++g_ids) {}

Surface::Surface(int width, int height, uint32_t fill)
    : width_(width > 0 && height > 0 ? width : 0),
      height_(width > 0 && height > 0 ? height : 0),
      stride_(static_cast<size_t>(width_)),
      own_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill),
      pixels_(own_.data()),
      version_(++g_versions),
      id_(++g_ids) {}

Surface::Surface(const Surface& other) : id_(++g_ids) {
    CopyFrom(other);
}

Surface& Surface::operator=(const Surface& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

Surface::Surface(Surface&& other) noexcept : id_(++g_ids) {
    *this = std::move(other);
}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this == &other) return *this;
    if (other.Attached()) {
        CopyFrom(other);
        return *this;
    }
    width_ = other.width_, height_ = other.height_, stride_ = other.stride_;
    own_ = std::move(other.own_);
    pixels_ = own_.data();
    changed = other.changed;
    ChangedWhole();
    source_ = {};
    other.width_ = other.height_ = 0;
    other.stride_ = 0;
    other.pixels_ = nullptr;
    other.ChangedWhole();
    return *this;
}

void Surface::CopyFrom(const Surface& other) {
    width_ = other.width_, height_ = other.height_, stride_ = static_cast<size_t>(width_);
    own_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    pixels_ = own_.data();
    for (int y = 0; y < height_; ++y)
        std::memcpy(pixels_ + y * stride_, other.Row(y), stride_ * sizeof(uint32_t));
    changed = other.changed;
    ChangedWhole();
    source_ = {};
}

void Surface::Touch() {
    version_ = ++g_versions;
}

void Surface::ChangedWhole() {
    Touch();
    changes_.AddWhole();
}

void Surface::Fill(uint32_t rgb) {
    ChangedWhole();
    for (int y = 0; y < height_; ++y) std::fill_n(pixels_ + y * stride_, width_, rgb);
}

uint32_t* Surface::DrawBlock(const Rect& block) {
    Touch();
    changes_.Add(block);
    return pixels_ + static_cast<size_t>(block.y) * stride_ + block.x;
}

void Surface::CopyWhole(const Surface& from) {
    static std::vector<Rect> theirs, mine;  // kept between frames: no allocation per tick
    theirs.clear(), mine.clear();
    const bool partial = source_.id == from.id_ && from.changes_.Since(source_.mark, theirs) &&
                         changes_.Since(source_.own, mine);
    const size_t bytesPerRow = static_cast<size_t>(width_) * sizeof(uint32_t);
    if (partial) {
        // What was drawn here since (the sprites on the sky) differs, so it is simply copied
        // back; what was drawn there may have come out as it was, so it is compared first.
        MergeRects(mine);
        MergeRects(theirs);
        for (const Rect& r : mine) {
            uint32_t* to = DrawBlock(r);
            for (int row = 0; row < r.h; ++row)
                std::memcpy(to + row * stride_, from.Row(r.y + row) + r.x,
                            static_cast<size_t>(r.w) * sizeof(uint32_t));
        }
        for (const Rect& r : theirs) CopyDiffering(from, r);
    } else if (stride_ == static_cast<size_t>(width_) && from.stride_ == stride_) {
        ChangedWhole();
        std::memcpy(pixels_, from.pixels_, bytesPerRow * static_cast<size_t>(height_));
    } else {
        ChangedWhole();
        for (int y = 0; y < height_; ++y)
            std::memcpy(pixels_ + y * stride_, from.Row(y), bytesPerRow);
    }
    source_ = {from.id_, from.changes_.Mark(), changes_.Mark()};
}

void Surface::CopyDiffering(const Surface& from, const Rect& r) {
    const size_t bytes = static_cast<size_t>(r.w) * sizeof(uint32_t);
    int first = -1, last = -1;
    for (int row = 0; row < r.h; ++row) {
        uint32_t* to = pixels_ + static_cast<size_t>(r.y + row) * stride_ + r.x;
        const uint32_t* source = from.Row(r.y + row) + r.x;
        if (std::memcmp(to, source, bytes) == 0) continue;
        std::memcpy(to, source, bytes);
        if (first < 0) first = row;
        last = row;
    }
    if (first < 0) return;
    Touch();
    changes_.Add({r.x, r.y + first, r.w, last - first + 1});
}

bool ShownFrame::Changed(const Surface& surface, std::vector<Rect>& rects) {
    rects.clear();
    const bool known = id_ == surface.Id() && surface.Changes().Since(mark_, rects);
    id_ = surface.Id();
    mark_ = surface.Changes().Mark();
    if (known) MergeRects(rects);
    return known;
}

void Surface::Attach(uint32_t* pixels, size_t stride) {
    if (pixels == pixels_) return;
    for (int y = 0; y < height_; ++y)
        std::memcpy(pixels + y * stride, pixels_ + y * stride_,
                    static_cast<size_t>(width_) * sizeof(uint32_t));
    pixels_ = pixels, stride_ = stride;
    own_ = {};  // the surface's own memory is not needed while it lives elsewhere
}

void Surface::Detach() {
    if (!Attached()) return;
    std::vector<uint32_t> own(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    for (int y = 0; y < height_; ++y)
        std::memcpy(own.data() + y * width_, pixels_ + y * stride_,
                    static_cast<size_t>(width_) * sizeof(uint32_t));
    own_ = std::move(own);
    pixels_ = own_.data(), stride_ = static_cast<size_t>(width_);
}

namespace {

// A rectangle of rows to combine, already clipped, on two different surfaces.
struct Rows {
    uint32_t* dst;
    const uint32_t* src;
    int width, height;
    size_t dst_stride, src_stride;  // in pixels
};

// These loops are the whole cost of a frame's sprites. GCC does not vectorise them at -O2 on its
// own; `omp simd` (with -fopenmp-simd, set for this file only) does, without any OpenMP run time.
template <uint32_t kRop>
inline __attribute__((always_inline)) void CombineRows(const Rows& r) {
    for (int y = 0; y < r.height; ++y) {
        uint32_t* __restrict d = r.dst + y * r.dst_stride;
        const uint32_t* __restrict s = r.src + y * r.src_stride;
#pragma omp simd
        for (int i = 0; i < r.width; ++i) d[i] = kRop == SRCAND ? (d[i] & s[i]) : (d[i] | s[i]);
    }
}

template <uint32_t kRop>
void CombineBaseline(const Rows& r) {
    CombineRows<kRop>(r);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// The same loop compiled for 256-bit vectors, taken where the processor has them: about a
// quarter less time per sprite than the 128-bit baseline every x86-64 has.
template <uint32_t kRop>
__attribute__((target("avx2"))) void CombineAvx2(const Rows& r) {
    CombineRows<kRop>(r);
}

template <uint32_t kRop>
void Combine(const Rows& r) {
    static const bool avx2 = HasAvx2();  // kept here too: a sprite costs a load, not a call
    avx2 ? CombineAvx2<kRop>(r) : CombineBaseline<kRop>(r);
}
#else
template <uint32_t kRop>
void Combine(const Rows& r) {
    CombineBaseline<kRop>(r);
}
#endif

// The same rectangle of one surface may overlap itself; processing in the direction away from
// the source (as memmove does) reads every source pixel before it is overwritten.
void OverlappingBlit(Surface& surface, int x, int y, int width, int height, int sx, int sy,
                     uint32_t rop) {
    const bool backwards = y > sy || (y == sy && x > sx);
    uint32_t* const block = surface.DrawBlock({x, y, width, height});
    const auto stride = static_cast<std::ptrdiff_t>(surface.Stride());
    for (int r = 0; r < height; ++r) {
        const int row = backwards ? height - 1 - r : r;
        uint32_t* d = block + row * stride;
        const uint32_t* s = block + (sy - y + row) * stride + (sx - x);
        if (rop == SRCCOPY) {
            std::memmove(d, s, static_cast<size_t>(width) * sizeof(uint32_t));
            continue;
        }
        for (int c = 0; c < width; ++c) {
            const int i = backwards ? width - 1 - c : c;
            d[i] = rop == SRCAND ? d[i] & s[i] : d[i] | s[i];
        }
    }
}

}  // namespace

bool ClipBlit(const Surface& dst, const Surface& src, int32_t x, int32_t y, int32_t width,
              int32_t height, int32_t sx, int32_t sy, BlitRect& clipped) {
    // 64-bit arithmetic: positions and sizes near the ends of int32_t must not wrap.
    int64_t dx = x, dy = y, srcx = sx, srcy = sy, w = width, h = height;
    const int64_t skipx = std::max<int64_t>({0, -dx, -srcx});
    const int64_t skipy = std::max<int64_t>({0, -dy, -srcy});
    dx += skipx, srcx += skipx, w -= skipx;
    dy += skipy, srcy += skipy, h -= skipy;
    w = std::min<int64_t>({w, dst.Width() - dx, src.Width() - srcx});
    h = std::min<int64_t>({h, dst.Height() - dy, src.Height() - srcy});
    if (w <= 0 || h <= 0) return false;
    clipped = {static_cast<int>(dx),   static_cast<int>(dy), static_cast<int>(srcx),
               static_cast<int>(srcy), static_cast<int>(w),  static_cast<int>(h)};
    return true;
}

int32_t BitBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t sx,
               int32_t sy, uint32_t rop) {
    if (rop != SRCCOPY && rop != SRCAND && rop != SRCPAINT) return 0;
    if (dst == nullptr || src == nullptr) return 0;
    BlitRect r;
    if (!ClipBlit(*dst, *src, x, y, width, height, sx, sy, r)) return 1;
    dst->changed = true;

    if (dst == src) {
        OverlappingBlit(*dst, r.x, r.y, r.w, r.h, r.sx, r.sy, rop);
        return 1;
    }
    const Surface& from = *src;
    if (rop == SRCCOPY && r.x == 0 && r.y == 0 && r.sx == 0 && r.sy == 0 &&
        r.w == dst->Width() && r.w == from.Width() && r.h == dst->Height() &&
        r.h == from.Height()) {
        // One picture over another of its size, as the sky each tick: only what changed.
        dst->CopyWhole(from);
        return 1;
    }
    uint32_t* to = dst->DrawBlock({r.x, r.y, r.w, r.h});
    if (rop == SRCCOPY) {
        for (int row = 0; row < r.h; ++row)
            std::memcpy(to + row * dst->Stride(), from.Row(r.sy + row) + r.sx,
                        static_cast<size_t>(r.w) * sizeof(uint32_t));
        return 1;
    }
    const Rows rows{to, from.Row(r.sy) + r.sx, r.w, r.h, dst->Stride(), from.Stride()};
    rop == SRCAND ? Combine<SRCAND>(rows) : Combine<SRCPAINT>(rows);
    return 1;
}

}  // namespace platform

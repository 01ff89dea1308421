#include "masked_sheet.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace platform {

namespace {

enum class Op : uint8_t { Copy, Combine };

struct Run {
    int begin, end;  // columns from the cell's left edge, end excluded
    uint32_t pixels;  // where its pixels start: the sprite's, or the mask's then the sprite's
    Op op;
};

// What a pixel's transfer does to any destination pixel d (whose top byte is zero):
// (d & m) | s is d itself, or s alone, or needs both.
bool LeavesAlone(uint32_t m, uint32_t s) {
    return (m | 0xFF000000u) == 0xFFFFFFFFu && s == 0;
}
bool Covers(uint32_t m, uint32_t s) {
    return (m & ~s & 0x00FFFFFFu) == 0;
}

// Rows of runs to draw: the destination row of the first, and the cell's columns to draw.
struct Job {
    const Run* runs;
    const size_t* rowStart;  // of the first row to draw
    const uint32_t* pixels;
    uint32_t* dst;  // at column `left`
    size_t stride;
    int left, right, rows;
};

// Runs are a few dozen pixels: plain loops beat calls to memcpy (see CMakeLists.txt).
inline __attribute__((always_inline)) void DrawRunsLoop(const Job& job) {
    uint32_t* d = job.dst;
    for (int row = 0; row < job.rows; ++row, d += job.stride) {
        const Run* last = job.runs + job.rowStart[row + 1];
        for (const Run* run = job.runs + job.rowStart[row]; run != last; ++run) {
            if (run->end <= job.left) continue;
            if (run->begin >= job.right) break;
            const int begin = std::max(run->begin, job.left), end = std::min(run->end, job.right);
            const uint32_t* __restrict p = job.pixels + run->pixels + (begin - run->begin);
            uint32_t* __restrict out = d + (begin - job.left);
            const int n = end - begin;
            if (run->op == Op::Copy) {
#pragma omp simd
                for (int x = 0; x < n; ++x) out[x] = p[x];
                continue;
            }
            const uint32_t* __restrict s = p + (run->end - run->begin);  // the sprite's, after the mask's
            for (int x = 0; x < n; ++x) out[x] = (out[x] & p[x]) | s[x];
        }
    }
}

void DrawRunsBaseline(const Job& job) {
    DrawRunsLoop(job);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// 256-bit copies where the processor has them, as for the block transfer.
__attribute__((target("avx2"))) void DrawRunsAvx2(const Job& job) {
    DrawRunsLoop(job);
}

void DrawRuns(const Job& job) {
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    avx2 ? DrawRunsAvx2(job) : DrawRunsBaseline(job);
}
#else
void DrawRuns(const Job& job) {
    DrawRunsBaseline(job);
}
#endif

// The runs of one cell: a mask rectangle against the sprite rectangle at (dx, dy) from it.
class MaskedCell {
public:
    MaskedCell(const Surface& mask, const Surface& sprite, const BlitRect& cell)
        : mask_(&mask),
          sprite_(&sprite),
          maskVersion_(mask.Version()),
          spriteVersion_(sprite.Version()),
          cell_(cell) {
        for (int y = 0; y < cell.h; ++y) {
            rowStart_.push_back(runs_.size());
            const uint32_t* m = mask.Row(cell.y + y) + cell.x;
            const uint32_t* s = sprite.Row(cell.sy + y) + cell.sx;
            for (int x = 0; x < cell.w;) {
                if (LeavesAlone(m[x], s[x])) {
                    ++x;
                    continue;
                }
                const Op op = Covers(m[x], s[x]) ? Op::Copy : Op::Combine;
                Run run{x, x, static_cast<uint32_t>(pixels_.size()), op};
                while (run.end < cell.w && !LeavesAlone(m[run.end], s[run.end]) &&
                       (Covers(m[run.end], s[run.end]) ? Op::Copy : Op::Combine) == op)
                    ++run.end;
                if (op == Op::Combine) pixels_.insert(pixels_.end(), m + run.begin, m + run.end);
                pixels_.insert(pixels_.end(), s + run.begin, s + run.end);
                runs_.push_back(run);
                x = run.end;
            }
        }
        rowStart_.push_back(runs_.size());
    }

    bool Same(const Surface& mask, const Surface& sprite, const BlitRect& cell) const {
        return &mask == mask_ && &sprite == sprite_ && cell.x == cell_.x && cell.y == cell_.y &&
               cell.sx == cell_.sx && cell.sy == cell_.sy && cell.w == cell_.w && cell.h == cell_.h;
    }
    bool Current() const {
        return mask_->Version() == maskVersion_ && sprite_->Version() == spriteVersion_;
    }

    // Draws the part of the cell that the clipped transfer r (mask as its source) covers.
    void Draw(Surface& dst, const BlitRect& r) const {
        const Job job{runs_.data(),   rowStart_.data() + (r.sy - cell_.y), pixels_.data(),
                      dst.Row(r.y) + r.x, dst.Stride(), r.sx - cell_.x, r.sx - cell_.x + r.w, r.h};
        DrawRuns(job);
    }

private:
    const Surface* mask_;
    const Surface* sprite_;
    uint64_t maskVersion_, spriteVersion_;
    BlitRect cell_;                 // x, y on the mask; sx, sy on the sprite
    std::vector<size_t> rowStart_;  // where each row's runs start in runs_, and where the last ends
    std::vector<Run> runs_;
    std::vector<uint32_t> pixels_;  // what the runs draw, packed in their order
};

// The game draws some fifty cells; tests and benchmarks may use many more.
constexpr size_t kMaxCells = 64;

const MaskedCell& CellFor(const Surface& mask, const Surface& sprite, const BlitRect& cell) {
    static std::vector<std::unique_ptr<MaskedCell>> cells;
    for (auto& known : cells) {
        if (!known->Same(mask, sprite, cell)) continue;
        if (!known->Current()) known = std::make_unique<MaskedCell>(mask, sprite, cell);
        return *known;
    }
    if (cells.size() == kMaxCells) cells.erase(cells.begin());
    cells.push_back(std::make_unique<MaskedCell>(mask, sprite, cell));
    return *cells.back();
}

// The transfer's rectangle clipped to the mask and the sprite only: the whole cell, wherever on
// the destination it lands. x, y are on the mask, sx, sy on the sprite.
BlitRect Cell(const Surface& mask, const Surface& sprite, int64_t w, int64_t h, int64_t mx,
              int64_t my, int64_t sx, int64_t sy) {
    const int64_t skipx = std::max<int64_t>({0, -mx, -sx}), skipy = std::max<int64_t>({0, -my, -sy});
    mx += skipx, sx += skipx, my += skipy, sy += skipy;
    w = std::min<int64_t>({w - skipx, mask.Width() - mx, sprite.Width() - sx});
    h = std::min<int64_t>({h - skipy, mask.Height() - my, sprite.Height() - sy});
    return {static_cast<int>(mx), static_cast<int>(my), static_cast<int>(sx),
            static_cast<int>(sy), static_cast<int>(w),  static_cast<int>(h)};
}

}  // namespace

int32_t MaskedBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC mask,
                  int32_t mx, int32_t my, HDC sprite, int32_t sx, int32_t sy) {
    BlitRect byMask, bySprite;
    // Only where both transfers reach the same destination pixels can they be done as one.
    const bool one = dst && mask && sprite && dst != mask && dst != sprite &&
                     ClipBlit(*dst, *mask, x, y, width, height, mx, my, byMask) &&
                     ClipBlit(*dst, *sprite, x, y, width, height, sx, sy, bySprite) &&
                     byMask.x == bySprite.x && byMask.y == bySprite.y &&
                     byMask.w == bySprite.w && byMask.h == bySprite.h;
    if (!one) {
        BitBlt(dst, x, y, width, height, mask, mx, my, SRCAND);
        return BitBlt(dst, x, y, width, height, sprite, sx, sy, SRCPAINT);
    }
    const BlitRect cell = Cell(*mask, *sprite, width, height, mx, my, sx, sy);
    CellFor(*mask, *sprite, cell).Draw(*dst, byMask);
    dst->changed = true;
    return 1;
}

}  // namespace platform

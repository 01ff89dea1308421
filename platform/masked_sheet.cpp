// Masked sprites by runs: each cell of a mask and sprite worked out once, then drawn by runs.
#include "masked_sheet.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "constants.h"
#include "cpu_features.h"

namespace platform {

namespace {

enum class Op : uint8_t { Copy, Combine };

struct Run {
    int begin, end;   // columns from the cell's left edge, end excluded
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

// Runs are a few dozen pixels: whole vectors of eight pixels (four where a run is shorter), the
// last one ending with the run and overlapping the one before. Drawing a pixel twice is harmless:
// copying is, and so is ANDing then ORing, as ((d & m) | s) & m | s = (d & m) | s.
typedef uint32_t Pixels4 __attribute__((vector_size(16)));
typedef uint32_t Pixels8 __attribute__((vector_size(32)));

template <typename Pixels, bool kCombine>
inline __attribute__((always_inline)) void DrawVector(uint32_t* out, const uint32_t* m,
                                                      const uint32_t* s) {
    Pixels d, mask, sprite;
    __builtin_memcpy(&sprite, s, sizeof sprite);
    if constexpr (kCombine) {
        __builtin_memcpy(&d, out, sizeof d);
        __builtin_memcpy(&mask, m, sizeof mask);
        sprite |= d & mask;
    }
    __builtin_memcpy(out, &sprite, sizeof sprite);
}

template <bool kCombine>
inline __attribute__((always_inline)) void DrawRun(uint32_t* out, const uint32_t* m,
                                                   const uint32_t* s, int n) {
    if (n >= 8) {
        for (int x = 0; x < n - 8; x += 8) DrawVector<Pixels8, kCombine>(out + x, m + x, s + x);
        DrawVector<Pixels8, kCombine>(out + n - 8, m + n - 8, s + n - 8);
    } else if (n >= 4) {
        DrawVector<Pixels4, kCombine>(out, m, s);
        DrawVector<Pixels4, kCombine>(out + n - 4, m + n - 4, s + n - 4);
    } else {
        for (int x = 0; x < n; ++x) out[x] = kCombine ? (out[x] & m[x]) | s[x] : s[x];
    }
}

inline __attribute__((always_inline)) void DrawRunsLoop(const Job& job) {
    uint32_t* d = job.dst;
    for (int row = 0; row < job.rows; ++row, d += job.stride) {
        const Run* last = job.runs + job.rowStart[row + 1];
        for (const Run* run = job.runs + job.rowStart[row]; run != last; ++run) {
            if (run->end <= job.left) continue;
            if (run->begin >= job.right) break;
            const int begin = std::max(run->begin, job.left), end = std::min(run->end, job.right);
            const uint32_t* p = job.pixels + run->pixels + (begin - run->begin);
            uint32_t* out = d + (begin - job.left);
            if (run->op == Op::Copy)
                DrawRun<false>(out, p, p, end - begin);
            else  // the mask's pixels, then the sprite's
                DrawRun<true>(out, p, p + (run->end - run->begin), end - begin);
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
    static const bool avx2 = HasAvx2();  // kept here too: a sprite costs a load, not a call
    avx2 ? DrawRunsAvx2(job) : DrawRunsBaseline(job);
}
#else
void DrawRuns(const Job& job) {
    DrawRunsBaseline(job);
}
#endif

// The longest stretch left alone inside a run. Starting a run costs about as much as ANDing and
// ORing a few pixels more.
constexpr int kBridge = 8;

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
                // A run goes on over short stretches left alone: ANDing and ORing those with
                // their own white and black leaves them as they are, and costs less than
                // starting another run.
                Run run{x, x + 1, static_cast<uint32_t>(pixels_.size()), Op::Copy};
                for (int gap = 0; run.end + gap < cell.w && gap <= kBridge;) {
                    if (LeavesAlone(m[run.end + gap], s[run.end + gap])) {
                        ++gap;
                        continue;
                    }
                    run.end += gap + 1, gap = 0;
                }
                for (int i = run.begin; i < run.end; ++i)
                    if (!Covers(m[i], s[i])) run.op = Op::Combine;
                if (run.op == Op::Combine)
                    pixels_.insert(pixels_.end(), m + run.begin, m + run.end);
                pixels_.insert(pixels_.end(), s + run.begin, s + run.end);
                runs_.push_back(run);
                x = run.end;
            }
        }
        rowStart_.push_back(runs_.size());
    }

    bool Current() const {
        return mask_->Version() == maskVersion_ && sprite_->Version() == spriteVersion_;
    }

    // Draws the part of the cell that the clipped transfer r (mask as its source) covers.
    void Draw(Surface& dst, const BlitRect& r) const {
        const Job job{runs_.data(),         rowStart_.data() + (r.sy - cell_.y),
                      pixels_.data(),       dst.DrawBlock({r.x, r.y, r.w, r.h}),
                      dst.Stride(),         r.sx - cell_.x,
                      r.sx - cell_.x + r.w, r.h};
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

// Cells by their pictures and rectangles. The game draws some fifty; tests and benchmarks
// may draw many more, so past a limit all are forgotten and worked out again as they are used.
struct CellKey {
    const Surface* mask;
    const Surface* sprite;
    BlitRect cell;
    bool operator==(const CellKey& o) const {
        return mask == o.mask && sprite == o.sprite && cell.x == o.cell.x && cell.y == o.cell.y &&
               cell.sx == o.cell.sx && cell.sy == o.cell.sy && cell.w == o.cell.w &&
               cell.h == o.cell.h;
    }
};

struct CellKeyHash {
    size_t operator()(const CellKey& k) const {
        size_t h =
            reinterpret_cast<uintptr_t>(k.mask) ^ (reinterpret_cast<uintptr_t>(k.sprite) << 1);
        for (int v : {k.cell.x, k.cell.y, k.cell.sx, k.cell.sy, k.cell.w, k.cell.h})
            h = (h ^ static_cast<uint32_t>(v)) * 0x9E3779B97F4A7C15ull;
        return h;
    }
};

constexpr size_t kMaxCells = 256;

const MaskedCell& CellFor(const Surface& mask, const Surface& sprite, const BlitRect& cell) {
    static std::unordered_map<CellKey, std::unique_ptr<MaskedCell>, CellKeyHash> cells;
    auto& known = cells[CellKey{&mask, &sprite, cell}];
    if (known && known->Current()) return *known;
    if (!known && cells.size() > kMaxCells) {
        cells.clear();
        return *(cells[CellKey{&mask, &sprite, cell}] =
                     std::make_unique<MaskedCell>(mask, sprite, cell));
    }
    known = std::make_unique<MaskedCell>(mask, sprite, cell);
    return *known;
}

// The transfer's rectangle clipped to the mask and the sprite only: the whole cell, wherever on
// the destination it lands. x, y are on the mask, sx, sy on the sprite.
BlitRect Cell(const Surface& mask, const Surface& sprite, int64_t w, int64_t h, int64_t mx,
              int64_t my, int64_t sx, int64_t sy) {
    const int64_t skipx = std::max<int64_t>({0, -mx, -sx}),
                  skipy = std::max<int64_t>({0, -my, -sy});
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
                     byMask.x == bySprite.x && byMask.y == bySprite.y && byMask.w == bySprite.w &&
                     byMask.h == bySprite.h;
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

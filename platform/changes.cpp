// The change log of a picture and the merging of its rectangles.
#include "changes.h"

#include <algorithm>
#include <cstddef>

namespace platform {

namespace {

// How many changes the log keeps: a frame of the game adds a few dozen, and whoever copies or
// shows a picture asks about it every frame.
constexpr size_t kKept = 512;
// Past this many rectangles merging costs more than it saves: they become one block.
constexpr size_t kMostToMerge = 128;

int64_t Area(const Rect& r) {
    return int64_t{r.w} * r.h;
}

Rect Bounding(const Rect& a, const Rect& b) {
    const int x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    return {x, y, std::max(a.x + a.w, b.x + b.w) - x, std::max(a.y + a.h, b.y + b.h) - y};
}

}  // namespace

void ChangeLog::Add(const Rect& rect) {
    ++seq_;
    log_.push_back(rect);
    if (log_.size() >= 2 * kKept) {
        log_.erase(log_.begin(), log_.begin() + kKept);
        first_ += kKept;
    }
}

void ChangeLog::AddWhole() {
    whole_ = ++seq_;
    log_.clear();
    first_ = seq_ + 1;
}

bool ChangeLog::Since(uint64_t mark, std::vector<Rect>& rects) const {
    if (mark < whole_ || mark + 1 < first_) return false;
    rects.insert(rects.end(), log_.begin() + static_cast<std::ptrdiff_t>(mark + 1 - first_),
                 log_.end());
    return true;
}

void MergeRects(std::vector<Rect>& rects) {
    std::erase_if(rects, [](const Rect& r) { return r.w <= 0 || r.h <= 0; });
    if (rects.size() > kMostToMerge) {
        Rect all = rects.front();
        for (const Rect& r : rects) all = Bounding(all, r);
        rects.assign(1, all);
        return;
    }
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < rects.size(); ++i)
            for (size_t j = i + 1; j < rects.size(); ++j) {
                const Rect box = Bounding(rects[i], rects[j]);
                if (Area(box) > Area(rects[i]) + Area(rects[j])) continue;
                rects[i] = box;
                rects[j] = rects.back();
                rects.pop_back();
                merged = true;
                --j;
            }
    }
}

}  // namespace platform

// Where a picture has changed: a log of the rectangles drawn on it, so that copying or showing it
// again can leave alone what stayed the same.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

struct Rect {
    int x, y, w, h;
};

class ChangeLog {
public:
    // A mark of the changes so far, to ask later what has changed since.
    uint64_t Mark() const { return seq_; }
    void Add(const Rect& rect);
    void AddWhole();
    // Appends the rectangles changed after `mark`; false when the whole picture has to be taken as
    // changed (it changed as a whole, or more happened since than the log keeps).
    bool Since(uint64_t mark, std::vector<Rect>& rects) const;

private:
    std::vector<Rect> log_;  // the changes numbered first_, first_ + 1, ... seq_
    uint64_t seq_ = 1;       // a new picture is a change of all of it
    uint64_t whole_ = 1;     // the last change of all of it
    uint64_t first_ = 2;
};

// Replaces rectangles that overlap or lie close by their bounding box where that box is no
// larger than the two together: a balloon before and after a tick's rise becomes one block.
void MergeRects(std::vector<Rect>& rects);

}  // namespace platform
